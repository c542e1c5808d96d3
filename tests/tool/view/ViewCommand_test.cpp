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

}  // namespace
