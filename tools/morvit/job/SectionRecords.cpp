// Section records of CNOD, RNOD, NOBA, REBA, POBA, BOBA, CbD and CbP. Fields lie at the byte
// offsets the domain types read them from, in host byte order; a text that does not fit its field
// is refused, never cut.
#include "job/SectionRecords.h"

#include <array>
#include <cstddef>
#include <cstring>
#include <utility>

namespace morvit::tool {
namespace {

// Record kinds of REBA and POBA.
constexpr std::int32_t kKindEntry = 5;
constexpr std::int32_t kKindPageBreak = 6;
constexpr std::int32_t kKindAddition = 7;

// Terminal value of an addition: TBATerminal at 216 (type code at 220, value area at 224,
// length at 280). A BOBA terminal record carries it at 8.
constexpr std::size_t kAdditionTerminalAt = 216;
constexpr std::size_t kBobaTerminalAt = 8;

// BOBA record kinds.
constexpr std::int32_t kKindBobaObject = 3;
constexpr std::int32_t kKindBobaTerminal = 4;

// A record being filled field by field.
class RecordWriter {
 public:
  explicit RecordWriter(std::int32_t kind) { m_record.kind = kind; }

  template <typename T>
  void Put(std::size_t offset, T value) {
    static_assert(std::is_trivially_copyable_v<T>);
    std::memcpy(reinterpret_cast<unsigned char*>(&m_record) + offset, &value, sizeof value);
  }
  // Characters at `offset`, their length at `lengthOffset` (0: none, the text ends in a zero
  // byte, which the zeroed record provides); at most `room` of them.
  void Text(std::size_t offset, std::size_t lengthOffset, std::size_t room, const JobValue& value) {
    const std::string text = value.Text(room);
    if (text.find('\0') != std::string::npos) value.Fail("holds a zero byte");
    std::memcpy(reinterpret_cast<unsigned char*>(&m_record) + offset, text.data(), text.size());
    if (lengthOffset != 0) Put(lengthOffset, static_cast<std::uint16_t>(text.size()));
  }
  const TSectionInfo& Record() const { return m_record; }

