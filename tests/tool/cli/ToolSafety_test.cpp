// What the tool changes and what it says, through the tool as a process on the example data
// set: every row sets up a case that was once mishandled (a read-only command changing the data
// set, a failure reported as success or as a bare number) and the exit status and words that are
// right for it. Read-only commands must leave the data set byte for byte as it was.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>

#include "fixtures/TestUtil.h"
#include "tool/ToolRun.h"

namespace morvit {

namespace {

namespace fs = std::filesystem;
using tooltest::RunTool;

// The name and bytes of every file of a directory.
std::map<std::string, std::string> Snapshot(const fs::path& directory) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::directory_iterator(directory)) {
    files[entry.path().filename().string()] = tooltest::ReadText(entry.path().string());
  }
  return files;
}

void Truncate(const fs::path& file, std::uintmax_t size) { fs::resize_file(file, size); }
void Write(const fs::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary) << bytes;
}
std::string Noise(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7919 + 13) % 251);
  return bytes;
}

// Writes `to` as a copy of `from` with the bytes at the given offsets set.
void Patch(const fs::path& d, const char* from, const char* to,
           std::initializer_list<std::pair<std::size_t, unsigned char>> bytes) {
  std::string content = tooltest::ReadText((d / from).string());
  for (const auto& [at, value] : bytes) content[at] = static_cast<char>(value);
  Write(d / to, content);
}

constexpr const char* kAnswers = " --data data --answer GetPCProgNo=1 --answer GetMaxTask=3";

struct Case {
  const char* name;
  std::function<void(const fs::path& data)> damage;  // applied to the data set first
  std::string arguments;
  int status;
  std::string err;  // a part of standard error ("" : anything)
  std::string out;  // a part of standard output ("" : anything)
  bool readOnly;    // the data set stays as it was
};

class ExampleDataSet : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(tooltest::GenerateExample(dir.path()).status, 0); }
  fs::path Data() const { return dir.path() / "data"; }
  testutil::ScratchDir dir;
};

