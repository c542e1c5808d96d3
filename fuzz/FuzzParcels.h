// The parcel the fuzz targets write and read their domain files under: object 1, class 'C',
// version 1, scope 0 unless another part file is meant.
#ifndef MORVIT_FUZZ_FUZZPARCELS_H
#define MORVIT_FUZZ_FUZZPARCELS_H

#include <cstdint>

#include "morvit/VBase.h"

namespace morvit::fuzzing {

inline ObjParcelType DomainParcel(std::uint16_t type, std::uint16_t scope = 0) {
  ObjParcelType parcel{};
  parcel.objectNumber = 1;
  parcel.classLetter = 'C';
  parcel.domainType = type;
  parcel.scope = scope;
  parcel.version = 1;
  return parcel;
}

}  // namespace morvit::fuzzing

#endif  // MORVIT_FUZZ_FUZZPARCELS_H
