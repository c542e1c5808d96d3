// Status codes of the exported generation entries, and the one table from file-exception
// causes to them.
#ifndef MORVIT_INTERFACE_STATUS_H
#define MORVIT_INTERFACE_STATUS_H

#include <cstdint>

#include "morvit/VBase.h"

namespace morvit {

inline constexpr std::int16_t kStatusOk = VBASE_STATUS_OK;
inline constexpr std::int16_t kStatusFileFailure = VBASE_STATUS_FILE_FAILURE;

// The detailed status of VBase_PutFinishEx for a file exception's cause. A generic failure
// gives -100 minus the domain type of the first parcel of the caller's array, in 16-bit
// arithmetic.
std::int16_t StatusFromCause(int cause, const ObjParcelType* parcels);

}  // namespace morvit

#endif  // MORVIT_INTERFACE_STATUS_H
