// VRebaDomain: element entries and page breaks in, two sections out, and back to the database.
#include "domains/VRebaDomain.h"

#include "domains/SectionBacktranslation.h"
#include "domains/SectionCodes.h"
#include "domains/SectionRecord.h"
#include "domains/ValueLayout.h"
#include "morvit/VElement.h"

namespace morvit {

IMPLEMENT_RUNTIME_CLASS(VRebaDomain, VBaDomain)

namespace {

// Record kinds.
constexpr std::int32_t kKindEntry = 5;
constexpr std::int32_t kKindPageBreak = 6;
constexpr std::int32_t kKindAddition = 7;

// Kind 5, a new element entry: key, values A to E, the name and its length.
constexpr std::size_t kEntryKeyAt = 8;
constexpr std::size_t kEntryValueAAt = 10;
constexpr std::size_t kEntryValueBAt = 12;
constexpr std::size_t kEntryValueCAt = 14;
constexpr std::size_t kEntryValueDAt = 16;
constexpr std::size_t kEntryValueEAt = 18;
constexpr std::size_t kEntryNameAt = 20;
constexpr std::size_t kEntryNameLengthAt = 122;

// Kind 6, a page break: value, number, flag, text and its length.
constexpr std::size_t kPageBreakValueAt = 8;
constexpr std::size_t kPageBreakNumberAt = 12;
constexpr std::size_t kPageBreakFlagAt = 14;
constexpr std::size_t kPageBreakTextAt = 15;
constexpr std::size_t kPageBreakTextLengthAt = 96;

// Kind 7, an addition to an entry: the entry's key, a number, two texts with their lengths and
// a terminal value (type code, 56-byte value area, length).
constexpr std::size_t kAdditionKeyAt = 8;
constexpr std::size_t kAdditionNumberAt = 10;
constexpr std::size_t kAdditionFirstTextAt = 12;
constexpr std::size_t kAdditionFirstLengthAt = 114;
constexpr std::size_t kAdditionSecondTextAt = 116;
constexpr std::size_t kAdditionSecondLengthAt = 218;
constexpr std::size_t kAdditionTerminalTypeAt = 220;
constexpr std::size_t kAdditionTerminalValueAt = 224;
constexpr std::size_t kAdditionTerminalLengthAt = 280;

// What an entry element holds (kind 5, then any kind-7 parts) and what a page break holds, in
// the order the insert functions below write them.
using morvit::ValueEncoding;
constexpr morvit::ValueItem kEntryItems[] = {
    {"key", ValueEncoding::Key},          {"value E", ValueEncoding::Cardinal},
    {"value A", ValueEncoding::Cardinal}, {"value B", ValueEncoding::Cardinal},
    {"value C", ValueEncoding::Cardinal}, {"value D", ValueEncoding::Cardinal},
    {"name", ValueEncoding::Name},
};
constexpr morvit::ValueItem kAdditionItems[] = {
    {"number", ValueEncoding::Cardinal},
    {"first text", ValueEncoding::BString},
    {"second text", ValueEncoding::BString},
    {"terminal value", ValueEncoding::Terminal},
};
constexpr morvit::ValueItem kPageBreakItems[] = {
    {"number", ValueEncoding::Cardinal},
    {"value", ValueEncoding::LongInt},
    {"flag", ValueEncoding::Boolean},
    {"text", ValueEncoding::BString},
};
constexpr morvit::ElementValueLayout kEntryValues{kEntryItems, kAdditionItems};
constexpr morvit::ElementValueLayout kPageBreakValues{kPageBreakItems, {}};

// Code under which page-break elements are handed to the database.
constexpr std::uint16_t kPageBreakCode = kPageBreakStartCode;

// Adds `bytes` to a section's byte count. The count feeds only the 16-bit domain length of the
// uncompressed working file, which wraps for a base of more than 64 KiB; the compressed files
// carry their own lengths, and readers follow the section markers, not this count.
void GrowSection(VDomainSection& section, unsigned bytes) {
  section.SetLength(static_cast<std::uint16_t>(section.GetLength() + bytes));
}

}  // namespace

VRebaDomain::VRebaDomain()
    : m_elementSection(kElementStartCode, kElementEndCode),
      m_pageBreakSection(kPageBreakStartCode, kPageBreakEndCode) {
  m_elementSection.SetElementValues(&kEntryValues);
  m_pageBreakSection.SetElementValues(&kPageBreakValues);
}

VRebaDomain::~VRebaDomain() = default;

void VRebaDomain::InsertSection(TSectionInfo* section) {
  const SectionRecord record(*section);
  switch (record.Kind()) {
    case kKindEntry:
      InsertEntry(record);
      break;
    case kKindPageBreak:
      InsertPageBreak(record);
      break;
    case kKindAddition:
      InsertAddition(record);
      break;
    default:
      break;
  }
}

void VRebaDomain::InsertEntry(const SectionRecord& record) {
  const auto key = record.Field<std::uint16_t, kEntryKeyAt>();
  if (m_mapEntries.count(key) != 0) return;
  VElement& element = m_elementSection.AppendElement(m_file.GetFileType());
  m_mapEntries.emplace(key, &element);
  const std::uint16_t added = AppendToElement(element, [&](VElement& e) {
    for (const std::uint16_t value : {key, record.Field<std::uint16_t, kEntryValueEAt>(),
                                      record.Field<std::uint16_t, kEntryValueAAt>(),
                                      record.Field<std::uint16_t, kEntryValueBAt>(),
                                      record.Field<std::uint16_t, kEntryValueCAt>(),
                                      record.Field<std::uint16_t, kEntryValueDAt>()}) {
      m_io.WriteCardinal(e, value, 0, nullptr);
    }
    WriteText(e, record.Text<kEntryNameAt, kEntryNameLengthAt>());
  });
  GrowSection(m_elementSection, added + kSectionBlockHeaderSize);
}

// The page-break section's count grows like the element section's, so that the working file's
// domain length covers every byte written.
void VRebaDomain::InsertPageBreak(const SectionRecord& record) {
  VElement& element = m_pageBreakSection.AppendElement(m_file.GetFileType());
  const std::uint16_t added = AppendToElement(element, [&](VElement& e) {
    m_io.WriteCardinal(e, record.Field<std::uint16_t, kPageBreakNumberAt>(), 0, nullptr);
    m_io.WriteLongInt(e, record.Field<std::int32_t, kPageBreakValueAt>(), 0, nullptr);
    m_io.WriteBoolean(e, record.Field<std::uint8_t, kPageBreakFlagAt>(), 0, nullptr);
    WriteText(e, record.Text<kPageBreakTextAt, kPageBreakTextLengthAt>());
  });
  GrowSection(m_pageBreakSection, added + kSectionBlockHeaderSize);
}

void VRebaDomain::InsertAddition(const SectionRecord& record) {
  const auto entry = m_mapEntries.find(record.Field<std::uint16_t, kAdditionKeyAt>());
  if (entry == m_mapEntries.end()) return;
  TBATerminal terminal{};
  terminal.typeCode = record.Field<std::int32_t, kAdditionTerminalTypeAt>();
  record.CopyBytes<kAdditionTerminalValueAt, sizeof terminal.value>(&terminal.value);
  terminal.length = record.Field<std::uint16_t, kAdditionTerminalLengthAt>();
  const std::uint16_t added = AppendToElement(*entry->second, [&](VElement& e) {
    m_io.WriteCardinal(e, record.Field<std::uint16_t, kAdditionNumberAt>(), 0, nullptr);
    WriteText(e, record.Text<kAdditionFirstTextAt, kAdditionFirstLengthAt>());
    WriteText(e, record.Text<kAdditionSecondTextAt, kAdditionSecondLengthAt>());
    m_io.WriteTerminalValue(e, terminal, 0, nullptr);
  });
  GrowSection(m_elementSection, added);
}

void VRebaDomain::WriteText(VElement& element, std::string_view text) {
  m_io.WriteBString(element, static_cast<std::uint16_t>(text.size()), text.data(), 0, nullptr);
}

void VRebaDomain::WriteDomain(int listing) {
  WriteDomainHeader(
      static_cast<std::uint16_t>(m_elementSection.GetLength() + m_pageBreakSection.GetLength()),
      listing);
  m_elementSection.Write(m_file, listing);
  m_pageBreakSection.Write(m_file, listing);
}

void VRebaDomain::ReadDomain() {
  ReadDomainHeader();
  m_elementSection.Read(m_file, kElementStartCode, kElementEndCode, 0);
  m_pageBreakSection.Read(m_file, kPageBreakStartCode, kPageBreakEndCode, 0);
}

int VRebaDomain::Backtranslate() {
  return HandSectionsToDatabase(
      m_pDatabase, m_file.GetFileName(),
      {{m_elementSection, kInsertOwnCode}, {m_pageBreakSection, kPageBreakCode}});
}

}  // namespace morvit
