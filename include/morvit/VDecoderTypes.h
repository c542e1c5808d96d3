// What an element description of the decoder-table domains (CbD, CbP) can hold, by element
// type: a client that builds descriptions (the command-line tool, for one) checks its values
// against it before inserting them, since the domain keeps only the fields its element type
// carries and drops the rest without a word.
#ifndef MORVIT_VDECODERTYPES_H
#define MORVIT_VDECODERTYPES_H

#include <array>
#include <cstddef>
#include <cstdint>

#include "morvit/platform.h"

namespace morvit {

// The memory areas of the offsets, in the order of TCbxElement.
enum class VCbxArea : std::uint8_t { kColo, kCole, kCopm, kCoda };

// What a description of one element type carries.
struct VCbxElementFields {
  const char* typeName;   // "DAT(B)" ... "PARDAT(R)"
  std::size_t enumTexts;  // enumeration texts (0 to 2)
  // Per area (VCbxArea order): 0 no offset, 1 the byte offset, 2 the byte and bit offsets.
  std::array<std::uint8_t, 4> offsets;
};

// The fields of element type `typeIndex` (0 to 15); false when there is no such type.
MORVIT_API bool CbxElementFields(std::int32_t typeIndex, VCbxElementFields* fields);

// The element types a domain of `domainType` declares, [first, end): 0 to 7 for a CbD (114),
// 7 to 16 for a CbP (115); false for any other domain type.
MORVIT_API bool CbxElementTypeRange(std::uint16_t domainType, std::size_t* first, std::size_t* end);

}  // namespace morvit

#endif  // MORVIT_VDECODERTYPES_H