 private:
  TSectionInfo m_record{};
};

std::uint16_t Word(const JobValue& value) {
  return static_cast<std::uint16_t>(value.Integer(0, 0xFFFF));
}

// NOBA: the text length at 8, the address of the characters at 12 (the kind is not read).
void BuildNobaText(const JobValue& item, SectionList& list) {
  // Texts in a record are never read past its last byte: what fits after the pointer.
  const std::string& text = list.texts.emplace_back(item.Text(0xFFFF));
  RecordWriter writer(0);
  writer.Put(8, static_cast<std::uint16_t>(text.size()));
  writer.Put(12, text.data());
  list.records.push_back(writer.Record());
}

// Kind 5: key at 8, values A to E at 10 to 18, the name at 20 with its length at 122.
TSectionInfo Entry(const JobValue& record) {
  RecordWriter writer(kKindEntry);
  writer.Put(8, Word(record["key"]));
  const JobValue values = record["values"];
  if (values.Size() != 5) values.Fail("expected 5 values (A to E)");
  for (std::size_t i = 0; i < 5; ++i) writer.Put(10 + 2 * i, Word(values.At(i)));
  writer.Text(20, 122, 122 - 20, record["name"]);
  return writer.Record();
}

// A terminal value {"type": NAME, "value": ...} as a TBATerminal at `terminalAt`.
void Terminal(RecordWriter& writer, const JobValue& terminal, std::size_t terminalAt) {
  static constexpr std::array<const char*, 7> kTypes = {"boolean", "integer",  "long",   "real",
                                                        "string",  "cardinal", "string2"};
  const std::string type = terminal["type"].Text(16);
  std::int32_t code = 0;
  while (code < static_cast<std::int32_t>(kTypes.size()) && type != kTypes[code]) ++code;
  const JobValue value = terminal["value"];
  const std::size_t at = terminalAt + offsetof(TBATerminal, value);
  std::uint16_t length = 0;
  switch (code) {
    case 0:
      writer.Put(at, static_cast<std::uint8_t>(value.Boolean()));
      length = 2;
      break;
    case 1:
      writer.Put(at, static_cast<std::int16_t>(value.Integer(-32768, 32767)));
      length = 2;
      break;
    case 2:
      writer.Put(at, static_cast<std::int32_t>(value.Integer(INT32_MIN, INT32_MAX)));
      length = 4;
      break;
    case 3:
      writer.Put(at, static_cast<double>(value.Real32()));
      length = 4;
      break;
    case 4:
    case 6:
      writer.Text(at, terminalAt + offsetof(TBATerminal, length), 55, value);
      break;
    case 5:
      writer.Put(at, Word(value));
      length = 2;
      break;
    default:
      terminal["type"].Fail("unknown terminal type \"" + type +
                            "\" (boolean, integer, long, real, string, cardinal, string2)");
  }
  writer.Put(terminalAt + offsetof(TBATerminal, typeCode), code);
  if (length != 0) writer.Put(terminalAt + offsetof(TBATerminal, length), length);
}

// Kind 7: key at 8, number at 10, two texts at 12 and 116 (lengths at 114 and 218), then the
// terminal value.
TSectionInfo Addition(const JobValue& record) {
  RecordWriter writer(kKindAddition);
  writer.Put(8, Word(record["key"]));
  writer.Put(10, Word(record["number"]));
  const JobValue texts = record["texts"];
  if (texts.Size() != 2) texts.Fail("expected 2 texts");
  writer.Text(12, 114, 114 - 12, texts.At(0));
  writer.Text(116, 218, 218 - 116, texts.At(1));
  Terminal(writer, record["terminal"], kAdditionTerminalAt);
  return writer.Record();
}

// Kind 6: value at 8, number at 12, flag at 14, the text at 15 with its length at 96.
TSectionInfo PageBreak(const JobValue& record) {
  RecordWriter writer(kKindPageBreak);
  writer.Put(8, static_cast<std::int32_t>(record["value"].Integer(INT32_MIN, INT32_MAX)));
  writer.Put(12, Word(record["number"]));
  writer.Put(14, static_cast<std::uint8_t>(record["flag"].Boolean()));
  writer.Text(15, 96, 96 - 15, record["text"]);
  return writer.Record();
}

// REBA and POBA: each record {"entry": {...}}, {"addition": {...}} or {"pageBreak": {...}}.
void BuildRecord(const JobValue& record, SectionList& list) {
  if (record.Find("entry")) {
    list.records.push_back(Entry(record["entry"]));
  } else if (record.Find("addition")) {
    list.records.push_back(Addition(record["addition"]));
  } else if (record.Find("pageBreak")) {
    list.records.push_back(PageBreak(record["pageBreak"]));
  } else {
    record.Fail("expected \"entry\", \"addition\" or \"pageBreak\"");
  }
}

// CNOD and RNOD: "files", each searched in up to three directory kinds (32-bit at 12, 16,
// 20), listed under its kind (16-bit at 24, default the first search kind) with a value
// (32-bit at 28) and a text (at most 16 characters at 32); with "carry" (flag at 49) the file
// goes into the node's file list. The name or pattern, zero-terminated, at 52.
void BuildNodeFile(const JobValue& file, SectionList& list) {
  RecordWriter writer(0);
  const JobValue search = file["search"];
  if (search.Size() < 1 || search.Size() > 3) search.Fail("expected 1 to 3 directory kinds");
  for (std::size_t k = 0; k < search.Size(); ++k) {
    writer.Put(12 + 4 * k, static_cast<std::int32_t>(search.At(k).Integer(0, 12)));
  }
  writer.Put(24, static_cast<std::uint16_t>(
                     OptionalInteger(file, "kind", 0, 0xFFFF, search.At(0).Integer(0, 12))));
  writer.Put(28, static_cast<std::uint32_t>(OptionalInteger(file, "value", 0, UINT32_MAX, 0)));
  if (file.Find("text")) writer.Text(32, 0, 16, file["text"]);
  writer.Put(49, static_cast<std::uint8_t>(file.Find("carry") ? file["carry"].Boolean() : true));
  writer.Text(52, 0, sizeof(TSectionInfo) - 52 - 1, file["pattern"]);
  list.records.push_back(writer.Record());
}

// BOBA: "objects", each {"object": N, "values": [A, B, C], "terminals": [...]}: a kind-3 record
// (object number at 8, the values at 10 to 14), then one kind-4 record per terminal value (a
// TBATerminal at 8, its object number first) appended to that object's element.
void BuildBobaObject(const JobValue& object, SectionList& list) {
  const std::uint16_t number = Word(object["object"]);
  RecordWriter head(kKindBobaObject);
  head.Put(8, number);
  const JobValue values = object["values"];
  if (values.Size() != 3) values.Fail("expected 3 values");
  for (std::size_t v = 0; v < 3; ++v) head.Put(10 + 2 * v, Word(values.At(v)));
  list.records.push_back(head.Record());
  if (object.Find("terminals") == nullptr) return;
  const JobValue terminals = object["terminals"];
  for (std::size_t t = 0; t < terminals.Size(); ++t) {
    RecordWriter record(kKindBobaTerminal);
    record.Put(kBobaTerminalAt, number);
    Terminal(record, terminals.At(t), kBobaTerminalAt);
    list.records.push_back(record.Record());
  }
}

// CbD, CbP: kind 0 an element description (a TCbxElement at 8; the library computes its size),
// kind 2 a CODA offset shift (two words at 8 and 10; a CbP applies it, a CbD passes over it).
void BuildDescription(const JobValue& description, SectionList& list) {
  constexpr std::size_t kAt = 8;
  RecordWriter writer(0);
  writer.Put(kAt, static_cast<std::int32_t>(description["typeIndex"].Integer(0, 15)));
  writer.Text(kAt + offsetof(TCbxElement, name), kAt + offsetof(TCbxElement, nameLength), 20,
              description["name"]);
  if (description.Find("enumTexts")) {
    const JobValue texts = description["enumTexts"];
    if (texts.Size() > 2) texts.Fail("expected at most 2 texts");
    for (std::size_t t = 0; t < texts.Size(); ++t) {
      writer.Text(kAt + offsetof(TCbxElement, enumText) + 21 * t, 0, 20, texts.At(t));
    }
  }
  // Each area's offset as [byte, bit] (absent: 0, 0).
  for (const CbxOffsetField& field : CbxOffsetFields()) {
    if (description.Find(field.name) == nullptr) continue;
    const JobValue offset = description[field.name];
    if (offset.Size() != 2) offset.Fail("expected [byte, bit]");
    writer.Put(kAt + field.at, Word(offset.At(0)));
    writer.Put(kAt + field.at + 2, Word(offset.At(1)));
  }
  list.records.push_back(writer.Record());
}

void BuildShifts(const JobValue& domain, SectionList& list) {
  if (domain.Find("shifts") == nullptr) return;
  const JobValue shifts = domain["shifts"];
  for (std::size_t i = 0; i < shifts.Size(); ++i) {
    const JobValue shift = shifts.At(i);
    if (shift.Size() != 2) shift.Fail("expected [first, second]");
    RecordWriter writer(2);
    writer.Put(8, Word(shift.At(0)));
    writer.Put(10, Word(shift.At(1)));
    list.records.push_back(writer.Record());
  }
}

constexpr std::array<CInterfaceType, 10> kTypes = {{
    {"CNOD", 1, "node", "files", BuildNodeFile, nullptr},
    {"RNOD", 44, "node", "files", BuildNodeFile, nullptr},
    {"NOBA", 3, "NOBA", "texts", BuildNobaText, nullptr},
    {"REBA", 46, "base", "records", BuildRecord, nullptr},
    {"POBA", 78, "base", "records", BuildRecord, nullptr},
    {"BOBA1", 116, "BOBA", "objects", BuildBobaObject, nullptr},
    {"BOBA2", 117, "BOBA", "objects", BuildBobaObject, nullptr},
    {"BOBA3", 118, "BOBA", "objects", BuildBobaObject, nullptr},
    {"CbD", 114, "cbx", "descriptions", BuildDescription, BuildShifts},
    {"CbP", 115, "cbx", "descriptions", BuildDescription, BuildShifts},
}};

}  // namespace

std::span<const CbxOffsetField> CbxOffsetFields() {
  static constexpr std::array<CbxOffsetField, 4> kFields = {{
      {"colo", offsetof(TCbxElement, byteOffsetCOLO)},
      {"cole", offsetof(TCbxElement, byteOffsetCOLE)},
      {"copm", offsetof(TCbxElement, byteOffsetCOPM)},
      {"coda", offsetof(TCbxElement, byteOffsetCODA)},
  }};
  return kFields;
}
const CInterfaceType* FindCInterfaceType(const std::string& name) {
  for (const CInterfaceType& type : kTypes) {
    if (name == type.name) return &type;
  }
  return nullptr;
}

const CInterfaceType* FindCInterfaceType(std::uint16_t number) {
  for (const CInterfaceType& type : kTypes) {
    if (number == type.type) return &type;
  }
  return nullptr;
}

}  // namespace morvit::tool
