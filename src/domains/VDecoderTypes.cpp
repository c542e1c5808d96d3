// The fields of the decoder-table element types, read from the element-type table.
#include "morvit/VDecoderTypes.h"

#include "domains/CbxTypeTable.h"

namespace morvit {

bool CbxElementFields(std::int32_t typeIndex, VCbxElementFields* fields) {
  if (typeIndex < 0 || static_cast<std::size_t>(typeIndex) >= kCbxElementTypeCount) return false;
  const auto t = static_cast<std::size_t>(typeIndex);
  *fields = {CbxType(t).name, 0, {}};
  for (const CbxAddressType& address : CbxAddressTypes(t)) {
    if (address.code == kEnumTextsAddress) {
      fields->enumTexts = address.terminalCount;
      continue;
    }
    // Codes 1 to 8: two per area, the odd one the byte offset, the even one byte and bit.
    const std::size_t area = (address.code - 1u) / 2u;
    fields->offsets[area] = address.code % 2 == 1 ? 1 : 2;
  }
  return true;
}

bool CbxElementTypeRange(std::uint16_t domainType, std::size_t* first, std::size_t* end) {
  if (domainType != 114 && domainType != 115) return false;
  *first = domainType == 114 ? 0 : kCbxFirstPardatType;
  *end = domainType == 114 ? kCbxFirstPardatType : kCbxElementTypeCount;
  return true;
}

}  // namespace morvit
