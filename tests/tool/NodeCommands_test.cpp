// A node project end to end: `generate` writes CNOD and RNOD with their file lists from the
// project's files, `check-libs` compares the library files with the object database, and
// `backtranslate node` recreates the files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/TestUtil.h"
#include "tool/ToolRun.h"

namespace {

using tooltest::RunTool;

constexpr const char* kNodeJob = R"({"domains": [
  {"type": "CNOD", "object": 1, "version": 1, "time": "2026-12-07 08:30:00", "files": [
    {"search": [7], "value": 1, "text": "node settings", "pattern": "NODE1.INI"},
    {"search": [6], "value": 7, "text": "math blocks", "pattern": "MATHLIB.PE_"}]},
  {"type": "RNOD", "object": 1, "version": 1, "time": "2026-12-07 08:30:00", "files": [
    {"search": [6], "value": 7, "text": "math blocks", "pattern": "*.PE_"}]}]})";

// A project with a node initialisation file and a PC library, its node generated into data/.
class NodeProject : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(dir.path() / "CONTROL");
    std::filesystem::create_directories(dir.path() / "PCDATA");
    std::ofstream(dir.File("CONTROL/NODE1.INI")) << "[node]\nname=PUMPS\n";
    std::ofstream(dir.File("PCDATA/MATHLIB.PE_")) << std::string(3000, 'm');
    std::ofstream(dir.File("job.json")) << kNodeJob;
    generated = RunTool(dir.path(), "generate job.json --data data --project .");
  }
  void SetLibraryVersion(int version) {
    std::ofstream(dir.File("objects.json"))
        << R"({"pcLibraries": [{"name": "MATHLIB", "version": )" << version << "}]}";
  }

  testutil::ScratchDir dir;
  tooltest::ToolResult generated;
};

TEST_F(NodeProject, GenerateWritesTheNodesWithTheirFileLists) {
  ASSERT_EQ(generated.status, 0) << generated.err;
  // The file lists' lengths follow the files' times: only their parcels are compared.
  std::string out = generated.out;
  for (const char* list : {"type 119", "type 120"}) {
    const std::size_t at = out.find(list);
    ASSERT_NE(at, std::string::npos) << out;
    const std::size_t end = out.find('\n', at);
    out.erase(out.rfind("  ", end), end - out.rfind("  ", end));
  }
  EXPECT_EQ(out,
            "CN000001.C01  CNOD  type 1  scope 0  version 1  object 1  132 bytes\n"
            "XC000001.C01  XBFI  type 119  scope 0  version 1  object 1\n"
            "RN000001.C01  RNOD  type 44  scope 0  version 1  object 1  98 bytes\n"
            "XR000001.C01  XBFI  type 120  scope 0  version 1  object 1\n");
}

TEST_F(NodeProject, CheckLibsComparesWithTheObjectDatabase) {
  ASSERT_EQ(generated.status, 0);
  SetLibraryVersion(7);
  auto result = RunTool(dir.path(), "check-libs --data data --project .");
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "the node's library files match the object database\n");

  SetLibraryVersion(8);
  result = RunTool(dir.path(), "check-libs --data data --project .");
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("message 2455"), std::string::npos) << result.err;
  EXPECT_NE(result.err.find("MATHLIB.PE_, math blocks, 7"), std::string::npos) << result.err;

  std::filesystem::create_directories(dir.path() / "empty");
  result = RunTool(dir.path(), "check-libs --data empty --project .");
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("a node domain cannot be read"), std::string::npos) << result.err;
}

TEST_F(NodeProject, BacktranslateNodeRecreatesTheFiles) {
  ASSERT_EQ(generated.status, 0);
  const std::string original = tooltest::ReadText(dir.File("CONTROL/NODE1.INI"));
  std::filesystem::remove(dir.File("CONTROL/NODE1.INI"));
  std::filesystem::remove(dir.File("PCDATA/MATHLIB.PE_"));
  const auto result = RunTool(dir.path(), "backtranslate node --data data --project .");
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out,
            "node initialisation file: NODE1.INI\n"
            "node back-translation completed: 0 calls, 0 elements -> node.sqlite\n");
  EXPECT_EQ(tooltest::ReadText(dir.File("CONTROL/NODE1.INI")), original);
  EXPECT_EQ(tooltest::ReadText(dir.File("PCDATA/MATHLIB.PE_")), std::string(3000, 'm'));
  EXPECT_TRUE(std::filesystem::exists(dir.File("node.sqlite")));
}

}  // namespace
