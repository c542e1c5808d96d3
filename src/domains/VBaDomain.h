// VBaDomain: the block-addressed domain. Its files carry a compress header and a structure
// header after the common header, and a finished domain may be stored imploded and split into
// part files, which reading joins and expands again.
#ifndef MORVIT_DOMAINS_VBADOMAIN_H
#define MORVIT_DOMAINS_VBADOMAIN_H

#include <cstdint>

#include "domains/VDomain.h"
#include "files/CompressedDomain.h"
#include "files/VCompressHeader.h"
#include "files/VStructureHeader.h"

namespace morvit {

class VBaDomain : public VDomain {
  DECLARE_RUNTIME_CLASS(VBaDomain)

 public:
  VBaDomain();
  ~VBaDomain() override;

  // The common, compress and structure headers, in that order.
  void ReadDomainHeader() override;
  // The common header with a domain length covering the two further headers too, then a
  // compress header for one uncompressed file and the structure header.
  void WriteDomainHeader(std::uint16_t bodyLength, int listing) override;
  // Opened for reading, a compressed domain is joined and expanded first; the file is then
  // positioned at the domain's first byte.
  void OpenDomain(ObjParcelType parcel, VDatabase* database, std::uint16_t mode) override;
  // A domain that may be compressed and is long enough is stored compressed, in part files.
  void CloseDomain(std::uint16_t* parcelCount, std::uint16_t highestIndex,
                   ObjParcelType* parcels) override;

 protected:
  // Whether the file is stored compressed when closed (or expanded when opened for reading).
  bool CompressesFile();
  DomainHeaders Headers() { return {m_commonHeader, m_compressHeader, m_structureHeader}; }

  VCompressHeader m_compressHeader;
  VStructureHeader m_structureHeader;
  int m_nCompressionEnabled = 1;
  std::uint16_t m_wCompressMethod = VCompressHeader::kImplode;
  // The shortest file, in bytes, that is compressed.
  std::uint16_t m_wThreshold = 14;
};

}  // namespace morvit

#endif  // MORVIT_DOMAINS_VBADOMAIN_H
