// VBaDomain: header records of block-addressed domains and the choice between an ordinary and
// a compressed file when the domain is closed or opened for reading.
#include "domains/VBaDomain.h"

namespace morvit {

IMPLEMENT_RUNTIME_CLASS(VBaDomain, VDomain)

namespace {

// Structure header of a new domain: version 1.0, block 1 right after the structure header's
// own fields, no block 2 and no extension.
constexpr std::uint8_t kStructureMajor = 1;
constexpr std::uint8_t kStructureMinor = 0;
constexpr std::int32_t kFirstBlockOffset = 20;
constexpr std::int32_t kNoOffset = -1;

}  // namespace

VBaDomain::VBaDomain() {
  m_structureHeader.m_cMajorVersion = kStructureMajor;
  m_structureHeader.m_cMinorVersion = kStructureMinor;
  m_structureHeader.m_lOffsetToBlock1 = kFirstBlockOffset;
  m_structureHeader.m_lOffsetToBlock2 = kNoOffset;
  m_structureHeader.m_lOffsetToExtension = kNoOffset;
}

VBaDomain::~VBaDomain() = default;

void VBaDomain::ReadDomainHeader() {
  m_commonHeader.Read(m_file);
  m_compressHeader.Read(m_file);
  m_structureHeader.Read(m_file);
}

void VBaDomain::WriteDomainHeader(std::uint16_t bodyLength, int listing) {
  VDomain::WriteDomainHeader(static_cast<std::uint16_t>(bodyLength + m_compressHeader.GetSize() +
                                                        m_structureHeader.GetSize()),
                             listing);
  m_compressHeader.m_wOwnDomainNumber = 0;
  m_compressHeader.SetNumberOfDomains(1);
  m_compressHeader.m_wCompressVersion = VCompressHeader::kNotCompressed;
  m_compressHeader.Write(m_file, listing);
  m_structureHeader.Write(m_file, listing);
}

bool VBaDomain::CompressesFile() {
  return m_nCompressionEnabled != 0 && m_file.GetLength() >= m_wThreshold;
}

void VBaDomain::OpenDomain(ObjParcelType parcel, VDatabase* database, std::uint16_t mode) {
  VDomain::OpenDomain(parcel, database, mode);
  if ((mode & CFile::modeCreate) == 0 && CompressesFile()) {
    try {
      ReadCompressedDomain(m_file, Headers());
    } catch (CFileException& e) {
      // A part named from damaged headers may name no file at all, and the joined stream and
      // its expansion are the reader's own siblings: the failure is the domain file's.
      const CString& named = e.m_strFileName;
      if (named.empty() || named == m_file.GetPath(VDomainFile::fileCompressed) ||
          named == m_file.GetPath(VDomainFile::fileExpanded)) {
        e.m_strFileName = m_file.GetPath(VDomainFile::fileDomain);
      }
      throw;
    }
  }
}

void VBaDomain::CloseDomain(std::uint16_t* parcelCount, std::uint16_t highestIndex,
                            ObjParcelType* parcels) {
  if (!CompressesFile()) {
    VDomain::CloseDomain(parcelCount, highestIndex, parcels);
    return;
  }
  WriteCompressedDomain(m_file, Headers(), m_wCompressMethod, m_lMaxPartSize, parcelCount,
                        highestIndex, parcels);
}

}  // namespace morvit
