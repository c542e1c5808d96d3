// The inventory of a data set and the verdicts its headers give: a REBA of two compressed parts
// and a NOBA of one file, each row one damage and what the inventory must say of every file.
#include "files/DataSetInventory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "fixtures/DomainBuilders.h"
#include "fixtures/DomainFiles.h"
#include "fixtures/FakeHost.h"
#include "fixtures/FaultSweep.h"
#include "fixtures/TestUtil.h"
#include "morvit/VDataSet.h"

namespace morvit {

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

void Change(const std::string& file,
            std::initializer_list<std::pair<std::size_t, std::uint8_t>> at) {
  Bytes bytes = testutil::ReadWholeFile(file);
  for (const auto& [offset, value] : at) bytes.at(offset) = value;
  testutil::WriteWholeFile(file, bytes);
}

// Every domain with its parts and verdict, every other file with its role.
std::vector<std::string> Describe(const std::string& dir) {
  std::vector<std::string> lines;
  const VDataSetInventory inventory = VReadDataSet(dir);
  for (const VDataSetDomain& d : inventory.domains) {
    std::string parts;
    for (const std::string& p : d.parts) parts += (p.empty() ? "-" : p) + " ";
    lines.push_back(d.file + " " + (d.type ? d.type->name : "?") + " [" + parts + "] " +
                    VDescribeVerdict(d));
  }
  for (const VDataSetFile& f : inventory.others) {
    lines.push_back(f.name + " " + std::to_string(static_cast<int>(f.role)) + " " + f.note);
  }
  return lines;
}

struct Row {
  const char* what;
  std::function<void(const std::string& dir)> damage;
  std::vector<std::string> expected;
};

TEST(DataSetInventory, EachDamageHasItsVerdictFileAndOffset) {
  testutil::CurrentDirectoryGuard cwd;
  testutil::FakeHost host;
  testutil::ScopedHost scoped{host};
  const std::string dir = host.DataDirectory();
  ASSERT_EQ(testutil::GenerateThroughC(testutil::DomainParcel(46, 1, 1), testutil::BaseEntries(720))
                .finishStatus,
            1);
  ASSERT_EQ(
      testutil::GenerateThroughC(testutil::DomainParcel(3, 1, 1), {testutil::NobaText("PUMP", 4)})
          .finishStatus,
      1);
  const testutil::DirectoryImage image = testutil::ImageOf(dir);
  const std::string reba = "RB000001.C01 REBA [RB000001.C01 RB010001.C01 ] ";
  const std::string noba = "NB000001.C01 NOBA [NB000001.C01 ] sound";
  const Row rows[] = {
      {"sound", [](const std::string&) {}, {noba, reba + "sound"}},
      {"a lower-case name is the same domain",
       [](const std::string& d) {
         // In two steps: a host whose names ignore case may keep the old case on a direct rename.
         fs::rename(d + "RB010001.C01", d + "renamed");
         fs::rename(d + "renamed", d + "rb010001.c01");
       },
       {noba, "RB000001.C01 REBA [RB000001.C01 rb010001.c01 ] sound"}},
      {"length word beyond the file",
       [](const std::string& d) {
         Change(d + "NB000001.C01", {{0, 0x40}});
       },
       {"NB000001.C01 NOBA [NB000001.C01 ] damaged: its header counts 16478 bytes, the file has "
        "1024 (NB000001.C01, byte 0)",
        reba + "sound"}},
      {"type byte",
       [](const std::string& d) {
         Change(d + "NB000001.C01", {{2, 0xEE}});
       },
       {"NB000001.C01 NOBA [NB000001.C01 ] damaged: its header says type 238, its name NOBA "
        "(type 3) (NB000001.C01, byte 2)",
        reba + "sound"}},
      {"scope byte",
       [](const std::string& d) {
         Change(d + "NB000001.C01", {{3, 0x07}});
       },
       {"NB000001.C01 NOBA [NB000001.C01 ] damaged: its header says scope 7, its name scope 0 "
        "(NB000001.C01, byte 3)",
        reba + "sound"}},
      {"padding",
       [](const std::string& d) {
         Change(d + "NB000001.C01", {{1000, 0x01}});
       },
       {"NB000001.C01 NOBA [NB000001.C01 ] damaged: a byte that is not padding behind the 94 "
        "bytes its header counts (NB000001.C01, byte 1000)",
        reba + "sound"}},
      {"part count of a later part",
       [](const std::string& d) {
         Change(d + "RB010001.C01", {{17, 0x02}});
       },
       {noba, reba + "damaged: its compress header counts 3 parts, RB000001.C01 counts 2 "
                     "(RB010001.C01, byte 16)"}},
      {"a missing part",
       [](const std::string& d) { fs::remove(d + "RB010001.C01"); },
       {noba,
        "RB000001.C01 REBA [RB000001.C01 - ] incomplete: its part RB010001.C01 is missing "
        "(RB010001.C01)"}},
      {"a missing first part",
       [](const std::string& d) { fs::remove(d + "RB000001.C01"); },
       {noba,
        "RB010001.C01 REBA [RB010001.C01 ] incomplete: its first part RB000001.C01 is missing "
        "(RB010001.C01)"}},
      {"a stale part the first part does not count",
       [](const std::string& d) {
         fs::copy_file(d + "RB010001.C01", d + "RB020001.C01");
         Change(d + "RB020001.C01", {{3, 2}, {15, 2}, {17, 2}});
       },
       {noba, reba + "sound",
        "RB020001.C01 REBA [RB020001.C01 ] stale: a later part of RB000001.C01, which counts "
        "fewer parts (RB020001.C01)"}},
      {"staging file, journal, orphan sibling and foreign file",
       [](const std::string& d) {
         testutil::WriteWholeFile(d + "NB000001.C01~1", {1});
         testutil::WriteWholeFile(d + "NB000001.C01~journal.new", {1});
         testutil::WriteWholeFile(d + "CA000001.X01", {1});
         testutil::WriteWholeFile(d + "notes.txt", {1});
       },
       // The journal that was never finished is dropped: its generation had decided nothing.
       {noba, reba + "sound", "CA000001.X01 6 its domain file CA000001.C01 is missing",
        "NB000001.C01~1 3 left by a generation that did not finish; the next generation of its "
        "domain removes it",
        "notes.txt 7 not a data-set name"}},
      {"an unknown code",
       [](const std::string& d) { testutil::WriteWholeFile(d + "QQ000001.C01", {1}); },
       {noba,
        "QQ000001.C01 ? [QQ000001.C01 ] unknown type: no domain type has the code QQ "
        "(QQ000001.C01)",
        reba + "sound"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    testutil::RestoreImage(dir, image);
    row.damage(dir);
    EXPECT_EQ(Describe(dir), row.expected);
  }
}

}  // namespace

}  // namespace morvit
