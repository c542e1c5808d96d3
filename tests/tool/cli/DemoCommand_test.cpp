// `morvit demo`: the sample project on a fresh directory, its files and what it prints.
#include <gtest/gtest.h>

#include <filesystem>

#include "fixtures/TestUtil.h"
#include "tool/ToolRun.h"

namespace morvit {

namespace {

TEST(DemoCommand, WritesAndGeneratesTheSampleProject) {
  testutil::ScratchDir dir;
  const auto result = tooltest::RunTool(dir.path(), "demo project");
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(tooltest::ReadText(dir.File("project/job.json")),
            tooltest::ReadText(MORVIT_SOURCE_DIR "/examples/job.json"));
  for (const char* name :
       {"CN000001.C01", "RN000001.C01", "RD000001.C01", "TD030001.C01", "PD030001.C01",
        "NB000001.C01", "RB000001.C01", "PB010001.C01", "B3000001.C01", "CI000001.C01",
        "CA000001.C01", "AD000001.C01", "AP000001.C01", "AI000001.C01"}) {
    EXPECT_TRUE(std::filesystem::exists(dir.File(std::string("project/data/") + name))) << name;
    EXPECT_NE(result.out.find(std::string("/project/data/") + name), std::string::npos);
  }
  for (const char* step :
       {"$ morvit generate ", "$ morvit check-libs ",
        "the node's library files match the object database", "node initialisation file: NODE1.INI",
        "node | 1", "db | 1", "AP000001.C01 | PARDAT(I) | SETPOINT | 20", "pc | 1"}) {
    EXPECT_NE(result.out.find(step), std::string::npos) << step << "\n" << result.out;
  }
  // Run again on the same directory: written anew only when told to.
  EXPECT_EQ(tooltest::RunTool(dir.path(), "demo project --force").status, 0);
}

}  // namespace

}  // namespace morvit
