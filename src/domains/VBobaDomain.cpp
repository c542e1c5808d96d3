// VBobaDomain: objects and their terminal values in, one element section out, and back to the
// database.
#include "domains/VBobaDomain.h"

#include "domains/SectionBacktranslation.h"
#include "domains/SectionCodes.h"
#include "domains/SectionRecord.h"
#include "domains/ValueLayout.h"
#include "morvit/VElement.h"

namespace morvit {

IMPLEMENT_RUNTIME_CLASS(VBobaDomain, VBaDomain)

namespace {

constexpr std::int32_t kKindObject = 3;
constexpr std::int32_t kKindTerminal = 4;

// Kind 3: object number and three values.
constexpr std::size_t kObjectNumberAt = 8;
constexpr std::size_t kValue1At = 10;
constexpr std::size_t kValue2At = 12;
constexpr std::size_t kValue3At = 14;
// Kind 4: a terminal record whose first word is the object number.
constexpr std::size_t kTerminalAt = 8;

// An object's element: its number (the key the terminals find it by), three values, then the
// terminal values appended to it.
constexpr ValueItem kObjectItems[] = {
    {"object", ValueEncoding::Key},
    {"value 1", ValueEncoding::Cardinal},
    {"value 2", ValueEncoding::Cardinal},
    {"value 3", ValueEncoding::Cardinal},
};
constexpr ValueItem kTerminalItems[] = {{"terminal value", ValueEncoding::Terminal}};
constexpr ElementValueLayout kObjectValues{kObjectItems, kTerminalItems};

}  // namespace

VBobaDomain::VBobaDomain() : m_elementSection(kElementStartCode, kElementEndCode) {
  m_elementSection.SetElementValues(&kObjectValues);
}

VBobaDomain::~VBobaDomain() = default;

void VBobaDomain::InsertSection(TSectionInfo* section) {
  const SectionRecord record(*section);
  if (record.Kind() == kKindObject) InsertObject(record);
  if (record.Kind() == kKindTerminal) InsertTerminal(record);
}

void VBobaDomain::InsertObject(const SectionRecord& record) {
  const auto object = record.Field<std::uint16_t, kObjectNumberAt>();
  if (m_mapObjects.count(object) != 0) return;
  VElement& element = m_elementSection.AppendElement(m_file.GetFileType());
  m_mapObjects.emplace(object, &element);
  const std::uint16_t added = AppendToElement(element, [&](VElement& e) {
    for (const std::uint16_t value :
         {object, record.Field<std::uint16_t, kValue1At>(),
          record.Field<std::uint16_t, kValue2At>(), record.Field<std::uint16_t, kValue3At>()}) {
      m_io.WriteCardinal(e, value, 0, nullptr);
    }
  });
  m_elementSection.SetLength(
      static_cast<std::uint16_t>(m_elementSection.GetLength() + added + kSectionBlockHeaderSize));
}

// The section grows by the bytes actually appended, a string's pad byte included, so that the
// domain length covers the whole element.
void VBobaDomain::InsertTerminal(const SectionRecord& record) {
  TBATerminal terminal{};
  record.CopyBytes<kTerminalAt, sizeof terminal>(&terminal);
  const auto object = m_mapObjects.find(terminal.objectNumber);
  if (object == m_mapObjects.end()) return;
  const std::uint16_t added = AppendToElement(
      *object->second, [&](VElement& e) { m_io.WriteTerminalValue(e, terminal, 0, nullptr); });
  m_elementSection.SetLength(static_cast<std::uint16_t>(m_elementSection.GetLength() + added));
}

void VBobaDomain::WriteDomain(int listing) {
  WriteDomainHeader(m_elementSection.GetLength(), listing);
  m_elementSection.Write(m_file, listing);
}

void VBobaDomain::ReadDomain() {
  ReadDomainHeader();
  m_elementSection.Read(m_file, kElementStartCode, kElementEndCode, 0);
}

int VBobaDomain::Backtranslate() {
  return HandSectionsToDatabase(m_pDatabase, m_file.GetFileName(),
                                {{m_elementSection, kInsertOwnCode}});
}

}  // namespace morvit
