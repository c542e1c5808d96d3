// VBase_DumpDomain end to end: the class dump of the types that list themselves, in whatever
// directory the named file lies; nothing for the node-file lists; the driver for every other
// file; the name cut at its length; the listing switches set through the exports.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "fixtures/DomainBuilders.h"
#include "fixtures/DumpFiles.h"
#include "fixtures/DumpTest.h"
#include "fixtures/NodeFiles.h"
#include "morvit/VBase.h"

namespace morvit {

using namespace testutil;

namespace {

class DumpDomainTest : public DumpTest {
 protected:
  // VBase_DumpDomain on `path`, given exactly its characters (no terminator after them).
  static std::int16_t DumpPath(const std::string& path) {
    const std::vector<char> name(path.begin(), path.end());
    return VBase_DumpDomain(static_cast<std::uint16_t>(name.size()), name.data());
  }

  FakeHost host;
  ScopedHost scoped{host};
};

std::string FileText(const std::string& path) {
  const Bytes bytes = ReadWholeFile(path);
  return std::string(bytes.begin(), bytes.end());
}

TEST_F(DumpDomainTest, TypesWithAClassListThroughIt) {
  const TSectionInfo entry = Entry(7, {1, 2, 3, 4, 5}, "PUMP_1");
  ASSERT_EQ(GenerateThroughC(46, {entry}).finishStatus, VBASE_STATUS_OK);
  const char text[] = "hello";
  ASSERT_EQ(GenerateThroughC(3, {NobaText(text, 5)}).finishStatus, VBASE_STATUS_OK);
  // The domains are listed where they lie, also outside the host's data-set directory.
  for (const char* name : {"RB000001.C01", "NB000001.C01"}) {
    SCOPED_TRACE(name);
    std::filesystem::copy_file(host.DataDirectory() + name, dir.File(name));
    for (const std::string& path : {host.DataDirectory() + name, dir.File(name)}) {
      EXPECT_EQ(DumpPath(path), 1);
      std::string listing = path;
      listing[listing.size() - 3] = 'D';
      const std::string text = FileText(listing);
      // The listing lines of the domain class, with their labels; not a driver listing.
      EXPECT_NE(text.find("OffsetToLastByte"), std::string::npos);
      EXPECT_NE(text.find("Type/Scope"), std::string::npos);
      EXPECT_EQ(text.find("Offset to last Byte"), std::string::npos);
    }
  }
}

TEST_F(DumpDomainTest, NodeDomainsListThroughTheirClass) {
  PutNodeFile(host, kDirectoryTcData, "A.PE_", TextBytes("xyz"));
  ASSERT_EQ(
      GenerateThroughC(1, {NodeRecord({{4, 7, 0}, 4, 7, "lib", true, "dir\\*.PE_"})}).finishStatus,
      VBASE_STATUS_OK);
  EXPECT_EQ(DumpPath(host.DataDirectory() + "CN000001.C01"), 1);
  const std::string text = FileText(host.DataDirectory() + "CN000001.D01");
  EXPECT_NE(text.find("OffsetToLastByte"), std::string::npos);
  EXPECT_EQ(text.find("Offset to last Byte"), std::string::npos);
}

TEST_F(DumpDomainTest, NodeFileListsAreNotListed) {
  for (const char* name : {"XC000001.C01", "XR000001.C01"}) {
    SCOPED_TRACE(name);
    const std::uint8_t type = name[1] == 'C' ? 119 : 120;
    Write(name, CodeFile::Header(type, 0x0500).Build(1024));
    EXPECT_EQ(DumpPath(dir.File(name)), 1);
    EXPECT_FALSE(std::filesystem::exists(dir.File(std::string(name, 9) + "D01")));
  }
}

TEST_F(DumpDomainTest, OtherFilesGoToTheDriverInTheirDirectory) {
  const struct {
    const char* what;
    const char* name;
    Bytes file;
    std::string expected;  // in the driver's listing
  } rows[] = {
      {"a CODE-mode domain", "TD000001.C01", CodeFile::Header(49, 0x0500).Build(1024),
       "TADE, task_no"},
      {"a BOBA, whose class is not there yet", "B1000001.C01",
       CodeFile::Header(116, 0x0500).Build(1024), std::string(kDataSetLabel) + "B1000001.C01"},
      {"a REBA whose name is not its header's", "COPY0001.C01",
       CodeFile::Header(46, 0x0500).Build(1024), "Offset to last Byte "},
      {"a file shorter than a common header",
       "TD000002.C01",
       {0x00, 0x20, 0x31},
       "return from file_read (CODE):   -20"},
      {"a data table", "XXLO0001.C01", DataTable({{0, 0, 0, 0, 0, 0, 0, 0, 0}}),
       "index   iKey termId tcNo noBytes"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    Write(row.name, row.file);
    EXPECT_EQ(DumpPath(dir.File(row.name)), 1);
    const std::string listing = Text(std::string(row.name, 9) + "D01");
    EXPECT_NE(listing.find("Dump Domain Program\n"), std::string::npos);
    EXPECT_NE(listing.find(row.expected), std::string::npos) << listing;
  }
  EXPECT_EQ(DumpPath(dir.File("TD000009.C01")), 1);
  EXPECT_NE(Text("TD000009.D01").find("return from file_read (CODE):  -702"), std::string::npos);
}

TEST_F(DumpDomainTest, NameIsCutAtItsLength) {
  Write("TD000001.C01", CodeFile::Header(49, 0x0500).Build());
  const std::string path = dir.File("TD000001.C01");
  const std::string longer = path + "XYZ";
  EXPECT_EQ(VBase_DumpDomain(static_cast<std::uint16_t>(path.size()), longer.c_str()), 1);
  EXPECT_TRUE(std::filesystem::exists(dir.File("TD000001.D01")));
  EXPECT_EQ(VBase_DumpDomain(5, nullptr), 1);
  EXPECT_EQ(VBase_DumpDomain(0, "x"), 1);
}

TEST_F(DumpDomainTest, SwitchesActOnTheDriverListing) {
  Write("TD000001.C01", CodeFile::Header(49, 0x0500).Build());
  VBase_EnableLineNumbers(0);
  VBase_EnableTimeOutput(0);
  DumpPath(dir.File("TD000001.C01"));
  std::vector<std::string> lines = ReadLines(dir.File("TD000001.D01"));
  ASSERT_GT(lines.size(), 11u);
  EXPECT_EQ(lines[5], "Word         Bytes      Char ");
  EXPECT_EQ(lines[6], " Hex     Dec    Dec Dec ");
  EXPECT_EQ(lines[7], "   D      13       0  13   ..      Offset to last Byte ");
  EXPECT_EQ(lines[10], "   0       0       0   0   ..      Date                ");
  VBase_EnableLineNumbers(2);
  VBase_EnableTimeOutput(1);
  DumpPath(dir.File("TD000001.C01"));
  lines = ReadLines(dir.File("TD000001.D01"));
  EXPECT_EQ(lines[5], " Index       Word         Bytes      Char ");
  EXPECT_EQ(lines[10], "    6:   3587   13703      53 135   5.      Date          2026/12/7");
}

}  // namespace

}  // namespace morvit
