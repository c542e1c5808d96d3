// A domain generated again with fewer parts leaves no part of the old one (check is clean and
// says so for the right reason), and `dump DIR` lists a split domain once, from its first part.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "fixtures/TestUtil.h"
#include "tool/ToolRun.h"

namespace morvit {

namespace {

namespace fs = std::filesystem;

// A job of one REBA of `entries` entries, object 1, version 1.
void WriteJob(const fs::path& file, int entries) {
  std::ofstream job(file);
  job << R"({"domains": [{"type": "REBA", "object": 1, "version": 1, )"
      << R"("time": "2026-12-07 08:30:00", "records": [)";
  for (int i = 0; i < entries; ++i) {
    job << (i ? "," : "") << R"({"entry": {"key": )" << i + 1 << R"(, "values": [)" << i
        << R"(, 2, 3, 4, 5], "name": "P)" << i << R"("}})";
  }
  job << "]}]}";
}

std::vector<std::string> Names(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(Regeneration, FewerPartsLeaveNoStalePartAndDumpListsTheDomainOnce) {
  testutil::ScratchDir dir;
  WriteJob(fs::path(dir.path()) / "big.json", 20000);
  WriteJob(fs::path(dir.path()) / "small.json", 10);
  ASSERT_EQ(tooltest::RunTool(dir.path(), "generate big.json --data data").status, 0);
  const std::vector<std::string> threeParts = {"RB000001.C01", "RB010001.C01", "RB020001.C01"};
  ASSERT_EQ(Names(fs::path(dir.path()) / "data"), threeParts);

  const auto dumped = tooltest::RunTool(dir.path(), "dump data");
  EXPECT_EQ(dumped.status, 0) << dumped.err;
  EXPECT_EQ(
      Names(fs::path(dir.path()) / "data"),
      (std::vector<std::string>{"RB000001.C01", "RB000001.D01", "RB010001.C01", "RB020001.C01"}));
  fs::remove(fs::path(dir.path()) / "data" / "RB000001.D01");

  ASSERT_EQ(tooltest::RunTool(dir.path(), "generate small.json --data data").status, 0);
  EXPECT_EQ(Names(fs::path(dir.path()) / "data"), std::vector<std::string>{"RB000001.C01"});
  const auto checked = tooltest::RunTool(dir.path(), "check data");
  EXPECT_EQ(checked.status, 0) << checked.out;
  EXPECT_EQ(checked.out, "1 domain in 1 file checked: every one is sound\n");
}

}  // namespace

}  // namespace morvit
