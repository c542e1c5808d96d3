// Generation of a filled domain, leaving nothing of it behind when it fails.
#include "domains/WriterGeneration.h"

namespace morvit {

std::vector<ObjParcelType> GenerateFilledDomain(VDomain& domain, const ObjParcelType& parcel,
                                                std::uint16_t parcelRoom,
                                                const std::function<void(VDomain&)>& check) {
  std::vector<ObjParcelType> parcels(parcelRoom);
  std::uint16_t count = 0;
  // A domain of several files whose later open fails takes the files it created with it, as
  // does a failed write or close.
  const DiscardFilesOnFailure guard(domain);
  domain.OpenDomain(parcel, nullptr, kOpenForGeneration);
  domain.WriteDomain(0);
  if (check) check(domain);
  domain.CloseDomain(&count, static_cast<std::uint16_t>(parcelRoom - 1), parcels.data());
  parcels.resize(count);
  return parcels;
}

}  // namespace morvit
