// TADE, REDE, PODE, RELO, POLO, COIO, CODA and BxD from a job's content: fields by name,
// elements as {"code": N, "bytes": "hex"}, byte strings in hexadecimal.
#include "job/WriterTypes.h"

#include <array>
#include <cctype>
#include <cstdio>
#include <string>
#include <utility>

#include "morvit/VConfigWriters.h"
#include "morvit/VProgramWriters.h"

namespace morvit::tool {
namespace {

std::uint16_t Word(const JobValue& value) {
  return static_cast<std::uint16_t>(value.Integer(0, 0xFFFF));
}

// A byte string written as hexadecimal digits ("00a1ff"); absent: empty.
std::vector<std::uint8_t> Bytes(const JobValue& domain, const char* name) {
  std::vector<std::uint8_t> bytes;
  if (domain.Find(name) == nullptr) return bytes;
  const JobValue value = domain[name];
  const std::string hex = value.Text(2 * 65531);
  if (hex.size() % 2 != 0) value.Fail("expected an even number of hexadecimal digits");
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    unsigned byte = 0;
    if (std::sscanf(hex.c_str() + i, "%2x", &byte) != 1 || !std::isxdigit(hex[i]) ||
        !std::isxdigit(hex[i + 1])) {
      value.Fail("expected hexadecimal digits");
    }
    bytes.push_back(static_cast<std::uint8_t>(byte));
  }
  return bytes;
}

// A section's elements; absent: none.
std::vector<VProgramElement> Elements(const JobValue& domain, const char* name) {
  std::vector<VProgramElement> elements;
  if (domain.Find(name) == nullptr) return elements;
  const JobValue list = domain[name];
  for (std::size_t i = 0; i < list.Size(); ++i) {
    const JobValue element = list.At(i);
    elements.push_back({Word(element["code"]), Bytes(element, "bytes")});
  }
  return elements;
}

// Word fields of a content struct, by their names in the job (absent: 0).
template <typename Content>
struct WordField {
  const char* name;
  std::uint16_t Content::*member;
};

template <typename Content, std::size_t N>
void ReadWords(const JobValue& domain, Content& content,
               const std::array<WordField<Content>, N>& fields) {
  for (const auto& field : fields) {
    content.*field.member =
        static_cast<std::uint16_t>(OptionalInteger(domain, field.name, 0, 0xFFFF, 0));
  }
}

std::vector<ObjParcelType> Tade(const JobValue& domain, const ObjParcelType& parcel, bool write) {
  static constexpr std::array<WordField<VTadeContent>, 7> kFields = {{
      {"taskNumber", &VTadeContent::taskNumber},
      {"scheduling", &VTadeContent::scheduling},
      {"cycleTime", &VTadeContent::cycleTime},
      {"placeInCTT", &VTadeContent::placeInCTT},
      {"initialState", &VTadeContent::initialState},
      {"instanceKey", &VTadeContent::instanceKey},
      {"typeCode", &VTadeContent::typeCode},
  }};
  VTadeContent content;
  ReadWords(domain, content, kFields);
  if (domain.Find("callParameters")) {
    const JobValue parameters = domain["callParameters"];
    if (parameters.Size() != content.callParameters.size()) {
      parameters.Fail("expected 5 call parameters");
    }
    for (std::size_t i = 0; i < content.callParameters.size(); ++i) {
      content.callParameters[i] = Word(parameters.At(i));
    }
  }
  return write ? VWriteTade(parcel, content) : std::vector<ObjParcelType>{};
}

std::vector<ObjParcelType> Rede(const JobValue& domain, const ObjParcelType& parcel, bool write) {
  static constexpr std::array<WordField<VRedeContent>, 4> kFields = {{
      {"reloLength", &VRedeContent::reloLength},
      {"offsetToIniData", &VRedeContent::offsetToIniData},
      {"programNumber", &VRedeContent::programNumber},
      {"preProgramFlag", &VRedeContent::preProgramFlag},
  }};
  VRedeContent content;
  ReadWords(domain, content, kFields);
  content.resourceName = domain["resourceName"].Text(20);
  if (domain.Find("secondName")) content.secondName = domain["secondName"].Text(20);
  content.trailer = Bytes(domain, "trailer");
  if (content.trailer.size() > 10) domain["trailer"].Fail("at most 10 bytes");
  content.initLoadDate = {2026, 12, 7, 8, 30, 0, 0};
  content.initElements = Elements(domain, "initElements");
  return write ? VWriteRede(parcel, content) : std::vector<ObjParcelType>{};
}

std::vector<ObjParcelType> Pode(const JobValue& domain, const ObjParcelType& parcel, bool write) {
  static constexpr std::array<WordField<VPodeContent>, 11> kFields = {{
      {"length", &VPodeContent::length},
      {"offsetToProgInit", &VPodeContent::offsetToProgInit},
      {"programNumber", &VPodeContent::programNumber},
      {"kindOfProgram", &VPodeContent::kindOfProgram},
      {"offsetToProgVar", &VPodeContent::offsetToProgVar},
      {"offsetToProgStart", &VPodeContent::offsetToProgStart},
      {"offsetToProlog", &VPodeContent::offsetToProlog},
      {"offsetToOrders", &VPodeContent::offsetToOrders},
      {"offsetToEpilog", &VPodeContent::offsetToEpilog},
      {"offsetToProgEnd", &VPodeContent::offsetToProgEnd},
      {"offsetToExtension", &VPodeContent::offsetToExtension},
  }};
  VPodeContent content;
  ReadWords(domain, content, kFields);
  content.offsetToPreProg = static_cast<std::uint16_t>(
      OptionalInteger(domain, "offsetToPreProg", 0, 0xFFFF, VPodeContent::kNoPreProgram));
  content.programInit = Elements(domain, "programInit");
  content.record576 = Bytes(domain, "record576");
  content.preProgram = Elements(domain, "preProgram");
  content.prolog = Elements(domain, "prolog");
  content.section652 = Elements(domain, "section652");
  content.section0 = Elements(domain, "section0");
  content.section660 = Elements(domain, "section660");
  content.record700 = Bytes(domain, "record700");
  return write ? VWritePode(parcel, content) : std::vector<ObjParcelType>{};
}

std::vector<ObjParcelType> Relo(const JobValue& domain, const ObjParcelType& parcel, bool write) {
  const auto body = Bytes(domain, "body");
  return write ? VWriteRelo(parcel, body) : std::vector<ObjParcelType>{};
}

std::vector<ObjParcelType> Polo(const JobValue& domain, const ObjParcelType& parcel, bool write) {
  const auto body = Bytes(domain, "body");
  return write ? VWritePolo(parcel, body) : std::vector<ObjParcelType>{};
}

std::vector<ObjParcelType> Coio(const JobValue& domain, const ObjParcelType& parcel, bool write) {
  static constexpr std::array<WordField<VCoioContent>, 2> kFields = {{
      {"netStart", &VCoioContent::netStart},
      {"busNo", &VCoioContent::busNo},
  }};
  VCoioContent content;
  ReadWords(domain, content, kFields);
  content.hardwareInit = Elements(domain, "hardwareInit");
  return write ? VWriteCoio(parcel, content) : std::vector<ObjParcelType>{};
}

std::vector<ObjParcelType> Coda(const JobValue& domain, const ObjParcelType& parcel, bool write) {
  static constexpr std::array<WordField<VCodaContent>, 18> kFields = {{
      {"coloLength", &VCodaContent::coloLength},
      {"coleLength", &VCodaContent::coleLength},
      {"copmLength", &VCodaContent::copmLength},
      {"coloInitOffset", &VCodaContent::coloInitOffset},
      {"coleInitOffset", &VCodaContent::coleInitOffset},
      {"copmInitOffset", &VCodaContent::copmInitOffset},
      {"ln700MoveOffset", &VCodaContent::ln700MoveOffset},
      {"dsExists", &VCodaContent::dsExists},
      {"mviMoveOffset", &VCodaContent::mviMoveOffset},
      {"mviExists", &VCodaContent::mviExists},
      {"evsSendOffset", &VCodaContent::evsSendOffset},
      {"evsSendExists", &VCodaContent::evsSendExists},
      {"evsTransOffset", &VCodaContent::evsTransOffset},
      {"evsTransExists", &VCodaContent::evsTransExists},
      {"calcEventOffset", &VCodaContent::calcEventOffset},
      {"calcEventScanTime", &VCodaContent::calcEventScanTime},
      {"mvbEventOffset", &VCodaContent::mvbEventOffset},
      {"mvbEventScanTime", &VCodaContent::mvbEventScanTime},
  }};
  static constexpr std::array<std::pair<const char*, std::vector<VConfigElement> VCodaContent::*>,
                              9>
      kSections = {{
          {"coloInit", &VCodaContent::coloInit},
          {"coleInit", &VCodaContent::coleInit},
          {"copmInit", &VCodaContent::copmInit},
          {"ln700Move", &VCodaContent::ln700Move},
          {"mviMove", &VCodaContent::mviMove},
          {"evsSend", &VCodaContent::evsSend},
          {"evsTrans", &VCodaContent::evsTrans},
          {"evsCalc", &VCodaContent::evsCalc},
          {"evsMfb", &VCodaContent::evsMfb},
      }};
  VCodaContent content;
  ReadWords(domain, content, kFields);
  for (const auto& [name, member] : kSections) content.*member = Elements(domain, name);
  if (domain.Find("nodeName")) content.nodeName = domain["nodeName"].Text(20);
  if (domain.Find("targetType")) content.targetType = domain["targetType"].Text(20);
  if (domain.Find("targetCodeInfo")) content.targetCodeInfo = domain["targetCodeInfo"].Text(8);
  content.initLoadDate = {2026, 12, 7, 8, 30, 0, 0};
  if (domain.Find("options")) {
    const JobValue options = domain["options"];
    for (std::size_t i = 0; i < options.Size(); ++i) {
      const JobValue option = options.At(i);
      content.options.push_back({option["name"].Text(18), option["version"].Text(16)});
    }
  }
  content.hasDat = domain.Find("dat") != nullptr;
  content.dat = Bytes(domain, "dat");
  content.hasParDat = domain.Find("parDat") != nullptr;
  content.parDat = Bytes(domain, "parDat");
  return write ? VWriteCoda(parcel, content) : std::vector<ObjParcelType>{};
}

// A word array of exactly N entries (absent: zeros).
template <std::size_t N>
void ReadArray(const JobValue& program, const char* name, std::array<std::uint16_t, N>& words) {
  if (program.Find(name) == nullptr) return;
  const JobValue list = program[name];
  if (list.Size() != N) list.Fail("expected " + std::to_string(N) + " words");
  for (std::size_t i = 0; i < N; ++i) words[i] = Word(list.At(i));
}

std::vector<ObjParcelType> Bxd(const JobValue& domain, const ObjParcelType& parcel, bool write) {
  static constexpr std::array<WordField<VBxdContent>, 2> kFields = {{
      {"headerWord", &VBxdContent::headerWord},
      {"elementWord", &VBxdContent::elementWord},
  }};
  VBxdContent content;
  ReadWords(domain, content, kFields);
  const JobValue programs = domain["programs"];
  for (std::size_t i = 0; i < programs.Size(); ++i) {
    const JobValue program = programs.At(i);
    VBxdProgram& added = content.programs.emplace_back();
    added.slot = static_cast<std::uint16_t>(program["slot"].Integer(0, 15));
    added.slotValue =
        static_cast<std::uint16_t>(OptionalInteger(program, "slotValue", 0, 0xFFFE, 1));
    ReadArray(program, "head", added.head);
    ReadArray(program, "trailer", added.trailer);
    added.prolog = Elements(program, "prolog");
    added.sectionB = Elements(program, "sectionB");
    added.sectionC = Elements(program, "sectionC");
  }
  return write ? VWriteBxd(parcel, content) : std::vector<ObjParcelType>{};
}

constexpr std::array<WriterType, 15> kTypes = {{
    {"TADE", 49, "TADE", Tade},
    {"REDE", 33, "REDE", Rede},
    {"PODE", 65, "PODE", Pode},
    {"RELO", 35, "body", Relo},
    {"POLO", 67, "body", Polo},
    {"COIO", 26, "COIO", Coio},
    {"CODA", 17, "CODA", Coda},
    {"BXD0", 96, "BXD", Bxd},
    {"BXD1", 97, "BXD", Bxd},
    {"BXD2", 98, "BXD", Bxd},
    {"BXD3", 99, "BXD", Bxd},
    {"BXD4", 100, "BXD", Bxd},
    {"BXD5", 101, "BXD", Bxd},
    {"BXD6", 102, "BXD", Bxd},
    {"BXD7", 103, "BXD", Bxd},
}};

}  // namespace

const WriterType* FindWriterType(const std::string& name) {
  for (const WriterType& type : kTypes) {
    if (name == type.name) return &type;
  }
  return nullptr;
}

const WriterType* FindWriterType(std::uint16_t number) {
  for (const WriterType& type : kTypes) {
    if (number == type.type) return &type;
  }
  return nullptr;
}

}  // namespace morvit::tool