TEST_F(ExampleDataSet, EveryRunTellsTheTruthAndReadsChangeNothing) {
  const auto none = [](const fs::path&) {};
  const Case cases[] = {
      {"dump --stdout keeps the old listing, adds nothing",
       [](const fs::path& d) { Write(d / "RB000001.D01", "kept"); },
       "dump --stdout data/RB000001.C01", 0, "", "DataSet Specification: RB000001.D01", true},
      {"dump --stdout of a compressed domain leaves no X sibling", none,
       "dump --stdout data/PB010001.C01 data/NB000001.C01", 0, "", "", true},
      {"dump --stdout into a closed pipe", none, "dump --stdout data | head -c 10", 0, "", "",
       true},
      {"backtranslate leaves RELO and POLO", none, std::string("backtranslate pc") + kAnswers, 0,
       "", "pc back-translation completed: 19 domains", true},
      {"backtranslate --in-place lists what it removed", none,
       std::string("backtranslate pc --in-place") + kAnswers, 0, "", "removed RL000001.C01", false},
      {"check-libs on a view", none, "check-libs --data data", 0, "", "", true},
      {"truncated domain skipped, not completed",
       [](const fs::path& d) { Truncate(d / "RB000001.C01", 100); },
       std::string("backtranslate pc") + kAnswers, 0,
       "warning: pc back-translation: skipped RB000001.C01: cut short or damaged",
       "completed with 1 domain skipped", true},
      {"--strict fails a skipped domain",
       [](const fs::path& d) { Truncate(d / "RB000001.C01", 100); },
       std::string("backtranslate pc --strict") + kAnswers, 1, "skipped 1 of its domains", "",
       true},
      {"random bytes as a POBA", [](const fs::path& d) { Write(d / "PB010001.C01", Noise(2048)); },
       std::string("backtranslate pc") + kAnswers, 0,
       "skipped PB010001.C01: not a valid domain file", "completed with 1 domain skipped", true},
      {"random bytes as a CbP", [](const fs::path& d) { Write(d / "AP000001.C01", Noise(2048)); },
       "backtranslate db --data data", 0, "skipped AP000001.C01", "completed with 1 domain skipped",
       true},
      {"a deleted task description", [](const fs::path& d) { fs::remove(d / "TD020001.C01"); },
       std::string("backtranslate pc") + kAnswers, 0,
       "skipped TD02????.C01: no domain file of this name (missing)", "", true},
      {"no data directory", none, "backtranslate node --data /nonexistent", 1,
       "/nonexistent: the data-set directory does not exist", "", true},
      {"no domain of the kind", [](const fs::path& d) { fs::remove(d / "CN000001.C01"); },
       "backtranslate node --data data -q", 1, "found no domain to back-translate", "", true},
      {"stopped run names its reason", none, "backtranslate pc --data data -q", 1,
       "stopped: GetPCProgNo answered 0; give the program number with --answer GetPCProgNo=N", "",
       true},
      {"truncated PODE listing stopped short",
       [](const fs::path& d) { Truncate(d / "PD010001.C01", 100); }, "dump data/PD010001.C01", 1,
       "PD010001.C01: damaged: its header counts 118 bytes, the file has 100", "", true},
      {"empty CODA", [](const fs::path& d) { Truncate(d / "CA000001.C01", 0); },
       "dump data/CA000001.C01", 1, "CA000001.C01: damaged: empty (CA000001.C01, byte 0)", "",
       true},
      {"empty NOBA", [](const fs::path& d) { Truncate(d / "NB000001.C01", 0); },
       "dump data/NB000001.C01", 1, "NB000001.C01: damaged: empty", "", true},
      {"random bytes named like a domain file",
       [](const fs::path& d) { Write(d / "ZZ000001.C01", Noise(1500)); },
       "dump --stdout data/ZZ000001.C01", 1, "unknown type: no domain type has the code ZZ", "",
       true},
      {"a node's file list cut in its body: its node and the list are damaged",
       [](const fs::path& d) {
         std::string bytes = tooltest::ReadText((d / "XR000001.C01").string());
         bytes[70] = static_cast<char>(bytes[70] ^ 0x7c);
         Write(d / "XR000001.C01", bytes);
       },
       "check data", 1, "2 of 29 domains and other files need attention",
       "XR000001.C01: damaged: the reader of RN000001.C01 stops in it: cut short or damaged", true},
      {"a node cut inside an element: the stopped run names it",
       [](const fs::path& d) {
         std::string bytes = tooltest::ReadText((d / "RN000001.C01").string());
         bytes[50] = static_cast<char>(bytes[50] ^ 0xbe);
         Write(d / "RN000001.C01", bytes);
       },
       "backtranslate node --data data -q", 1,
       "node back-translation stopped: RN000001.C01: cut short or damaged", "", true},
      {"a healthy data set dumps with notes", none, "dump --stdout data", 0,
       "XC000001.C01: no listing (a node's file list has no listing)", "", true},
      {"a staging file is no domain file",
       [](const fs::path& d) { fs::copy_file(d / "RB000001.C01", d / "RB000001.C01~"); },
       "dump --stdout data/RB000001.C01~", 1, "a staging file of a generation that did not finish",
       "", true},
      {"check reports damage, staging files and orphans",
       [](const fs::path& d) {
         Truncate(d / "RB000001.C01", 100);
         fs::copy_file(d / "NB000001.C01", d / "NB000001.C01~123456789");
         Write(d / "QQ000001.X01", "x");
       },
       "check data", 1, "3 of 29 domains and other files need attention",
       "NB000001.C01~123456789: stale staging file", true},
      {"the next generation removes stale staging files",
       [](const fs::path& d) {
         fs::copy_file(d / "NB000001.C01", d / "NB000001.C01~");
         fs::copy_file(d / "NB000001.C01", d / "NB000001.C01~999999999");
       },
       "generate '" MORVIT_SOURCE_DIR "/examples/job.json' --data data >/dev/null; ls data | "
       "grep -c '~'",
       1, "", "0\n", false},
      // One verdict in every command: the cases once seen judged differently.
      {"a stale later part of a regenerated domain",
       [](const fs::path& d) {
         Patch(d, "RB000001.C01", "RB010001.C01", {{3, 1}, {15, 1}, {17, 2}, {20, 0}, {21, 0xC0}});
       },
       "check data", 1, "", "RB010001.C01: stale: a later part of RB000001.C01", true},
      {"a changed length word is damage for diff and check",
       [](const fs::path& d) {
         fs::remove_all(d / "../orig");
         fs::create_directories(d / "../orig");
         fs::copy_file(d / "PB010001.C01", d / "../orig/PB010001.C01");
         Patch(d, "PB010001.C01", "PB010001.C01", {{0, 0x40}});
       },
       "diff orig/PB010001.C01 data/PB010001.C01", 2, "damaged: its header counts", "", true},
      {"a changed type byte",
       [](const fs::path& d) {
         Patch(d, "CA000001.C01", "CA000001.C01", {{2, 0xEE}});
       },
       "check data", 1, "", "CA000001.C01: damaged: its header says type 238", true},
      {"a lower-case name is the same domain",
       [](const fs::path& d) { fs::rename(d / "RB000001.C01", d / "rb000001.c01"); }, "check data",
       0, "", "every one is sound", true},
      {"diff of a data set with an empty NOBA",
       [](const fs::path& d) {
         fs::remove_all(d / "../orig");
         fs::create_directories(d / "../orig");
         for (const auto& e : fs::directory_iterator(d))
           fs::copy_file(e.path(), d / "../orig" / e.path().filename());
         Truncate(d / "NB000001.C01", 0);
       },
       "diff orig data", 2, "NB000001.C01: damaged: empty", "", true},
      {"MOVE tables keep the case of their names",
       [](const fs::path& d) {
         Write(d / "qqa00001.C01", std::string(30000, '\0'));
         Write(d / "qqb00001.C01", std::string(178, '\0'));
       },
       "dump --stdout data/qqb00001.C01", 0, "", "qqa00001.C01:", true},
      {"random bytes named like a PC data table",
       [](const fs::path& d) { Write(d / "PL000001.C01", Noise(1500)); },
       "dump --stdout data/PL000001.C01", 1,
       "listing stopped short (driver, PC DATA mode): its head counts 38670 records, the file "
       "holds 187",
       "", true},
      {"check of a PC data table that cannot be listed in full",
       [](const fs::path& d) { Write(d / "PL000001.C01", std::string("\x09\0", 2) + Noise(22)); },
       "check data", 1, "",
       "PL000001.C01: damaged: a PC data table that cannot be listed in full: its head counts 10 "
       "records, the file holds 3",
       true},
      {"a whole PC data table is sound",
       [](const fs::path& d) { Write(d / "PL000001.C01", std::string("\x02\0", 2) + Noise(22)); },
       "check data", 0, "", "every one is sound", true},
      {"a MOVE table whose A table counts more records than it holds",
       [](const fs::path& d) {
         Write(d / "qqa00001.C01", Noise(30000));
         Write(d / "qqb00001.C01", std::string(178, '\0'));
       },
       "dump --stdout data/qqb00001.C01", 1,
       "listing stopped short (driver, MOVE mode): the A table counts", "", true},
      {"a MOVE table without its A table is not listed in full",
       [](const fs::path& d) { Write(d / "qqb00001.C01", std::string(178, '\0')); },
       "dump --stdout data/qqb00001.C01", 1, "a move table cannot be opened", "", true},
      {"a back-translation warning names the file",
       [](const fs::path& d) { Truncate(d / "B1000001.C01", 30); },
       std::string("backtranslate pc") + kAnswers, 0, "skipped B1000001.C01", "", true},
      {"check of a file", none, "check data/RB000001.C01", 1, "not a directory", "", true},
      {"check of a directory without domains",
       [](const fs::path& d) { fs::create_directories(d / "../empty"); }, "check empty", 1,
       "no domain in this directory", "", true},
      {"check of a healthy data set", none, "check data", 0, "",
       "29 domains in 29 files checked: every one is sound", true},
  };
  // The Windows tool runs under wine on this host's case-sensitive file system, where a file
  // renamed to lower case is not found again by the tool's private view; the case rule is checked
  // with the Linux build here.
  const bool windowsTool = std::getenv("MORVIT_TOOL") != nullptr;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (windowsTool && std::string(c.name) == "a lower-case name is the same domain") continue;
    fs::remove_all(Data());
    ASSERT_EQ(tooltest::GenerateExample(dir.path()).status, 0);
    c.damage(Data());
    const auto before = Snapshot(Data());
    const auto result = RunTool(dir.path(), c.arguments);
    EXPECT_EQ(result.status, c.status) << result.err;
    EXPECT_NE(result.err.find(c.err), std::string::npos) << result.err;
    EXPECT_NE(result.out.find(c.out), std::string::npos) << result.out.substr(0, 2000);
    if (c.readOnly) {
      EXPECT_EQ(Snapshot(Data()), before);
    }
  }
}

