// VDomainPath: turns a parcel into the full path of its domain file, builds parcels for
// domain lookups and reads the version numbers out of a data-set file name.
#ifndef MORVIT_VDOMAINPATH_H
#define MORVIT_VDOMAINPATH_H

#include <cstdint>

#include "morvit/VBase.h"
#include "morvit/platform.h"

class MORVIT_API VDomainPath : public CObject {
 public:
  VDomainPath() = default;
  ~VDomainPath() override;

  // Fills type, scope and version, sets the object number to "any", the class letter to 'C'
  // and the lookup mark to 0; the rest of the parcel stays as it was.
  void GenParcel(std::uint16_t type, std::uint16_t scope, std::uint16_t version,
                 ObjParcelType& parcel);
  // The same with a given object number.
  void GenParcel(std::uint16_t type, std::uint16_t scope, std::uint16_t version,
                 std::uint16_t objectNumber, ObjParcelType& parcel);

  // The two numbers of a data-set name: the decimal number from character 4 (the version)
  // and the one from character 11, each ending at the first non-digit. Only the first 12
  // characters count; a missing or empty number reads as 0, one above 65535 as 65535.
  void GetVersion(const CString& name, std::uint16_t& first, std::uint16_t& second);

  // The full path of the parcel's domain file. A parcel with open fields resolves to the
  // newest matching file of its data-set directory, which stays the process's current
  // directory afterwards; file-not-found when nothing matches.
  CString FindFile(const ObjParcelType& parcel);
};

#endif  // MORVIT_VDOMAINPATH_H
