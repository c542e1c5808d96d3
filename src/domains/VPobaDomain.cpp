// VPobaDomain: the single-file open and close of the program base.
#include "domains/VPobaDomain.h"

#include "files/CompressedDomain.h"

namespace morvit {

IMPLEMENT_RUNTIME_CLASS(VPobaDomain, VRebaDomain)

VPobaDomain::VPobaDomain() = default;

VPobaDomain::~VPobaDomain() = default;

void VPobaDomain::OpenDomain(ObjParcelType parcel, VDatabase* database, std::uint16_t mode) {
  VDomain::OpenDomain(parcel, database, mode);
  if ((mode & CFile::modeCreate) != 0 || !CompressesFile()) return;
  // A program base is one file. A compressed one whose header counts further files is
  // damaged: expanding the first file's part of the stream alone would give a cut domain.
  m_commonHeader.Read(m_file);
  m_compressHeader.Read(m_file);
  if (m_compressHeader.m_wCompressVersion != VCompressHeader::kNotCompressed &&
      m_compressHeader.m_wNumberOfDomainsMinus1 != 0) {
    AfxThrowFileException(CFileException::invalidFile, -1, m_file.GetFullPath());
  }
  // The one file carries the task's scope in its name and header (as the close wrote it).
  const std::uint16_t scope = m_file.GetParcel().scope;
  m_file.SeekToBegin();
  ReadCompressedDomain(m_file, Headers(), scope);
}

void VPobaDomain::CloseDomain(std::uint16_t* parcelCount, std::uint16_t highestIndex,
                              ObjParcelType* parcels) {
  if (!CompressesFile()) {
    VDomain::CloseDomain(parcelCount, highestIndex, parcels);
    return;
  }
  m_file.Compress(m_wCompressMethod);
  if (m_file.GetLength() > kMaxCompressedBody) {
    const CString path = m_file.GetFullPath();
    m_file.RemoveDomain(VDomainFile::fileCompressed);
    AfxThrowFileException(CFileException::invalidFile, -1, path);
  }
  // With room for the whole body after all three headers, the split writes exactly one file,
  // named and reported under the domain's own scope (the task a program base belongs to).
  SplitCompressedDomain(m_file, Headers(), m_wCompressMethod,
                        kMaxCompressedBody + headerformat::kFirstPartHeaderSize, parcelCount,
                        highestIndex, parcels, m_file.GetParcel().scope);
}

}  // namespace morvit
