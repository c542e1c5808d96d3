// VDomainPath: parcels built for lookups, version numbers from data-set names, and the
// resolution of parcels to files, with the newest-file search for open parcels.
#include "morvit/VDomainPath.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "fixtures/FakeHost.h"
#include "fixtures/TestPlatform.h"
#include "fixtures/TestUtil.h"

namespace morvit {

namespace {

using testutil::CurrentDirectoryGuard;

class DomainPathTest : public ::testing::Test {
 protected:
  // A parcel of the CODA type (data-set code "CA"), object 1, with nothing open.
  static ObjParcelType FixedParcel() {
    ObjParcelType parcel{};
    VDomainPath().GenParcel(17, 0, 3, 1, parcel);
    return parcel;
  }

  void Touch(const CString& name) { testutil::WriteWholeFile(host.DataDirectory() + name, {0}); }

  testutil::FakeHost host;
  testutil::ScopedHost scoped{host};
  CurrentDirectoryGuard cwd;
};

TEST(DomainPathGenParcel, FillsTheLookupFieldsAndLeavesTheRest) {
  ObjParcelType parcel;
  std::memset(&parcel, 0x5A, sizeof parcel);
  VDomainPath().GenParcel(44, 2, 0x0102, parcel);
  EXPECT_EQ(parcel.objectNumber, 0xFFFE);
  EXPECT_EQ(parcel.classLetter, 'C');
  EXPECT_EQ(parcel.lookupMark, 0);
  EXPECT_EQ(parcel.domainType, 44);
  EXPECT_EQ(parcel.scope, 2);
  EXPECT_EQ(parcel.version, 0x0102);
  const auto* bytes = reinterpret_cast<const unsigned char*>(&parcel);
  for (std::size_t i = 10; i < sizeof parcel; ++i) EXPECT_EQ(bytes[i], 0x5A) << "byte " << i;

  VDomainPath().GenParcel(44, 2, 0x0102, 7, parcel);
  EXPECT_EQ(parcel.objectNumber, 7);
}

TEST(DomainPathGetVersion, ReadsTheNumbersAtCharactersFourAndEleven) {
  struct Case {
    const char* name;
    std::uint16_t first;
    std::uint16_t second;
  };
  const Case cases[] = {
      {"ABCD0012.C03", 12, 3},
      {"ab010203.c47", 203, 7},
      {"ABCD12.C0345", 12, 5},     // each number ends at the first non-digit
      {"ABCD0012.C03456", 12, 3},  // only 12 characters count
      {"ABCD", 0, 0},              // nothing there reads as 0
      {"ABCDX012.C0Y", 0, 0},      // a non-digit at once
      {"ABCD99999999", 65535, 9},
  };
  for (const Case& c : cases) {
    std::uint16_t first = 1;
    std::uint16_t second = 1;
    VDomainPath().GetVersion(c.name, first, second);
    EXPECT_EQ(first, c.first) << c.name;
    EXPECT_EQ(second, c.second) << c.name;
  }
}

TEST_F(DomainPathTest, FixedParcelIsTheDirectoryAndTheDataSetName) {
  const ObjParcelType parcel = FixedParcel();
  EXPECT_EQ(VDomainPath().FindFile(parcel), host.DataDirectory() + "CA000003.C01");
  ASSERT_FALSE(host.lookups.empty());
  EXPECT_EQ(host.lookups.back().lookupMark, 'M');
  EXPECT_EQ(parcel.lookupMark, 0);
}

TEST_F(DomainPathTest, OpenVersionFindsTheNewestFileWithoutRegardToCase) {
  Touch("CA000001.C01");
  Touch("ca000002.c01");  // sorts last if case counted
  Touch("CA000010.C01");
  Touch("CA000011.C02");  // another object
  ObjParcelType parcel = FixedParcel();
  parcel.version = 0xFFFE;
  EXPECT_EQ(VDomainPath().FindFile(parcel), host.DataDirectory() + "CA000010.C01");
  EXPECT_EQ(testutil::LibraryForm(std::filesystem::canonical(std::filesystem::current_path())),
            testutil::LibraryForm(std::filesystem::canonical(host.DataDirectory())));
}

TEST_F(DomainPathTest, EveryOpenFieldSelectsTheSearch) {
  Touch("CA000003.C01");
  const CString expected = host.DataDirectory() + "CA000003.C01";
  const struct {
    const char* field;
    void (*open)(ObjParcelType&);
  } rows[] = {
      {"object number", [](ObjParcelType& p) { p.objectNumber = 0xFFFE; }},
      {"version", [](ObjParcelType& p) { p.version = 0xFFFE; }},
      {"type", [](ObjParcelType& p) { p.domainType = 254; }},
      {"scope", [](ObjParcelType& p) { p.scope = 254; }},
  };
  for (const auto& row : rows) {
    // Taken as fixed, the parcel would give a name with wildcards in it.
    ObjParcelType parcel = FixedParcel();
    row.open(parcel);
    EXPECT_EQ(VDomainPath().FindFile(parcel), expected) << row.field;
  }
}

TEST_F(DomainPathTest, OpenParcelWithoutMatchIsFileNotFound) {
  Touch("CA000001.C02");
  ObjParcelType parcel = FixedParcel();
  parcel.version = 0xFFFE;
  EXPECT_CAUSE(VDomainPath().FindFile(parcel), CFileException::fileNotFound);
}

// A host whose data-set directory does not exist.
class MissingDirectoryHost : public testutil::FakeHost {
 public:
  CString DataSetDirectory(const ObjParcelType&) override { return DataDirectory() + "absent/"; }
};

TEST(DomainPathSearch, MissingDirectoryIsFileNotFoundNotAFileOfTheCurrentDirectory) {
  MissingDirectoryHost host;
  testutil::ScopedHost scoped(host);
  CurrentDirectoryGuard cwd;
  // A matching file in the current directory must not be taken for the parcel's.
  std::filesystem::current_path(host.DataDirectory());
  testutil::WriteWholeFile(host.DataDirectory() + "CA000001.C01", {0});
  ObjParcelType parcel{};
  VDomainPath().GenParcel(17, 0, 0xFFFE, 1, parcel);
  EXPECT_CAUSE(VDomainPath().FindFile(parcel), CFileException::fileNotFound);
}

}  // namespace

}  // namespace morvit
