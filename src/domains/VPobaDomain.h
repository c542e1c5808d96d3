// VPobaDomain: the POBA domain (type 78), a program's element entries and page breaks in the
// REBA layout, always stored as one compressed domain file with all three headers.
#ifndef MORVIT_DOMAINS_VPOBADOMAIN_H
#define MORVIT_DOMAINS_VPOBADOMAIN_H

#include "domains/VRebaDomain.h"

namespace morvit {

class VPobaDomain : public VRebaDomain {
  DECLARE_RUNTIME_CLASS(VPobaDomain)

 public:
  // The largest compressed body of the one file: the maximum part size less the common and
  // compress headers (the structure header comes on top of it).
  static constexpr std::uint32_t kMaxCompressedBody =
      headerformat::kMaximumPartSize - headerformat::kPartHeaderSize;

  VPobaDomain();
  ~VPobaDomain() override;

  // Opened for reading, a compressed domain is expanded from its one file.
  void OpenDomain(ObjParcelType parcel, VDatabase* database, std::uint16_t mode) override;
  // Compresses the domain into its one file and reports one parcel. A compressed body over
  // kMaxCompressedBody bytes does not fit: the domain is refused (file exception, cause
  // invalidFile) and leaves no file, rather than being cut or spread over files that a reader
  // of program bases does not look for.
  void CloseDomain(std::uint16_t* parcelCount, std::uint16_t highestIndex,
                   ObjParcelType* parcels) override;
};

}  // namespace morvit

#endif  // MORVIT_DOMAINS_VPOBADOMAIN_H
