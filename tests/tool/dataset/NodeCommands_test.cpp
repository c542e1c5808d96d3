// A node project end to end: `generate` writes CNOD and RNOD with their file lists from the
// project's files, `check-libs` compares the library files with the object database, and
// `backtranslate node` recreates the files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "fixtures/TestUtil.h"
#include "tool/ToolRun.h"

namespace morvit {

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

// Each way check-libs can fail is told apart, the node's and the database's values labelled.
TEST_F(NodeProject, CheckLibsComparesWithTheObjectDatabase) {
  ASSERT_EQ(generated.status, 0);
  std::filesystem::create_directories(dir.path() / "empty");
  const struct {
    const char* objects;  // objects.json
    const char* arguments;
    int status;
    const char* out;
    const char* err;
  } cases[] = {
      {R"({"pcLibraries": [{"name": "MATHLIB", "version": 7}]})", "--data data", 0,
       "the node's library files match the object database\n", ""},
      {R"({"pcLibraries": [{"name": "MATHLIB", "version": 8}]})", "--data data", 1,
       "mismatch: MATHLIB.PE_ (math blocks): node version 7, object database version 8\n",
       "1 of the node's library files do not match the object database"},
      {R"({"pcLibraries": [{"name": )", "--data data", 1, "",
       "the object database cannot be read: "},
      {R"({"pcLibraries": []})", "--data empty", 1, "",
       "the data set has no node (no CNOD domain)"},
      {R"({"pcLibraries": []})", "--data absent", 1, "",
       "absent: the data-set directory does not exist"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.objects);
    std::ofstream(dir.File("objects.json")) << c.objects;
    const auto result = RunTool(dir.path(), std::string("check-libs --project . ") + c.arguments);
    EXPECT_EQ(result.status, c.status) << result.err;
    EXPECT_EQ(result.out, c.out);
    EXPECT_NE(result.err.find(c.err), std::string::npos) << result.err;
  }
}

// A pattern that matches nothing leaves the node without the file: a warning says so.
TEST_F(NodeProject, UnmatchedPatternIsAWarning) {
  std::ofstream(dir.File("nothing.json"))
      << R"({"domains": [{"type": "CNOD", "object": 2, "version": 1, "files": [)"
      << R"({"search": [6, 7], "pattern": "ABSENT.PE_"}]}]})";
  const auto result = RunTool(dir.path(), "generate nothing.json --data data --project .");
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.err.find("warning: the node file pattern ABSENT.PE_ matches no file in " +
                            dir.File("PCDATA/")),
            std::string::npos)
      << result.err;
}

TEST_F(NodeProject, BacktranslateNodeRecreatesTheFiles) {
  ASSERT_EQ(generated.status, 0);
  const std::string original = tooltest::ReadText(dir.File("CONTROL/NODE1.INI"));
  std::filesystem::remove(dir.File("CONTROL/NODE1.INI"));
  std::filesystem::remove(dir.File("PCDATA/MATHLIB.PE_"));
  // Only a run in place restores them: the default run works on a private view.
  auto result = RunTool(dir.path(), "backtranslate node --data data --project . --quiet");
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_FALSE(std::filesystem::exists(dir.File("CONTROL/NODE1.INI")));
  result = RunTool(dir.path(), "backtranslate node --in-place --data data --project .");
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out,
            "node initialisation file: NODE1.INI\n"
            "node back-translation completed: 2 domains, 0 calls, 0 elements -> node.sqlite\n"
            "added XC000001.X01\nadded XR000001.X01\n");
  EXPECT_EQ(tooltest::ReadText(dir.File("CONTROL/NODE1.INI")), original);
  EXPECT_EQ(tooltest::ReadText(dir.File("PCDATA/MATHLIB.PE_")), std::string(3000, 'm'));
  EXPECT_TRUE(std::filesystem::exists(dir.File("node.sqlite")));
}

}  // namespace

}  // namespace morvit
