// Reading and writing a domain section block by block, in data or listing form.
#include "domains/VDomainSection.h"

#include "domains/SectionCodes.h"
#include "domains/ValueLayout.h"
#include "io/ListingEvents.h"

namespace morvit {

IMPLEMENT_RUNTIME_CLASS(VDomainSection, CObject)

VDomainSection::VDomainSection(std::uint16_t startCode, std::uint16_t endCode, std::uint16_t length)
    : m_wStartCode(startCode), m_wEndCode(endCode), m_wLength(length) {}

VElement& VDomainSection::AppendElement(std::uint16_t code) {
  m_elements.push_back(std::make_unique<VElement>(code));
  return *m_elements.back();
}

void VDomainSection::SetStartBlockBytes(const void* bytes, std::size_t count) {
  VElement& element = AppendElement(m_wStartCode);
  element.Write(bytes, static_cast<unsigned>(count));
  m_bStartPayload = true;
}

// Reads a block's size word and returns it. A block's size counts its own code and size words,
// so a size below 4 cannot come from a writer: the section is damaged, and reading on would take
// payload bytes for codes. It is reported as the end-of-file failure of a section cut short.
std::uint16_t VDomainSection::ReadBlockSize(CFile& file) {
  const std::uint16_t size = m_io.ReadCardinal(file);
  if (size < kSectionBlockHeaderSize) {
    AfxThrowFileException(CFileException::endOfFile, -1, file.GetFilePath());
  }
  return size;
}

void VDomainSection::ReadBlock(CFile& file, std::uint16_t code, std::uint16_t size) {
  VElement& element = AppendElement(code);
  m_io.CopyBytes(file, element, size - kSectionBlockHeaderSize, 0);
  element.SeekToBegin();
  m_wLength = static_cast<std::uint16_t>(m_wLength + size);
}

void VDomainSection::Read(CFile& file, std::uint16_t startCode, std::uint16_t endCode,
                          std::int32_t position) {
  if (position != 0) file.Seek(position, CFile::begin);
  m_wStartCode = m_io.ReadCardinal(file);
  m_wLength = kSectionBlockHeaderSize;
  if (m_wStartCode != startCode) {
    m_io.ReadCardinal(file);  // the size word of a block that is not this section's
    return;
  }
  const std::uint16_t startSize = ReadBlockSize(file);
  // A start block written here has no payload; one that has is kept as the first element, and
  // written back as the start block's payload (a single-record section is nothing else).
  m_bStartPayload = startSize > kSectionBlockHeaderSize;
  // The block then counts once, with its code and size words (not 4 bytes more than it takes).
  if (m_bStartPayload) {
    m_wLength = 0;
    ReadBlock(file, startCode, startSize);
  }
  if (startCode == endCode) {
    m_wEndCode = endCode;
    return;
  }
  for (std::uint16_t code = m_io.ReadCardinal(file); code != endCode;
       code = m_io.ReadCardinal(file)) {
    ReadBlock(file, code, ReadBlockSize(file));
  }
  m_wEndCode = endCode;
  m_io.ReadCardinal(file);  // the end block's size, always 4
  m_wLength = static_cast<std::uint16_t>(m_wLength + kSectionBlockHeaderSize);
}

void VDomainSection::WriteBlock(CFile& file, VElement& element, const char* sizeLabel, int listing,
                                std::int64_t index) {
  element.SeekToBegin();
  const auto length = static_cast<std::uint16_t>(element.GetLength());
  const char* name = SectionCodeName(element.GetCode());
  if (listing != 0) {
    events::Begin({morvit::VListingPlace::element,
                   {},
                   element.GetCode(),
                   name,
                   index,
                   VMotorolaIO::m_lByteOffset});
  }
  const std::int64_t offset = VMotorolaIO::m_lByteOffset;
  m_io.WriteCardinal(file, element.GetCode(), listing, name);
  if (listing != 0)
    events::TextValue(offset, 2, "code", name, morvit::VValueKind::code, element.GetCode());
  m_io.WriteCardinal(file, static_cast<std::uint16_t>(length + kSectionBlockHeaderSize), listing,
                     sizeLabel);
  m_io.CopyBytes(element, file, length, listing);
  if (listing != 0) {
    if (m_elementValues != nullptr) {
      morvit::ListElementValues(element, *m_elementValues, offset + kSectionBlockHeaderSize);
    }
    events::End(morvit::VListingPlace::element);
  }
}

// A section read with a start block that carried bytes writes them back in that block: written
// as a block of their own (or, in a single-record section, dropped), they would change the
// domain.
void VDomainSection::Write(CFile& file, int listing) {
  const char* name = SectionCodeName(m_wStartCode);
  if (listing != 0) {
    events::Begin(
        {morvit::VListingPlace::section, name, m_wStartCode, name, -1, VMotorolaIO::m_lByteOffset});
  }
  auto element = m_elements.begin();
  std::int64_t index = 0;
  if (m_bStartPayload && element != m_elements.end()) {
    WriteBlock(file, **element++, "FBSize", listing, index++);
  } else {
    m_io.WriteCardinal(file, m_wStartCode, listing, name);
    m_io.WriteCardinal(file, kSectionBlockHeaderSize, listing, "FBSize");
  }
  if (m_wEndCode != m_wStartCode) {
    for (; element != m_elements.end(); ++element) {
      WriteBlock(file, **element, "BlockSize", listing, index++);
    }
    m_io.WriteCardinal(file, m_wEndCode, listing, SectionCodeName(m_wEndCode));
    m_io.WriteCardinal(file, kSectionBlockHeaderSize, listing, "FBSize");
  }
  if (listing != 0) events::End(morvit::VListingPlace::section);
}

}  // namespace morvit
