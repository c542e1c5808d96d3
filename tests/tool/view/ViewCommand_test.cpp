// `morvit view`: what the site says about a data set (split domains, damaged and foreign
// files), text from files escaped in the site's data, and a data set that stays as it was.
// The pages themselves are tested in a browser (tests/browser).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "dataset/DataSetInventory.h"
#include "fixtures/TestUtil.h"
#include "tool/ToolRun.h"

namespace morvit {

namespace {

namespace fs = std::filesystem;
using tooltest::RunTool;

// A REBA of `entries` named entries: about 7,000 of them fill a part file.
void GenerateReba(const testutil::ScratchDir& dir, int version, int entries) {
  std::ofstream job(dir.File("job.json"));
  job << R"({"domains": [{"type": "REBA", "object": 1, "version": )" << version
      << R"(, "time": "2026-12-07 08:30:00", "records": [)";
  for (int i = 0; i < entries; ++i) {
    job << (i ? "," : "") << R"({"entry": {"key": )" << i % 65536 << R"(, "values": [)" << i
        << R"(, 1, 2, 3, 4], "name": "ENTRY_)" << i << R"(_OF_A_LONGER_NAME"}})";
  }
  job << "]}]}";
  job.close();
  ASSERT_EQ(RunTool(dir.path(), "generate job.json --data data").status, 0);
}

std::map<std::string, std::vector<std::uint8_t>> Snapshot(const fs::path& directory) {
  std::map<std::string, std::vector<std::uint8_t>> files;
  for (const auto& entry : fs::directory_iterator(directory))
    files[entry.path().filename().string()] = testutil::ReadWholeFile(entry.path().string());
  return files;
}

TEST(ViewCommand, InventoryJoinsPartsNewestFirstAndNamesTheDamage) {
  testutil::ScratchDir dir;
  GenerateReba(dir, 1, 20000);
  GenerateReba(dir, 2, 20000);
  const fs::path data = dir.File("data");
  ASSERT_TRUE(fs::exists(data / "RB010002.C01") && fs::exists(data / "RB020001.C01"));
  fs::remove(data / "RB010002.C01");
  testutil::WriteWholeFile((data / "RB000003.C01").string(), {0x00, 0x20, 46, 0, 0, 3});
  testutil::WriteWholeFile(
      (data / "RB000004.C01").string(),
      std::vector<std::uint8_t>{0x03, 0xFF, 49, 0, 0, 4, 0, 0, 0, 0, 0, 0, 1, 0});
  testutil::WriteWholeFile(
      (data / "RB000005.C01").string(),
      std::vector<std::uint8_t>{0x04, 0x00, 46, 0, 0, 5, 0, 0, 0, 0, 0, 0, 1, 0});
  testutil::WriteWholeFile((data / "notes.c").string(), {'h', 'i'});

  const auto domains = morvit::tool::ReadInventory(data);
  std::vector<std::string> seen;
  for (const auto& d : domains) {
    seen.push_back(d.file.filename().string() + " " + d.typeName + " v" +
                   std::to_string(d.version) + " parts " + std::to_string(d.parts.size()) + ": " +
                   d.headerProblem);
  }
  const std::vector<std::string> expected = {
      "RB000005.C01 REBA v5 parts 1: damaged: its header counts 1025 bytes, the file has 14 "
      "(RB000005.C01, byte 0)",
      "RB000004.C01 REBA v4 parts 1: damaged: its header says type 49, its name REBA (type 46) "
      "(RB000004.C01, byte 2)",
      "RB000003.C01 REBA v3 parts 1: damaged: cut short: 6 bytes, shorter than its common header "
      "(RB000003.C01, byte 0)",
      "RB000002.C01 REBA v2 parts 3: incomplete: its part RB010002.C01 is missing (RB010002.C01)",
      "RB000001.C01 REBA v1 parts 3: ",
      "notes.c ? v0 parts 1: not a data-set name (TTSSVVVV.COO): no domain of this data set",
  };
  EXPECT_EQ(seen, expected);
}

TEST(ViewCommand, LeavesTheDataSetAsItWasAndRefusesUnsafeTargets) {
  testutil::ScratchDir dir;
  GenerateReba(dir, 1, 12000);
  fs::create_directories(dir.File("other"));
  testutil::WriteWholeFile(dir.File("other/keep.txt"), {'k'});
  const auto before = Snapshot(dir.File("data"));
  const auto run = RunTool(dir.path(), "view data -o site");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "1 domains (0 damaged) -> " + dir.File("site/index.html") + "\n");
  EXPECT_EQ(Snapshot(dir.File("data")), before);
  EXPECT_EQ(RunTool(dir.path(), "view data -o site").status, 0) << "a site is written over";