TEST_F(ExampleDataSet, RecordedCallsCarryTheirDomainFile) {
  ASSERT_EQ(RunTool(dir.path(), std::string("backtranslate pc") + kAnswers).status, 0);
  const std::string db = dir.File("pc.sqlite");
  // The run's own calls have no domain file.
  EXPECT_EQ(tooltest::Query(db,
                            "SELECT DISTINCT ifnull(domain_file, 'NULL') FROM calls WHERE "
                            "operation IN ('GetMaxTask', 'SetAdditionalInfo') "),
            "NULL\n");
  EXPECT_EQ(tooltest::Query(db,
                            "SELECT ifnull(domain_file, 'NULL') FROM calls WHERE operation = "
                            "'BackupSort' ORDER BY seq DESC LIMIT 1"),
            "NULL\n");
  // Basic-object elements carry their domain type as code, and no order name.
  EXPECT_EQ(tooltest::Query(db,
                            "SELECT count(*), count(code_name) FROM elements WHERE "
                            "element_code BETWEEN 116 AND 118"),
            "6|0\n");
}

TEST(ToolSafety, InputsAreNeverOutputsAndDemoKeepsOtherFiles) {
  testutil::ScratchDir dir;
  Write(dir.path() / "a.txt", "hello");
  fs::create_hard_link(dir.path() / "a.txt", dir.path() / "b.txt");
  fs::create_directories(dir.path() / "busy");
  Write(dir.path() / "busy" / "mine.txt", "mine");
  const std::pair<const char*, const char*> cases[] = {
      {"implode a.txt ./a.txt", "./a.txt: the same file as the input a.txt"},
      {"explode a.txt b.txt", "b.txt: the same file as the input a.txt"},
      {"demo busy", "busy: the directory is not empty"},
  };
  for (const auto& [arguments, message] : cases) {
    SCOPED_TRACE(arguments);
    const auto result = RunTool(dir.path(), arguments);
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find(message), std::string::npos) << result.err;
  }
  EXPECT_EQ(tooltest::ReadText(dir.File("a.txt")), "hello");
  EXPECT_EQ(Snapshot(dir.path() / "busy").size(), 1u);
}

}  // namespace

namespace {

// Two generations of the same domain name at the same moment, again and again: afterwards the
// domain is one of the two whole, and no staging file is left.
TEST(ToolSafety, TwoWritersLeaveOneWholeDomain) {
  testutil::ScratchDir dir;
  for (const char* side : {"a", "b"}) {
    std::ofstream(dir.File(std::string(side) + ".json"))
        << R"({"domains": [{"type": "NOBA", "object": 1, "version": 1, "time": )"
        << R"("2026-12-07 08:30:00", "texts": [")" << std::string(3000, side[0]) << R"("]}]})";
    ASSERT_EQ(RunTool(dir.path(), std::string("generate ") + side + ".json --data " + side).status,
              0);
  }
  const std::string tool = "'" + tooltest::ToolPath() + "'";
  const auto result = RunTool(
      dir.path(),
      "--version >/dev/null; for i in $(seq 30); do " + tool +
          " generate a.json --data d >/dev/null & " + tool +
          " generate b.json --data d >/dev/null; wait; cmp -s d/NB000001.C01 a/NB000001.C01 || "
          "cmp -s d/NB000001.C01 b/NB000001.C01 || echo blend; ls d | grep '~' || true; done");
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "");
}

}  // namespace

}  // namespace morvit
