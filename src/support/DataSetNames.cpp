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

namespace morvit {

namespace {

// In ascending type order. Codes are two letters or digits and unique.
constexpr DataSetTypeCode kTypeCodes[] = {
    {1, "CN"},    // CNOD, node description
    {3, "NB"},    // NOBA
    {17, "CA"},   // CODA, configuration data
    {18, "CC"},   // CODC
    {19, "CL"},   // COLO
    {20, "CE"},   // COLE; the sort parcel of the database back-translation
    {22, "CY"},   // CODY
    {23, "CU"},   // CODU
    {26, "CI"},   // COIO, I/O configuration
    {27, "CK"},   // COIC, I/O configuration changes
    {33, "RD"},   // REDE, resource description
    {34, "RC"},   // REDC
    {35, "RL"},   // RELO
    {44, "RN"},   // RNOD, node description of the other node kind
    {46, "RB"},   // REBA, resource base
    {49, "TD"},   // TADE, task description
    {65, "PD"},   // PODE, program description
    {66, "PC"},   // PODC
    {67, "PO"},   // POLO
    {70, "PY"},   // PODY
    {71, "PU"},   // PODU
    {74, "PF"},   // POFO
    {78, "PB"},   // POBA, program base
    {96, "AI"},   // BAID
    {97, "AO"},   // BAOD
    {98, "DI"},   // BDID
    {99, "DO"},   // BDOD
    {100, "MB"},  // BMBD
    {101, "MI"},  // BMID
    {102, "ML"},  // BMLD
    {103, "MR"},  // BMRD
    {112, "BC"},  // BOBC
    {114, "AD"},  // CbD, decoder table of the DAT elements (CBAD)
    {115, "AP"},  // CbP, decoder table of the PARDAT elements (CBAP)
    {116, "B1"},  // BOBA
    {117, "B2"},  // BOBA
    {118, "B3"},  // BOBA
    {119, "XC"},  // XBFI of a CNOD
    {120, "XR"},  // XBFI of an RNOD
};

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

std::span<const DataSetTypeCode> DataSetTypeCodes() { return kTypeCodes; }

const char* FindDataSetTypeCode(std::uint16_t domainType) {
  const auto* found = std::lower_bound(
      std::begin(kTypeCodes), std::end(kTypeCodes), domainType,
      [](const DataSetTypeCode& row, std::uint16_t t) { return row.domainType < t; });
  return found != std::end(kTypeCodes) && found->domainType == domainType ? found->code : nullptr;
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
