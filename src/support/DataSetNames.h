// The data-set naming rule: the 12-character 8.3 name of a parcel's domain file,
// TTSSVVVV.COO (type code, scope, version, object number), with wildcards for open fields.
#ifndef MORVIT_SUPPORT_DATASETNAMES_H
#define MORVIT_SUPPORT_DATASETNAMES_H

#include <cstdint>
#include <span>

#include "morvit/VBase.h"
#include "morvit/platform.h"

namespace morvit {

// Length of a data-set name: 8 characters, '.', 'C' and the two object-number digits.
inline constexpr std::size_t kDataSetNameLength = 12;

// Largest values the fixed-width decimal fields can hold.
inline constexpr std::uint16_t kMaxDataSetScope = 99;
inline constexpr std::uint16_t kMaxDataSetVersion = 9999;
inline constexpr std::uint16_t kMaxDataSetObjectNumber = 99;

// The two-character code of a domain type (the table of morvit/VDataSet.h), or null when the
// type has none.
const char* FindDataSetTypeCode(std::uint16_t domainType);

// The data-set name of `parcel`: "??" for an open type or scope (254), "????" for an open
// version (0xFFFE), "??" for an open object number (0xFFFE). A field that does not fit its
// width, or a type without a code, raises CFileException with cause badPath: a name that is
// wrong or that another parcel also has is never made.
CString MakeDataSetName(const ObjParcelType& parcel);

}  // namespace morvit

#endif  // MORVIT_SUPPORT_DATASETNAMES_H
