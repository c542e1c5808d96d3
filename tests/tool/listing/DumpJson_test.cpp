// `morvit dump --format json`: every line a JSON object of one event; the text of the field
// and text events put together is the text listing; a file without a whole listing ends in a
// stop event and fails the run.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "fixtures/TestUtil.h"
#include "tool/ToolRun.h"

namespace morvit {

namespace {

using tooltest::RunTool;

class JsonEvents : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(tooltest::GenerateExample(dir.path()).status, 0); }
  testutil::ScratchDir dir;
};

TEST_F(JsonEvents, TextOfTheEventsIsTheListing) {
  // A class listing, the generic CODE listing, and a node, whose file list follows as a second
  // file (its own listing file in text).
  for (const char* file : {"RB000001.C01", "TD010001.C01", "CN000001.C01"}) {
    SCOPED_TRACE(file);
    const auto json = RunTool(dir.path(), std::string("dump --format json data/") + file);
    ASSERT_EQ(json.status, 0) << json.err;
    std::istringstream lines(json.out);
    std::string text;
    std::string kinds;
    int depth = 0;
    int files = 0;
    for (std::string line; std::getline(lines, line);) {
      const auto event = nlohmann::json::parse(line);
      const std::string kind = event.at("event");
      if (kind == "file") ++files;
      if ((kind == "field" || kind == "text") && files == 1) {
        text += event.at("text").get<std::string>();
      }
      if (kind == "begin") ++depth;
      if (kind == "end") --depth;
      if (kinds.find(kind) == std::string::npos) kinds += kind + " ";
    }
    EXPECT_EQ(depth, 0);  // every begin has its end
    EXPECT_EQ(files, std::string(file) == "CN000001.C01" ? 2 : 1);
    EXPECT_EQ(kinds.substr(0, 5), "file ");
    const auto listing = RunTool(dir.path(), std::string("dump --stdout data/") + file);
    ASSERT_EQ(listing.status, 0);
    EXPECT_EQ(text, listing.out);
  }
}

TEST_F(JsonEvents, CutFileStopsAndFailsTheRun) {
  std::string bytes = tooltest::ReadText(dir.File("data/PD010001.C01"));
  bytes.resize(64);
  std::ofstream(dir.File("data/PD000009.C01"), std::ios::binary) << bytes;
  const auto result = RunTool(dir.path(), "dump --format json data/PD000009.C01");
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(
      result.out.find(
          R"({"event":"stop","offset":64,"reason":"the file ends before the length its first word announces"})"),
      std::string::npos)
      << result.out;
  EXPECT_NE(result.err.find("1 of 1 files not listed"), std::string::npos) << result.err;
}

}  // namespace

}  // namespace morvit
