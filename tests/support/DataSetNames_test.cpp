// The data-set naming rule: exact names, wildcards for open fields, version order, the
// properties the dump relies on, and refusal of parcels whose fields do not fit.
#include "support/DataSetNames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>
#include <vector>

#include "fixtures/TestUtil.h"
#include "morvit/VDataSet.h"
#include "support/GFileDir.h"

namespace morvit {

namespace {

ObjParcelType Parcel(std::uint16_t type, std::uint16_t scope, std::uint16_t version,
                     std::uint16_t object) {
  ObjParcelType parcel{};
  parcel.domainType = type;
  parcel.scope = scope;
  parcel.version = version;
  parcel.objectNumber = object;
  parcel.classLetter = 'C';
  parcel.lookupMark = 'M';
  return parcel;
}

struct NameCase {
  const char* what;
  ObjParcelType parcel;
  const char* expected;
};

TEST(DataSetName, FieldsInTheirPlaces) {
  const NameCase cases[] = {
      {"all fields set", Parcel(3, 0, 1, 1), "NB000001.C01"},
      {"wide fields", Parcel(78, 12, 9999, 99), "PB129999.C99"},
      {"continuation file", Parcel(114, 1, 42, 7), "AD010042.C07"},
      {"open object number", Parcel(1, 0, 5, 0xFFFE), "CN000005.C??"},
      {"open version", Parcel(44, 0, 0xFFFE, 3), "RN00????.C03"},
      {"open type", Parcel(254, 0, 1, 1), "??000001.C01"},
      {"open scope", Parcel(49, 254, 1, 1), "TD??0001.C01"},
      {"everything open", Parcel(254, 254, 0xFFFE, 0xFFFE), "????????.C??"},
  };
  for (const NameCase& c : cases) EXPECT_EQ(MakeDataSetName(c.parcel), c.expected) << c.what;
}

TEST(DataSetName, FieldsThatDoNotFitAreRefused) {
  const NameCase cases[] = {
      {"object number 100", Parcel(3, 0, 1, 100), nullptr},
      {"object number 0xFFFF", Parcel(3, 0, 1, 0xFFFF), nullptr},
      {"scope 100", Parcel(3, 100, 1, 1), nullptr},
      {"scope 255", Parcel(3, 255, 1, 1), nullptr},
      {"version 10000", Parcel(3, 0, 10000, 1), nullptr},
      {"version 0xFFFF", Parcel(3, 0, 0xFFFF, 1), nullptr},
      {"type without a code", Parcel(2, 0, 1, 1), nullptr},
      {"type 0", Parcel(0, 0, 1, 1), nullptr},
      {"type 255", Parcel(255, 0, 1, 1), nullptr},
  };
  for (const NameCase& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_CAUSE(MakeDataSetName(c.parcel), CFileException::badPath);
  }
}

// Every type the library's domains use has a name that the dump lists in CODE mode: letters
// or digits, never "PL", digits in places 2 and 3 ('0' in place 3 for scope 0).
TEST(DataSetName, TypeCodesAreUniqueAndKeepTheDumpInCodeMode) {
  std::set<std::string> codes;
  for (const VDomainType& row : VDomainTypes()) {
    const std::string code = row.code;
    ASSERT_EQ(code.size(), 2u) << row.number;
    EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(code[0])) &&
                std::isalnum(static_cast<unsigned char>(code[1])))
        << code;
    EXPECT_NE(code, "PL");
    EXPECT_TRUE(codes.insert(code).second) << "code used twice: " << code;
    const CString name = MakeDataSetName(Parcel(row.number, 0, 1, 1));
    EXPECT_EQ(name.substr(2, 2), "00") << name;
    EXPECT_EQ(name.substr(0, 2), code);
  }
  const std::uint16_t used[] = {1,  3,  17, 20,  26,  33,  35,  44,  46,  49,  65,  67,  78,  96,
                                97, 98, 99, 100, 101, 102, 103, 114, 115, 116, 117, 118, 119, 120};
  for (std::uint16_t type : used) EXPECT_NE(FindDataSetTypeCode(type), nullptr) << type;
}

// Later versions sort after earlier ones without regard to case, and the wildcard form of an
// open version matches every version's name and no other domain's.
TEST(DataSetName, VersionsSortInOrderAndMatchTheirWildcard) {
  const std::uint16_t versions[] = {0, 1, 9, 10, 99, 100, 1000, 9999};
  std::vector<CString> names;
  for (std::uint16_t v : versions) names.push_back(MakeDataSetName(Parcel(46, 0, v, 2)));
  EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
  const CString pattern = MakeDataSetName(Parcel(46, 0, 0xFFFE, 2));
  for (const CString& name : names) EXPECT_TRUE(MatchesWildcard(pattern, name)) << name;
  EXPECT_FALSE(MatchesWildcard(pattern, MakeDataSetName(Parcel(78, 0, 1, 2))));
  EXPECT_FALSE(MatchesWildcard(pattern, MakeDataSetName(Parcel(46, 1, 1, 2))));
  EXPECT_FALSE(MatchesWildcard(pattern, MakeDataSetName(Parcel(46, 0, 1, 3))));
}

}  // namespace

}  // namespace morvit
