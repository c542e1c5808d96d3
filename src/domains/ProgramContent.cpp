// Sections and records of the PC program domains, filled from the writers' content.
#include "domains/ProgramContent.h"

#include "domains/SectionRecord.h"

namespace morvit {

void RefuseContent() { AfxThrowFileException(CFileException::invalidFile); }

void CheckFits(std::string_view text, std::size_t width) {
  if (text.size() > width) RefuseContent();
}

namespace {

void CheckElementLength(const std::vector<std::uint8_t>& bytes) {
  if (bytes.size() > kMaxElementLength) RefuseContent();
}

}  // namespace

void FillSection(VDomainSection& section, const std::vector<VProgramElement>& elements) {
  std::uint32_t length = kEmptySectionLength;
  for (const VProgramElement& entry : elements) {
    CheckElementLength(entry.bytes);
    if (entry.code == section.GetEndCode()) RefuseContent();
    length += static_cast<std::uint32_t>(entry.bytes.size()) + kSectionBlockHeaderSize;
  }
  for (const VProgramElement& entry : elements) {
    VElement& element = section.AppendElement(entry.code);
    element.Write(entry.bytes.data(), static_cast<unsigned>(entry.bytes.size()));
  }
  section.SetLength(static_cast<std::uint16_t>(length));
}

void FillRecord(VDomainSection& section, const std::vector<std::uint8_t>& bytes) {
  CheckElementLength(bytes);
  section.SetLength(static_cast<std::uint16_t>(kSectionBlockHeaderSize + bytes.size()));
  if (bytes.empty()) return;
  section.SetStartBlockBytes(bytes.data(), bytes.size());
}

}  // namespace morvit
