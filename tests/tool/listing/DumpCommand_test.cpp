// `morvit dump`: listings beside the files or on standard output, and
// files that are refused or yield no listing (each reported, the run failed).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "fixtures/TestUtil.h"
#include "tool/ToolRun.h"

namespace morvit {

namespace {

using tooltest::RunTool;

class DumpedProgram : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(tooltest::GenerateExample(dir.path()).status, 0); }
  testutil::ScratchDir dir;
};

TEST_F(DumpedProgram, ListingBesideTheFileOrOnStandardOutput) {
  auto result = RunTool(dir.path(), "dump data/RB000001.C01 --no-times");
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out,
            dir.File("data/RB000001.C01") + " -> " + dir.File("data/RB000001.D01") + "\n");
  const std::string listing = tooltest::ReadText(dir.File("data/RB000001.D01"));
  EXPECT_NE(listing.find("DataSet Specification: RB000001.D01"), std::string::npos) << listing;
  EXPECT_NE(listing.find("    0:       d5     213   0 213  ..  OffsetToLastByte"),
            std::string::npos)
      << listing;

  // On standard output: the same text, and the listing beside the file stays as it was.
  std::ofstream(dir.File("data/RB000001.D01")) << "kept";
  result = RunTool(dir.path(), "dump data/RB000001.C01 --no-times --stdout");
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, listing);
  EXPECT_EQ(tooltest::ReadText(dir.File("data/RB000001.D01")), "kept");
}

TEST_F(DumpedProgram, FailuresAreReportedFileByFile) {
  std::filesystem::copy_file(dir.File("data/RB000001.C01"), dir.File("data/NOEXT"));
  // Any other file is listed word by word by the library's generic lister; one whose first word
  // announces more than it holds is a listing stopped short, a failure.
  std::ofstream(dir.File("data/ZZ000001.C01")) << "not a domain";
  const auto result =
      RunTool(dir.path(), "dump data/NOEXT data/RB000001.D01 data/absent.C01 data/PB010001.C01");
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("RB000001.D01: file not found"), std::string::npos) << result.err;

  const auto each = RunTool(dir.path(), "dump data/NOEXT data/RB000001.C01 data/ZZ000001.C01");
  EXPECT_EQ(each.status, 1);
  EXPECT_NE(each.err.find("NOEXT: no extension, so its listing would replace the file"),
            std::string::npos)
      << each.err;
  EXPECT_NE(each.err.find("2 of 3 files not listed"), std::string::npos) << each.err;
  EXPECT_TRUE(std::filesystem::exists(dir.File("data/RB000001.D01")));
  EXPECT_EQ(testutil::ReadWholeFile(dir.File("data/NOEXT")),
            testutil::ReadWholeFile(dir.File("data/RB000001.C01")));
}

}  // namespace

}  // namespace morvit
