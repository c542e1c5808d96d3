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
#include <string>

#include "morvit/VDataSet.h"

namespace morvit {

namespace {

constexpr std::uint16_t kOpenWord = VBASE_ANY_WORD;
constexpr std::uint16_t kOpenType = VBASE_ANY_TYPE;

// `value` in `digits` decimal places, or '?' in each place when the field is open. A value
// over `max` cannot be named: the failure says which `field` and why.
void PutField(char* out, unsigned digits, std::uint16_t value, bool open, std::uint16_t max,
              const char* field) {
  if (open) {
    std::fill(out, out + digits, '?');
    return;
  }
  if (value > max) {
    throw CFileException(CFileException::badPath, -1, CString(),
                         CString("the ") + field + " " + std::to_string(value) +
                             " does not fit a data-set name (at most " + std::to_string(max) + ")");
  }
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
    if (code == nullptr) {
      throw CFileException(CFileException::badPath, -1, CString(),
                           "the domain type " + std::to_string(parcel.domainType) +
                               " has no data-set code, so its files cannot be named");
    }
    name[0] = code[0];
    name[1] = code[1];
  }
  PutField(name + 2, 2, parcel.scope, parcel.scope == kOpenType, kMaxDataSetScope, "scope");
  PutField(name + 4, 4, parcel.version, parcel.version == kOpenWord, kMaxDataSetVersion, "version");
  name[8] = '.';
  name[9] = 'C';
  PutField(name + 10, 2, parcel.objectNumber, parcel.objectNumber == kOpenWord,
           kMaxDataSetObjectNumber, "object number");
  return CString(name, kDataSetNameLength);
}

}  // namespace morvit
