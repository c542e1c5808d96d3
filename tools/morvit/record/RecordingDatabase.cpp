// The recording database: one row per call, and the data a call carries in its own table.
#include "record/RecordingDatabase.h"

#include <cstring>
#include <limits>
#include <nlohmann/json.hpp>

#include "morvit/VElement.h"

namespace morvit::tool {
namespace {

using Json = nlohmann::ordered_json;

std::string Arguments(const Json& json) { return json.dump(); }

Value Text(const std::string& text) { return text; }

// A fixed-size, zero-terminated field of a record, never read past its size.
std::string FieldText(const char* field, std::size_t size) {
  return std::string(field, strnlen(field, size));
}

struct AnswerSetting {
  const char* name;
  int DatabaseAnswers::*field;
  long lowest;  // the answers the operation's result type holds
  long highest;
};

constexpr long kLowestInt = std::numeric_limits<int>::min();
constexpr long kHighestInt = std::numeric_limits<int>::max();

// RestoreTypeCircuits answers a byte: a larger number would reach the run cut to its low byte.
const AnswerSetting kIntAnswers[] = {
    {"RestoreTypeCircuits", &DatabaseAnswers::restoreTypeCircuits, 0, 255},
    {"InsertTCTermsInPOLODomains", &DatabaseAnswers::insertTCTermsInPOLODomains, kLowestInt,
     kHighestInt},
    {"RestoreDBElemsMMI", &DatabaseAnswers::restoreDBElemsMMI, kLowestInt, kHighestInt},
    {"CompleteRIOs", &DatabaseAnswers::completeRIOs, kLowestInt, kHighestInt},
    {"GenerateBoteDomain", &DatabaseAnswers::generateBoteDomain, kLowestInt, kHighestInt},
    {"PCTCRestored", &DatabaseAnswers::pctcRestored, kLowestInt, kHighestInt},
    {"IsAdditionalInfo", &DatabaseAnswers::isAdditionalInfo, kLowestInt, kHighestInt},
};

}  // namespace

std::optional<std::pair<long, long>> DatabaseAnswers::RangeOf(const std::string& name) {
  if (name == "GetMaxTask" || name == "GetPCProgNo") return std::pair<long, long>{0, 0xFFFF};
  for (const AnswerSetting& setting : kIntAnswers) {
    if (name == setting.name) {
      return std::pair<long, long>{setting.lowest, setting.highest};
    }
  }
  return std::nullopt;
}

bool DatabaseAnswers::Set(const std::string& name, long value) {
  const auto range = RangeOf(name);
  if (!range || value < range->first || value > range->second) return false;
  given.insert(name);
  if (name == "GetMaxTask" || name == "GetPCProgNo") {
    (name == "GetMaxTask" ? maxTask : pcProgNo.emplace()) = static_cast<std::uint16_t>(value);
    return true;
  }
  for (const AnswerSetting& setting : kIntAnswers) {
    if (name == setting.name) {
      this->*setting.field = static_cast<int>(value);
      return true;
    }
  }
  return false;
}

std::vector<std::string> DatabaseAnswers::Names() {
  std::vector<std::string> names = {"GetMaxTask", "GetPCProgNo"};
  for (const AnswerSetting& setting : kIntAnswers) names.emplace_back(setting.name);
  return names;
}

std::vector<std::string> RecordingDatabase::DefaultedAnswers() const {
  std::vector<std::string> defaulted;
  for (const std::string& name : DatabaseAnswers::Names()) {
    if (m_asked.count(name) != 0 && m_answers.given.count(name) == 0) defaulted.push_back(name);
  }
  return defaulted;
}

RecordingDatabase::RecordingDatabase(std::vector<RecordSink*> sinks, DatabaseAnswers answers,
                                     CodeNamer namer)
    : m_sinks(std::move(sinks)), m_answers(answers), m_namer(std::move(namer)) {}

void RecordingDatabase::SetDomainFile(const std::string& name, std::uint16_t type) {
  m_domainType = type;
  if (name == m_domainFile) return;
  for (RecordSink* sink : m_sinks) sink->EndDomainFile();
  m_domainFile = name;
}

Value RecordingDatabase::DomainFileValue() const {
  return m_domainFile.empty() ? Value{} : Text(m_domainFile);
}

// The elements of the basic-object domains carry their domain type as their code: that is no
// order or section code, so it gets no name from the tables.
std::string RecordingDatabase::ElementName(std::uint16_t code) const {
  constexpr std::uint16_t kFirstBoba = 116;
  constexpr std::uint16_t kLastBoba = 118;
  if (code == m_domainType && code >= kFirstBoba && code <= kLastBoba) return std::string();
  return m_namer ? m_namer(code) : std::string();
}

void RecordingDatabase::Finish(const std::string& command, int result) {
  Write({&RunTable(), {Text(command), std::int64_t{result}}});
  for (RecordSink* sink : m_sinks) sink->Close();
}

void RecordingDatabase::Write(const Row& row) {
  for (RecordSink* sink : m_sinks) sink->Write(row);
}

void RecordingDatabase::Call(const char* operation, const std::string& arguments,
                             std::optional<long> answer) {
  ++m_seq;
  m_asked.insert(operation);
  Write({&CallsTable(),
         {std::int64_t{m_seq}, DomainFileValue(), Text(operation),
          arguments.empty() ? Value{} : Text(arguments),
          answer ? Value{std::int64_t{*answer}} : Value{}}});
}

void RecordingDatabase::RecordElement(const char* operation, std::uint16_t code,
                                      VElement* element) {
  Call(operation, Arguments({{"code", code}}));
  if (element == nullptr) return;
  ++m_elements;
  const std::uint16_t elementCode = element->GetCode();
  const std::string name = ElementName(elementCode);
  const auto length = static_cast<std::size_t>(element->GetLength());
  Write({&ElementsTable(),
         {std::int64_t{m_seq}, DomainFileValue(), Text(operation), std::int64_t{code},
          std::int64_t{elementCode}, name.empty() ? Value{} : Text(name),
          std::int64_t{element->GetAuxWord()}, static_cast<std::int64_t>(length),
          std::vector<std::uint8_t>(element->Data(), element->Data() + length)}});
}

// The object number is part of a sort's parcel, not of an object identifier.
void RecordingDatabase::RecordParcel(const char* operation, const ObjParcelType& parcel,
                                     bool withObject) {
  Write({&ObjectsTable(),
         {std::int64_t{m_seq}, DomainFileValue(), Text(operation), std::int64_t{parcel.domainType},
          std::int64_t{parcel.scope}, std::int64_t{parcel.version},
          withObject ? Value{std::int64_t{parcel.objectNumber}} : Value{}}});
}

void RecordingDatabase::Initialize() { Call("Initialize"); }
void RecordingDatabase::Open() { Call("Open"); }
void RecordingDatabase::Close() { Call("Close"); }
void RecordingDatabase::Save() { Call("Save"); }

void RecordingDatabase::Insert(std::uint16_t code, VElement* element) {
  RecordElement("Insert", code, element);
}

void RecordingDatabase::InsertBasicObject(std::uint16_t code, VElement* element) {
  RecordElement("InsertBasicObject", code, element);
}

void RecordingDatabase::InsertConnections() { Call("InsertConnections"); }
void RecordingDatabase::PrepareConnections() { Call("PrepareConnections"); }

void RecordingDatabase::SetLevel(int level, int value) {
  Call("SetLevel", Arguments({{"level", level}, {"value", value}}));
}

void RecordingDatabase::FinishTask() { Call("FinishTask"); }

std::uint16_t RecordingDatabase::GetMaxTask() {
  Call("GetMaxTask", "", m_answers.maxTask);
  return m_answers.maxTask;
}

void RecordingDatabase::GenerateMoveBlocks() { Call("GenerateMoveBlocks"); }

void RecordingDatabase::SetObjectId(ObjId id) {
  Call("SetObjectId",
       Arguments({{"domainType", id.domainType}, {"scope", id.scope}, {"version", id.version}}));
  ObjParcelType parcel{};
  parcel.domainType = id.domainType;
  parcel.scope = id.scope;
  parcel.version = id.version;
  RecordParcel("SetObjectId", parcel, false);
}

void RecordingDatabase::Update(char* text, TCbxElement element) {
  const std::string description = text ? std::string(text) : std::string();
  Call("Update", Arguments({{"text", description}, {"typeIndex", element.typeIndex}}));
  Write(
      {&DecoderRecordsTable(),
       {std::int64_t{m_seq}, DomainFileValue(), Text(description), std::int64_t{element.typeIndex},
        std::int64_t{element.sizeOfFB}, Text(FieldText(element.name, sizeof element.name)),
        Text(FieldText(element.enumText[0], sizeof element.enumText[0])),
        Text(FieldText(element.enumText[1], sizeof element.enumText[1])),
        std::int64_t{element.byteOffsetCOLO}, std::int64_t{element.bitOffsetCOLO},
        std::int64_t{element.byteOffsetCOLE}, std::int64_t{element.bitOffsetCOLE},
        std::int64_t{element.byteOffsetCOPM}, std::int64_t{element.bitOffsetCOPM},
        std::int64_t{element.byteOffsetCODA}, std::int64_t{element.bitOffsetCODA}}});
}

void RecordingDatabase::SetResourcePitch() { Call("SetResourcePitch"); }
void RecordingDatabase::SetConfigPitch() { Call("SetConfigPitch"); }

void RecordingDatabase::SaveExecPitch(Era era) {
  Call("SaveExecPitch", Arguments({{"era", era.words}}));
}

std::uint8_t RecordingDatabase::RestoreTypeCircuits() {
  const auto answer = static_cast<std::uint8_t>(m_answers.restoreTypeCircuits);
  Call("RestoreTypeCircuits", "", answer);
  return answer;
}

void RecordingDatabase::SetCallParam1OfSlavem() { Call("SetCallParam1OfSlavem"); }

void RecordingDatabase::ClearSort(ObjParcelType* parcel) {
  Call("ClearSort");
  if (parcel != nullptr) RecordParcel("ClearSort", *parcel, true);
}

void RecordingDatabase::BackupSort(ObjParcelType parcel) {
  Call("BackupSort");
  RecordParcel("BackupSort", parcel, true);
}

std::uint8_t RecordingDatabase::GetPCProgNo(unsigned short* number) {
  const bool known = m_answers.pcProgNo.has_value() && number != nullptr;
  if (known) *number = *m_answers.pcProgNo;
  Call("GetPCProgNo", known ? Arguments({{"number", *m_answers.pcProgNo}}) : "", known ? 1 : 0);
  return known ? 1 : 0;
}

void RecordingDatabase::SetPCProgNo(std::uint16_t number) {
  Call("SetPCProgNo", Arguments({{"number", number}}));
}

int RecordingDatabase::InsertTCTermsInPOLODomains() {
  Call("InsertTCTermsInPOLODomains", "", m_answers.insertTCTermsInPOLODomains);
  return m_answers.insertTCTermsInPOLODomains;
}

int RecordingDatabase::RestoreDBElemsMMI() {
  Call("RestoreDBElemsMMI", "", m_answers.restoreDBElemsMMI);
  return m_answers.restoreDBElemsMMI;
}

int RecordingDatabase::CompleteRIOs() {
  Call("CompleteRIOs", "", m_answers.completeRIOs);
  return m_answers.completeRIOs;
}

void RecordingDatabase::SetTCPageBreaks() { Call("SetTCPageBreaks"); }
void RecordingDatabase::SetAllExecPitches() { Call("SetAllExecPitches"); }

int RecordingDatabase::GenerateBoteDomain() {
  Call("GenerateBoteDomain", "", m_answers.generateBoteDomain);
  return m_answers.generateBoteDomain;
}

void RecordingDatabase::SetColoCopmLength(std::uint16_t coloLength, std::uint16_t copmLength) {
  Call("SetColoCopmLength", Arguments({{"coloLength", coloLength}, {"copmLength", copmLength}}));
}

void RecordingDatabase::SetBeginProgVarPOLO(std::uint16_t begin) {
  Call("SetBeginProgVarPOLO", Arguments({{"begin", begin}}));
}

int RecordingDatabase::PCTCRestored() {
  Call("PCTCRestored", "", m_answers.pctcRestored);
  return m_answers.pctcRestored;
}

void RecordingDatabase::CreateSoftPageNumbers() { Call("CreateSoftPageNumbers"); }

void RecordingDatabase::SetAdditionalInfo(int info) {
  Call("SetAdditionalInfo", Arguments({{"info", info}}));
}

int RecordingDatabase::IsAdditionalInfo(int info) {
  Call("IsAdditionalInfo", Arguments({{"info", info}}), m_answers.isAdditionalInfo);
  return m_answers.isAdditionalInfo;
}

}  // namespace morvit::tool