  const std::pair<const char*, const char*> refused[] = {
      {"view data -o data/site", "the site may not go into the data set, nor hold it"},
      {"view data -o .", "the site may not go into the data set, nor hold it"},
      {"view data -o other", "exists and is not a site of morvit view"},
      {"view absent", "absent: not a directory"},
  };
  for (const auto& [arguments, message] : refused) {
    const auto result = RunTool(dir.path(), arguments);
    EXPECT_EQ(result.status, 1) << arguments;
    EXPECT_NE(result.err.find(message), std::string::npos) << arguments << ": " << result.err;
  }
  EXPECT_EQ(Snapshot(dir.File("data")), before);
  EXPECT_TRUE(fs::exists(dir.File("other/keep.txt")));
}

// Names exactly as the file system has them (UTF-8, not its bytes one by one); the text listing
// of a large domain is left out of the site, and written in pieces that make the whole listing
// with --listings.
TEST(ViewCommand, NamesAsTypedAndLargeListingsInPieces) {
  testutil::ScratchDir dir;
  GenerateReba(dir, 1, 12000);
  fs::rename(dir.File("data"), fs::u8path(dir.File("d\xc3\xa4t\xc3\xa4 dir")));
  const fs::path data = fs::u8path(dir.File("d\xc3\xa4t\xc3\xa4 dir"));
  fs::copy_file(data / "RB000001.C01", data / fs::u8path("na\xc3\xafve \xc3\xbc.C01"));
  const auto run = RunTool(dir.path(), "view 'd\xc3\xa4t\xc3\xa4 dir' -o site");
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string index = tooltest::ReadText(dir.File("site/data/index.js"));
  EXPECT_NE(index.find(R"(d\u00e4t\u00e4 dir")"), std::string::npos) << index.substr(0, 200);
  EXPECT_NE(index.find(R"("name":"na\u00efve \u00fc.C01")"), std::string::npos);
  EXPECT_NE(index.find(R"("listing":[],"listingOmitted":true,"compressed":true)"),
            std::string::npos);
  // The site of 12,000 entries (about 190,000 rows) and the copy of its first part: the pages'
  // data, a few bytes a field, and no text listing (11 MB for each copy).
  std::uintmax_t siteBytes = 0;
  for (const auto& entry : fs::recursive_directory_iterator(dir.File("site"))) {
    if (entry.is_regular_file()) siteBytes += entry.file_size();
  }
  EXPECT_LT(siteBytes, 16u * 1024 * 1024);

  ASSERT_EQ(RunTool(dir.path(), "view 'd\xc3\xa4t\xc3\xa4 dir' -o site --listings").status, 0);
  const auto dump = RunTool(dir.path(), "dump --stdout 'd\xc3\xa4t\xc3\xa4 dir/RB000001.C01'");
  ASSERT_EQ(dump.status, 0) << dump.err;
  std::string pieces;
  int count = 0;
  for (std::string piece = "site/listings/d0_RB000001.C01.txt"; fs::exists(dir.File(piece));
       piece = "site/listings/d0_RB000001.C01.part" + std::to_string(++count + 1) + ".txt") {
    const std::string text = tooltest::ReadText(dir.File(piece));
    EXPECT_LE(text.size(), 4u * 1024 * 1024);
    pieces += text;
  }
  EXPECT_GT(count, 1);
  EXPECT_EQ(pieces, dump.out);
}

}  // namespace

}  // namespace morvit
