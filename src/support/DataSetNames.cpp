// The data-set naming rule TTSSVVVV.COO and its table of two-character type codes.
//
// Why this shape: fixed-width decimal fields make later versions sort after earlier ones; the
// two scope digits in places 2 and 3 keep every domain file in the dump's CODE mode (its other
// modes look for letters there) and put a '0' in place 3 for the first file of a domain; the
// dump reads the object number back from the two digits after the extension's letter. No code
// is "PL", the prefix of the dump's PC data tables.
#include "support/DataSetNames.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

#include "morvit/VDataSet.h"

namespace {

constexpr std::uint16_t kOpenWord = VBASE_ANY_WORD;
constexpr std::uint16_t kOpenType = VBASE_ANY_TYPE;

// `value` in `digits` decimal places, or '?' in each place when the field is open. A value
// over `max` cannot be named.
void PutField(char* out, unsigned digits, std::uint16_t value, bool open, std::uint16_t max) {
  if (open) {
    std::fill(out, out + digits, '?');
    return;
  }
  if (value > max) AfxThrowFileException(CFileException::badPath);
  for (unsigned i = digits; i-- > 0; value /= 10) out[i] = static_cast<char>('0' + value % 10);
}

}  // namespace

const char* FindDataSetTypeCode(std::uint16_t domainType) {
  const VDomainType* type = VFindDomainType(domainType);
  return type == nullptr ? nullptr : type->code;
}

CString MakeDataSetName(const ObjParcelType& parcel) {
  char name[kDataSetNameLength] = {};
  if (parcel.domainType == kOpenType) {
    name[0] = name[1] = '?';
  } else {
    const char* code = FindDataSetTypeCode(parcel.domainType);
    if (code == nullptr) AfxThrowFileException(CFileException::badPath);
    name[0] = code[0];
    name[1] = code[1];
  }
  PutField(name + 2, 2, parcel.scope, parcel.scope == kOpenType, kMaxDataSetScope);
  PutField(name + 4, 4, parcel.version, parcel.version == kOpenWord, kMaxDataSetVersion);
  name[8] = '.';
  name[9] = 'C';
  PutField(name + 10, 2, parcel.objectNumber, parcel.objectNumber == kOpenWord,
           kMaxDataSetObjectNumber);
  return CString(name, kDataSetNameLength);
}
