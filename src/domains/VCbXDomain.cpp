// VCbXDomain: element descriptions filed by name, sized, written behind the decoder table of
// the domain's element types, read back across continuation files and handed to the database.
#include "domains/VCbXDomain.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

#include "domains/CbxTypeTable.h"
#include "domains/SectionBacktranslation.h"
#include "domains/SectionRecord.h"
#include "files/HeaderFormat.h"
#include "morvit/VDatabase.h"

namespace morvit {

IMPLEMENT_RUNTIME_CLASS(VCbXDomain, VContinueDomain)
IMPLEMENT_RUNTIME_CLASS(VCbDDomain, VCbXDomain)
IMPLEMENT_RUNTIME_CLASS(VCbPDomain, VCbXDomain)

namespace {

// The element record's place in a section record.
constexpr std::size_t kElementAt = 8;
// A name or text field holds 20 characters and the terminating zero.
constexpr std::size_t kTextField = sizeof(TCbxElement::name);
constexpr std::size_t kMaxTextLength = kTextField - 1;
static_assert(sizeof(TCbxElement::enumText[0]) == kTextField);

// Decoder header of a new domain: the decoder table follows the common, compress, structure
// and decoder headers; G1 1, G2 and G3 unused.
constexpr std::uint16_t kDecoderTableOffset =
    headerformat::kFirstPartHeaderSize + headerformat::kDecoderHeaderSize;
constexpr std::uint16_t kG1 = 1;
constexpr std::uint16_t kUnusedG = 0xFFFF;

// Element description head: SizeOfFB, TypeOfElement, NameLength.
constexpr std::uint16_t kDescriptionHeadSize = 2 + 2 + 2;

// The record's fields of the areas COLO, COLE, COPM, CODA, named by address codes 1 to 8 in
// pairs.
struct AreaFields {
  std::uint16_t TCbxElement::*byteOffset;
  std::uint16_t TCbxElement::*bitOffset;
};
constexpr AreaFields kAreas[] = {
    {&TCbxElement::byteOffsetCOLO, &TCbxElement::bitOffsetCOLO},
    {&TCbxElement::byteOffsetCOLE, &TCbxElement::bitOffsetCOLE},
    {&TCbxElement::byteOffsetCOPM, &TCbxElement::bitOffsetCOPM},
    {&TCbxElement::byteOffsetCODA, &TCbxElement::bitOffsetCODA},
};
const AreaFields& Area(std::uint8_t code) { return kAreas[(code - 1) / 2]; }
bool CarriesBitOffset(std::uint8_t code) { return CbxCarriesBitOffset(code); }

std::uint16_t EnumLength(const TCbxElement& element, std::size_t j) {
  return static_cast<std::uint16_t>(strnlen(element.enumText[j], kTextField));
}

// Bytes of a text behind its length byte, padded to even.
std::uint16_t EnumTextSize(std::uint16_t length) {
  return static_cast<std::uint16_t>(length + 1 + (length % 2 == 0 ? 1 : 0));
}

std::uint16_t DescriptionSize(const TCbxElement& element) {
  std::uint32_t size = (element.nameLength + 1u) / 2u * 2u + kDescriptionHeadSize;
  for (const CbxAddressType& address :
       CbxAddressTypes(static_cast<std::size_t>(element.typeIndex))) {
    if (address.code == kEnumTextsAddress) {
      for (std::size_t j = 0; j < address.terminalCount; ++j)
        size += EnumTextSize(EnumLength(element, j));
    } else {
      size += CarriesBitOffset(address.code) ? 4 : 2;
    }
  }
  return static_cast<std::uint16_t>(size);
}

// A name written into its fixed width, zero-filled.
template <std::size_t Width>
std::array<char, Width> Padded(const char* name) {
  std::array<char, Width> chars{};
  const std::string_view text(name);
  text.copy(chars.data(), std::min(text.size(), Width));
  return chars;
}

}  // namespace

VCbXDomain::VCbXDomain() {
  m_compressHeader.m_wCompressVersion = VCompressHeader::kNotCompressed;
  m_structureHeader.m_lOffsetToBlock1 = headerformat::kFirstPartHeaderSize;
  m_decoderHeader.m_wOffsetToDecoderTable = kDecoderTableOffset;
  m_decoderHeader.m_wG1 = kG1;
  m_decoderHeader.m_wG2 = kUnusedG;
  m_decoderHeader.m_wG3 = kUnusedG;
}

VCbXDomain::~VCbXDomain() = default;

bool VCbXDomain::InRange(std::int32_t typeIndex) const {
  std::size_t first = 0;
  std::size_t end = 0;
  GetTypeRange(&first, &end);
  return typeIndex >= 0 && static_cast<std::size_t>(typeIndex) >= first &&
         static_cast<std::size_t>(typeIndex) < end;
}

void VCbXDomain::InsertSection(TSectionInfo* section) {
  const SectionRecord record(*section);
  if (record.Kind() != kKindElement) return;
  TCbxElement element;
  record.CopyBytes<kElementAt, sizeof element>(&element);
  bool fits = InRange(element.typeIndex) && element.nameLength <= kMaxTextLength;
  if (fits) {
    for (const CbxAddressType& address :
         CbxAddressTypes(static_cast<std::size_t>(element.typeIndex))) {
      if (address.code != kEnumTextsAddress) continue;
      for (std::size_t j = 0; j < address.terminalCount; ++j)
        fits = fits && EnumLength(element, j) < kTextField;
    }
  }
  if (!fits) AfxThrowFileException(CFileException::genericException);
  element.sizeOfFB = DescriptionSize(element);
  m_mapElements.emplace(std::string(element.name, strnlen(element.name, kMaxTextLength)), element);
}

void VCbXDomain::GetHeaderSize(int part, std::uint16_t* size) {
  if (part != 0) {
    VContinueDomain::GetHeaderSize(part, size);
    return;
  }
  std::size_t first = 0;
  std::size_t end = 0;
  GetTypeRange(&first, &end);
  std::uint32_t total = m_decoderHeader.m_wOffsetToDecoderTable;
  for (std::size_t t = first; t < end; ++t) total += CbxEntrySize(t);
  *size = static_cast<std::uint16_t>(total);
}

void VCbXDomain::WritePartHeader(const PartEntry* part, int listing) {
  VContinueDomain::WritePartHeader(part, listing);
  if (part->number != 0) return;
  std::uint16_t headerSize = 0;
  GetHeaderSize(0, &headerSize);
  m_decoderHeader.m_wOffsetToDescription = m_mapElements.empty() ? kNoDescription : headerSize;
  m_decoderHeader.Write(m_file, listing);
  WriteDecoderTable(listing);
}

// One entry per element type of the range; within an entry each address type is followed by
// its terminals.
void VCbXDomain::WriteDecoderTable(int listing) {
  std::size_t first = 0;
  std::size_t end = 0;
  GetTypeRange(&first, &end);
  for (std::size_t t = first; t < end; ++t) {
    const CbxElementType& type = CbxType(t);
    m_io.WriteCardinal(m_file, static_cast<std::uint16_t>(t + 1), listing, "TypeOfElement");
    m_io.WriteCardinal(m_file, CbxEntrySize(t), listing, "SizeOfEntry");
    m_io.WriteCardinal(m_file, static_cast<std::uint16_t>(type.addressTypeCount - 1), listing,
                       "NoOfAddressTypes-1");
    m_io.WriteString(m_file, kElementTypeNameWidth, Padded<kElementTypeNameWidth>(type.name).data(),
                     0, listing, "ElementType");
    m_io.WriteString(m_file, kItemDesignationWidth,
                     Padded<kItemDesignationWidth>(type.itemDesignation).data(), 0, listing,
                     "ItemDesignation");
    for (int i = 0; i < 3; ++i)
      m_io.WriteCardinal(m_file, headerformat::kSpareWord, listing, nullptr);
    for (const CbxAddressType& address : CbxAddressTypes(t)) {
      m_io.WriteByte(m_file, address.code, listing, "AddrType/NoTerminals-1");
      m_io.WriteByte(m_file, static_cast<std::uint8_t>(address.terminalCount - 1), listing,
                     "AddrType/NoTerminals-1");
      m_io.WriteCardinal(m_file, headerformat::kSpareWord, listing, nullptr);
      for (const CbxTerminal& terminal : CbxTerminals(address)) {
        m_io.WriteByte(m_file, terminal.flags, listing, nullptr);
        m_io.WriteByte(m_file, terminal.number, listing, nullptr);
        m_io.WriteByte(m_file, terminal.dataType, listing, "DataType/DataLen");
        m_io.WriteByte(m_file, terminal.dataLength, listing, "DataType/DataLen");
        m_io.WriteCardinal(m_file, headerformat::kSpareWord, listing, nullptr);
        m_io.WriteString(m_file, kTerminalNameWidth,
                         Padded<kTerminalNameWidth>(terminal.name).data(), 0, listing,
                         "TerminalName");
      }
    }
  }
}

void VCbXDomain::WriteElement(const void* record, int listing) {
  const auto& element = *static_cast<const TCbxElement*>(record);
  m_io.WriteCardinal(m_file, element.sizeOfFB, listing, "SizeOfFB");
  m_io.WriteCardinal(m_file, static_cast<std::uint16_t>(element.typeIndex + 1), listing,
                     "TypeOfElement");
  m_io.WriteCardinal(m_file, element.nameLength, listing, "NameLength");
  m_io.WriteString(m_file, element.nameLength, element.name, 0, listing, "Name");
  for (const CbxAddressType& address :
       CbxAddressTypes(static_cast<std::size_t>(element.typeIndex))) {
    if (address.code == kEnumTextsAddress) {
      for (std::size_t j = 0; j < address.terminalCount; ++j) {
        const std::uint16_t length = EnumLength(element, j);
        m_io.WriteByte(m_file, static_cast<std::uint8_t>(length), listing, "Enum");
        m_io.WriteString(m_file, length, element.enumText[j], 0, listing, "Enum");
      }
      continue;
    }
    const AreaFields& area = Area(address.code);
    m_io.WriteCardinal(m_file, element.*area.byteOffset, listing, CbxArea(address.code).byteLabel);
    if (CarriesBitOffset(address.code))
      m_io.WriteCardinal(m_file, element.*area.bitOffset, listing, CbxArea(address.code).bitLabel);
  }
}

const void* VCbXDomain::GetFirstElement(ElementPosition* position) {
  m_walk.clear();
  for (const auto& [name, element] : m_mapElements) m_walk.push_back(&element);
  *position = 0;
  return GetNextElement(position);
}

const void* VCbXDomain::GetNextElement(ElementPosition* position) {
  if (*position >= m_walk.size()) return nullptr;
  return m_walk[(*position)++];
}

std::uint16_t VCbXDomain::GetElementSize(const void* element) {
  return static_cast<const TCbxElement*>(element)->sizeOfFB;
}

int VCbXDomain::ReadElement(void* buffer) {
  auto* record = static_cast<TSectionInfo*>(buffer);
  const bool atStart = m_file.GetPosition() == 0;
  const int more = VContinueDomain::ReadElement(buffer);
  record->kind = kKindElement;
  if (more == 0) return 0;
  if (atStart) {
    // The decoder table describes the element types; reading goes by the type table instead.
    m_decoderHeader.Read(m_file);
    if (m_decoderHeader.m_wOffsetToDescription == kNoDescription) return 0;
    m_file.Seek(m_decoderHeader.m_wOffsetToDescription, CFile::begin);
  }
  TCbxElement element{};
  element.sizeOfFB = m_io.ReadCardinal(m_file);
  element.typeIndex = static_cast<std::int32_t>(m_io.ReadCardinal(m_file)) - 1;
  // A type outside the domain's range would index past the type table; a name longer than its
  // field would overflow the record.
  if (!InRange(element.typeIndex))
    AfxThrowFileException(CFileException::endOfFile, -1, m_file.GetFullPath());
  element.nameLength = m_io.ReadCardinal(m_file);
  if (element.nameLength > kMaxTextLength)
    AfxThrowFileException(CFileException::endOfFile, -1, m_file.GetFullPath());
  m_io.ReadString(m_file, element.nameLength, element.name, sizeof element.name);
  ReadAddressFields(element);
  std::memcpy(reinterpret_cast<std::uint8_t*>(record) + kElementAt, &element, sizeof element);
  return 1;
}

// A text's length byte comes from the file: ReadString refuses one that would not fit the
// record's field (end of file) before it copies anything.
void VCbXDomain::ReadAddressFields(TCbxElement& element) {
  for (const CbxAddressType& address :
       CbxAddressTypes(static_cast<std::size_t>(element.typeIndex))) {
    if (address.code == kEnumTextsAddress) {
      for (std::size_t j = 0; j < address.terminalCount; ++j) {
        const std::uint8_t length = m_io.ReadByte(m_file);
        m_io.ReadString(m_file, length, element.enumText[j], sizeof element.enumText[j]);
      }
      continue;
    }
    const AreaFields& area = Area(address.code);
    element.*area.byteOffset = m_io.ReadCardinal(m_file);
    if (CarriesBitOffset(address.code)) element.*area.bitOffset = m_io.ReadCardinal(m_file);
  }
}

int VCbXDomain::Backtranslate() {
  if (m_pDatabase == nullptr) return 1;
  CString fileName = m_file.GetFileName();
  CString text = ProgressText(fileName);
  std::uint64_t total = m_file.GetLength();
  m_file.SeekToBegin();
  TSectionInfo record{};
  while (ReadElement(&record) != 0) {
    const std::uint64_t position = m_file.GetPosition();
    if (m_file.GetFileName() != fileName) {
      fileName = m_file.GetFileName();
      text = ProgressText(fileName);
      total = m_file.GetLength();
    }
    const std::uint64_t percent = total > 0 ? (position + 1) * 100 / total : 100;
    ReportProgress(static_cast<int>(percent), text);
    if (CancelRequested()) return 0;
    TCbxElement element;
    std::memcpy(&element, reinterpret_cast<const std::uint8_t*>(&record) + kElementAt,
                sizeof element);
    auto typeName = Padded<kElementTypeNameWidth + 1>(
        CbxType(static_cast<std::size_t>(element.typeIndex)).name);
    m_pDatabase->Update(typeName.data(), element);
  }
  return 1;
}

void VCbDDomain::GetTypeRange(std::size_t* first, std::size_t* end) const {
  *first = 0;
  *end = kCbxFirstPardatType;
}

void VCbPDomain::GetTypeRange(std::size_t* first, std::size_t* end) const {
  *first = kCbxFirstPardatType;
  *end = kCbxElementTypeCount;
}

// The shifts move the CODA byte offsets of PARDAT(I), PARDATS(NI) and PARDAT(II) by the first
// word, those of PARDAT(B), PARDAT(NB), PARDATS(NB), PARDAT(IL) and PARDAT(R) by the second;
// PARDAT(NI) stays.
void VCbPDomain::InsertSection(TSectionInfo* section) {
  const SectionRecord record(*section);
  if (record.Kind() != kKindShift) {
    VCbXDomain::InsertSection(section);
    return;
  }
  const auto firstShift = record.Field<std::uint16_t, 8>();
  const auto secondShift = record.Field<std::uint16_t, 10>();
  ForEachElement([&](TCbxElement& element) {
    switch (element.typeIndex) {
      case 10:
      case 12:
      case 13:
        element.byteOffsetCODA = static_cast<std::uint16_t>(element.byteOffsetCODA + firstShift);
        break;
      case 7:
      case 8:
      case 9:
      case 14:
      case 15:
        element.byteOffsetCODA = static_cast<std::uint16_t>(element.byteOffsetCODA + secondShift);
        break;
      default:
        break;
    }
  });
}

}  // namespace morvit
