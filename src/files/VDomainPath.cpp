// VDomainPath: parcels to domain file paths through the host's data-set naming, with the
// search for the newest file when a parcel leaves fields open.
#include "morvit/VDomainPath.h"

#include <algorithm>
#include <array>

#include "files/StagedFiles.h"
#include "support/GFileDir.h"
#include "support/HostServices.h"
#include "util/GPath.h"

using namespace morvit;

namespace morvit {
namespace {

// A data-set name is an 8.3 name: 12 characters.
constexpr std::size_t kDataSetNameLength = 12;
// Where GetVersion finds its two numbers in a data-set name.
constexpr std::size_t kFirstNumberAt = 4;
constexpr std::size_t kSecondNumberAt = 11;
// The lookups of the naming service receive the parcel with this mark in byte 3.
constexpr std::uint8_t kLookupMark = 'M';
constexpr std::uint8_t kBuiltClassLetter = 'C';
// Directory search mask: ordinary files.
constexpr unsigned kSearchPlainFiles = 0;

bool HasOpenField(const ObjParcelType& parcel) {
  return parcel.objectNumber == VBASE_ANY_WORD || parcel.version == VBASE_ANY_WORD ||
         parcel.domainType == VBASE_ANY_TYPE || parcel.scope == VBASE_ANY_TYPE;
}

// Byte-wise comparison without regard to the case of ASCII letters; bytes above 0x7F (the
// lead and trail bytes of multibyte characters) compare by value.
int CompareNoCase(const CString& a, const CString& b) {
  const auto fold = [](unsigned char c) { return (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c; };
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const int diff =
        fold(static_cast<unsigned char>(a[i])) - fold(static_cast<unsigned char>(b[i]));
    if (diff != 0) return diff;
  }
  return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

// The unsigned decimal number at `at` in a zero-terminated name buffer, ending at the first
// non-digit; a number too large for 16 bits is held at 65535 rather than wrapped to a
// plausible-looking smaller version.
std::uint16_t DecimalAt(const std::array<char, kDataSetNameLength + 1>& name, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = at; i < kDataSetNameLength && name[i] >= '0' && name[i] <= '9'; ++i) {
    value = std::min<std::uint32_t>(value * 10 + static_cast<std::uint32_t>(name[i] - '0'), 0xFFFF);
  }
  return static_cast<std::uint16_t>(value);
}

// The newest file in the current directory that matches `pattern`: the name that compares
// greatest without regard to case; empty when nothing matches.
CString NewestMatch(const CString& pattern) {
  CString newest;
  GFileDir search;
  CString entry = pattern;
  for (bool found = search.FindFirst(entry, kSearchPlainFiles); found;
       found = search.FindNext(entry)) {
    if (CompareNoCase(entry, newest) > 0) newest = entry;
  }
  search.FindClose();
  return newest;
}

}  // namespace
}  // namespace morvit

VDomainPath::~VDomainPath() = default;

void VDomainPath::GenParcel(std::uint16_t type, std::uint16_t scope, std::uint16_t version,
                            ObjParcelType& parcel) {
  GenParcel(type, scope, version, VBASE_ANY_WORD, parcel);
}

void VDomainPath::GenParcel(std::uint16_t type, std::uint16_t scope, std::uint16_t version,
                            std::uint16_t objectNumber, ObjParcelType& parcel) {
  parcel.objectNumber = objectNumber;
  parcel.classLetter = kBuiltClassLetter;
  parcel.lookupMark = 0;
  parcel.domainType = type;
  parcel.scope = scope;
  parcel.version = version;
}

void VDomainPath::GetVersion(const CString& name, std::uint16_t& first, std::uint16_t& second) {
  std::array<char, kDataSetNameLength + 1> buffer{};
  name.copy(buffer.data(), kDataSetNameLength);
  first = DecimalAt(buffer, kFirstNumberAt);
  second = DecimalAt(buffer, kSecondNumberAt);
}

CString VDomainPath::FindFile(const ObjParcelType& parcel) {
  ObjParcelType lookup = parcel;
  lookup.lookupMark = kLookupMark;
  const CString directory = Host().DataSetDirectory(lookup);
  const CString name = Host().DataSetName(lookup).substr(0, kDataSetNameLength);
  if (!HasOpenField(parcel)) {
    staging::RollForward(directory + name);
    // Names compare without regard to case, as in the search below: a file whose name differs
    // from the parcel's only in case is the parcel's file.
    if (!staging::FileExists(directory + name)) {
      const CString found = staging::NameInAnyCase(directory, name);
      if (!found.empty()) return directory + found;
    }
    return directory + name;
  }

  // The search runs in the data-set directory, which becomes the process's current
  // directory. A directory that cannot be made current holds no match: searching the old
  // current directory instead would hand back the name of some other file.
  GPath where(directory, 0);
  const CString newest = where.ChangeDirectory() ? NewestMatch(name) : CString();
  if (newest.empty()) AfxThrowFileException(CFileException::fileNotFound, -1, directory + name);
  staging::RollForward(directory + newest);
  return directory + newest;
}
