// VNobaDomain: texts in, one element out, and back to the database.
#include "domains/VNobaDomain.h"

#include "domains/SectionBacktranslation.h"
#include "domains/SectionCodes.h"
#include "domains/SectionRecord.h"
#include "domains/ValueLayout.h"
#include "morvit/VElement.h"

namespace morvit {

IMPLEMENT_RUNTIME_CLASS(VNobaDomain, VDomain)

namespace {

// Payload of a text record.
constexpr std::size_t kTextLengthAt = 8;
constexpr std::size_t kTextAddressAt = 12;  // a host pointer: 8 bytes on 64-bit hosts

}  // namespace

namespace {

// The one text element: the texts one after the other.
constexpr ValueItem kTextItems[] = {{"text", ValueEncoding::BString}};
constexpr ElementValueLayout kTextValues{{}, kTextItems};

}  // namespace

VNobaDomain::VNobaDomain() : m_textSection(kElementStartCode, kElementEndCode) {
  m_textSection.SetElementValues(&kTextValues);
}

VNobaDomain::~VNobaDomain() = default;

void VNobaDomain::InsertSection(TSectionInfo* section) {
  const SectionRecord record(*section);
  const auto length = record.Field<std::uint16_t, kTextLengthAt>();
  const auto* chars = record.Field<const char*, kTextAddressAt>();
  // A text of some length but no characters would be read from nowhere: refuse the record.
  if (chars == nullptr && length != 0) AfxThrowFileException(CFileException::invalidFile);
  if (m_pTextElement == nullptr)
    m_pTextElement = &m_textSection.AppendElement(m_file.GetFileType());
  AppendToElement(*m_pTextElement,
                  [&](VElement& e) { m_io.WriteBString(e, length, chars, 0, nullptr); });
}

void VNobaDomain::WriteDomain(int listing) {
  std::uint64_t length = kEmptySectionLength;
  if (m_pTextElement != nullptr) length += m_pTextElement->GetLength() + kSectionBlockHeaderSize;
  m_textSection.SetLength(static_cast<std::uint16_t>(length));
  WriteDomainHeader(m_textSection.GetLength(), listing);
  m_textSection.Write(m_file, listing);
}

void VNobaDomain::ReadDomain() {
  ReadDomainHeader();
  m_textSection.Read(m_file, kElementStartCode, kElementEndCode, 0);
  const auto& elements = m_textSection.GetElements();
  m_pTextElement = elements.empty() ? nullptr : elements.front().get();
  if (m_pTextElement != nullptr) m_pTextElement->SeekToBegin();
}

int VNobaDomain::Backtranslate() {
  return HandSectionsToDatabase(m_pDatabase, m_file.GetFileName(),
                                {{m_textSection, kInsertOwnCode}});
}

}  // namespace morvit
