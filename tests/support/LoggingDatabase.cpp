// The logging database: one text line per call.
#include "support/LoggingDatabase.h"

#include <string_view>

#include "morvit/VElement.h"

namespace testutil {

namespace {

std::string ParcelWords(const ObjParcelType& parcel) {
  return std::to_string(parcel.domainType) + " " + std::to_string(parcel.scope) + " " +
         std::to_string(parcel.version) + " " + std::to_string(parcel.objectNumber);
}

}  // namespace

void LoggingDatabase::Log(std::string line) {
  const bool fail = !failOn.empty() && line.starts_with(failOn);
  calls.push_back(std::move(line));
  if (fail) AfxThrowFileException(CFileException::endOfFile);
}

std::vector<std::string> LoggingDatabase::CallsStartingWith(const std::string& prefix) const {
  std::vector<std::string> found;
  for (const std::string& line : calls)
    if (line.starts_with(prefix)) found.push_back(line);
  return found;
}

int LoggingDatabase::Answer(const std::string& name, int fallback) {
  const auto it = answers.find(name);
  const int answer = it == answers.end() ? fallback : it->second;
  Log(name + " " + std::to_string(answer));
  return answer;
}

void LoggingDatabase::LogElement(const char* name, std::uint16_t code, VElement* element) {
  std::vector<std::uint8_t> bytes;
  if (element != nullptr) {
    const std::int64_t position = element->GetPosition();
    bytes.resize(element->GetLength());
    element->SeekToBegin();
    element->Read(bytes.data(), static_cast<unsigned>(bytes.size()));
    element->Seek(position, CFile::begin);
  }
  Log(std::string(name) + " " + std::to_string(code) + " " +
      std::to_string(element != nullptr ? element->GetCode() : 0) + " " +
      std::to_string(bytes.size()));
  elements.push_back(std::move(bytes));
}

void LoggingDatabase::Insert(std::uint16_t code, VElement* element) {
  LogElement("Insert", code, element);
}

void LoggingDatabase::InsertBasicObject(std::uint16_t code, VElement* element) {
  LogElement("InsertBasicObject", code, element);
}

void LoggingDatabase::SetLevel(int level, int value) {
  Log("SetLevel " + std::to_string(level) + " " + std::to_string(value));
}

std::uint16_t LoggingDatabase::GetMaxTask() {
  return static_cast<std::uint16_t>(Answer("GetMaxTask", 64));
}

void LoggingDatabase::SetObjectId(ObjId id) {
  Log("SetObjectId " + std::to_string(id.domainType) + " " + std::to_string(id.scope) + " " +
      std::to_string(id.version));
}

void LoggingDatabase::Update(char* text, TCbxElement element) {
  Log("Update " + std::string(text != nullptr ? std::string_view(text) : "") + " " +
      std::to_string(element.typeIndex));
}

void LoggingDatabase::SaveExecPitch(Era) { Log("SaveExecPitch"); }

std::uint8_t LoggingDatabase::RestoreTypeCircuits() {
  return static_cast<std::uint8_t>(Answer("RestoreTypeCircuits", 1));
}

void LoggingDatabase::ClearSort(ObjParcelType* parcel) {
  Log("ClearSort" + (parcel != nullptr ? " " + ParcelWords(*parcel) : std::string()));
}

void LoggingDatabase::BackupSort(ObjParcelType parcel) { Log("BackupSort " + ParcelWords(parcel)); }

std::uint8_t LoggingDatabase::GetPCProgNo(unsigned short* number) {
  const int answer = Answer("GetPCProgNo", 1);
  if (answer != 0 && number != nullptr) *number = pcProgramNumber;
  return static_cast<std::uint8_t>(answer);
}

void LoggingDatabase::SetPCProgNo(std::uint16_t number) {
  Log("SetPCProgNo " + std::to_string(number));
}

void LoggingDatabase::SetColoCopmLength(std::uint16_t coloLength, std::uint16_t copmLength) {
  Log("SetColoCopmLength " + std::to_string(coloLength) + " " + std::to_string(copmLength));
}

void LoggingDatabase::SetBeginProgVarPOLO(std::uint16_t begin) {
  Log("SetBeginProgVarPOLO " + std::to_string(begin));
}

void LoggingDatabase::SetAdditionalInfo(int info) {
  Log("SetAdditionalInfo " + std::to_string(info));
}

int LoggingDatabase::IsAdditionalInfo(int info) {
  return Answer("IsAdditionalInfo " + std::to_string(info), 0);
}

}  // namespace testutil
