// Generation of a domain that a writer has filled (the configuration and PC program writers):
// opened for generation, written and closed as the manager does.
#ifndef MORVIT_DOMAINS_WRITERGENERATION_H
#define MORVIT_DOMAINS_WRITERGENERATION_H

#include <cstdint>
#include <functional>
#include <vector>

#include "domains/VDomain.h"

namespace morvit {

// Generates `domain` under `parcel` and returns the parcels of its files (at most
// `parcelRoom`). `check` sees the written domain before it is closed and may refuse it by
// raising. Whatever fails, no file of the domain is left, not even under its staging name, and
// the failure is raised on; the files of other domains and earlier generations stay untouched.
std::vector<ObjParcelType> GenerateFilledDomain(
    VDomain& domain, const ObjParcelType& parcel, std::uint16_t parcelRoom,
    const std::function<void(VDomain&)>& check = nullptr);

}  // namespace morvit

#endif  // MORVIT_DOMAINS_WRITERGENERATION_H
