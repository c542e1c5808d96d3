// VContinueDomain: planning the continuation files of a domain, writing their headers, and
// following the chain of files while reading elements back.
#include "domains/VContinueDomain.h"

#include "files/HeaderFormat.h"

namespace morvit {

IMPLEMENT_RUNTIME_CLASS(VContinueDomain, VBaDomain)

VContinueDomain::VContinueDomain() { m_nCompressionEnabled = 0; }

VContinueDomain::~VContinueDomain() = default;

std::uint8_t* VContinueDomain::AppendElement(std::size_t size) {
  m_elements.push_back(std::make_unique<std::uint8_t[]>(size));
  return m_elements.back().get();
}

void VContinueDomain::GetHeaderSize(int part, std::uint16_t* size) {
  *size = static_cast<std::uint16_t>(m_commonHeader.GetSize() + m_compressHeader.GetSize());
  if (part == 0) *size = static_cast<std::uint16_t>(*size + m_structureHeader.GetSize());
}

// The test runs before an element is added, so a part stays within the maximum part size unless
// one element alone with the headers exceeds it. Such an element gets a part of its own beyond
// the limit; a part never stays empty, since the writer moves to the next part only after a
// part's last element, and an empty part would leave the chain one file short of its count.
// Planning starts afresh, so that writing a domain again announces the right number of parts.
int VContinueDomain::PlanParts() {
  m_parts.clear();
  std::uint16_t headerSize = 0;
  GetHeaderSize(0, &headerSize);
  m_parts.push_back({0, headerSize, nullptr});
  std::uint16_t nextNumber = 1;
  ElementPosition position = 0;
  for (const void* element = GetFirstElement(&position); element != nullptr;
       element = GetNextElement(&position)) {
    const std::uint16_t size = GetElementSize(element);
    if (m_parts.back().lastElement != nullptr && m_lMaxPartSize < size + m_parts.back().byteCount) {
      const std::uint16_t number = nextNumber++;
      GetHeaderSize(number, &headerSize);
      m_parts.push_back({number, headerSize, nullptr});
    }
    m_parts.back().lastElement = element;
    m_parts.back().byteCount += size;
  }
  return 0;
}

void VContinueDomain::WriteDomain(int listing) {
  if (listing != 0) m_file.Reopen(VDomainFile::fileListing);
  PlanParts();
  std::size_t current = 0;
  WritePartHeader(&m_parts[current], listing);
  ElementPosition position = 0;
  for (const void* element = GetFirstElement(&position); element != nullptr;
       element = GetNextElement(&position)) {
    WriteElement(element, listing);
    if (element == m_parts[current].lastElement && current + 1 < m_parts.size()) {
      ++current;
      WritePartHeader(&m_parts[current], listing);
    }
  }
}

void VContinueDomain::WritePartHeader(const PartEntry* part, int listing) {
  if (part->number != 0) m_file.OpenContinuationDomainWrite(listing);
  m_commonHeader.m_wDomainLength = static_cast<std::uint16_t>(part->byteCount);
  m_commonHeader.Write(m_file, listing);
  m_compressHeader.SetNumberOfDomains(static_cast<std::uint16_t>(m_parts.size()));
  m_compressHeader.m_wOwnDomainNumber = part->number;
  m_compressHeader.Write(m_file, listing);
  if (part->number == 0) m_structureHeader.Write(m_file, listing);
}

void VContinueDomain::WriteElement(const void*, int) {}

const void* VContinueDomain::GetFirstElement(ElementPosition* position) {
  *position = 0;
  return GetNextElement(position);
}

const void* VContinueDomain::GetNextElement(ElementPosition* position) {
  if (*position >= m_elements.size()) return nullptr;
  return m_elements[(*position)++].get();
}

int VContinueDomain::ReadElement(void*) {
  if (m_file.GetPosition() == 0) ReadDomainHeader();
  // The part's last byte is at its domain length - 1.
  if (m_file.GetPosition() + 1 < m_commonHeader.m_wDomainLength) return 1;
  const std::uint16_t ownNumber = m_compressHeader.m_wOwnDomainNumber;
  if (ownNumber >= m_compressHeader.m_wNumberOfDomainsMinus1) return 0;
  m_file.OpenContinuationDomainRead();
  m_commonHeader.Read(m_file);
  m_compressHeader.Read(m_file);
  // Each file of the chain names itself as the next part; one that does not belongs to another
  // chain or is damaged, and following it could go round in circles.
  if (m_compressHeader.m_wOwnDomainNumber != ownNumber + 1) {
    AfxThrowFileException(CFileException::endOfFile, -1, m_file.GetFullPath());
  }
  return 1;
}

void VContinueDomain::ReadDomain() {
  m_file.SeekToBegin();
  // A whole section record, so that InsertSection may read any field of it.
  TSectionInfo record{};
  while (ReadElement(&record) != 0) {
    InsertSection(&record);
  }
}

}  // namespace morvit
