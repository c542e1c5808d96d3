// Every command stopped at its moments by an interrupt (the tool sends itself the signal there,
// MORVIT_INTERRUPT_AT): one line on standard error that says so, the exit status of the signal,
// no scratch file left in the temporary directory or beside the output, the data set as it was
// and an earlier site whole; a generation leaves only whole domains.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "fixtures/TestUtil.h"
#include "tool/ToolRun.h"

namespace morvit {

namespace {

namespace fs = std::filesystem;

// The name and bytes of every file under a directory (none when it does not exist).
std::map<std::string, std::string> Tree(const fs::path& directory) {
  std::map<std::string, std::string> files;
  if (!fs::exists(directory)) return files;
  for (const auto& entry : fs::recursive_directory_iterator(directory)) {
    if (entry.is_regular_file()) {
      files[fs::relative(entry.path(), directory).string()] =
          tooltest::ReadText(entry.path().string());
    }
  }
  return files;
}

struct Moment {
  const char* command;  // the arguments, run in the work directory
  const char* moment;
  const char* signal;  // INT, TERM or HUP
  int status;
};

constexpr const char* kAnswers = " --data data --answer GetPCProgNo=1 --answer GetMaxTask=3";

const Moment kMoments[] = {
    {"view data -o site", "view:inventory", "INT", 130},
    {"view data -o site", "view:pages", "INT", 130},
    {"view data -o site", "view:install", "INT", 130},
    {"view data -o site", "view:pages", "TERM", 143},
    {"diff data other", "diff:copies", "INT", 130},
    {"diff data other", "diff:compare", "INT", 130},
    {"diff data other", "diff:print", "INT", 130},
    {"diff data/NB000001.C01 other/NB000001.C01", "diff:compare", "TERM", 143},
    {"check data", "check:view", "INT", 130},
    {"check data", "check:read", "INT", 130},
    {"check data", "check:report", "HUP", 129},
    {"dump --stdout data", "dump:start", "INT", 130},
    {"dump --stdout data", "dump:listing", "INT", 130},
    {"dump --stdout data --json report.json", "dump:end", "TERM", 143},
    {"backtranslate pc", "backtranslate:view", "INT", 130},
    {"backtranslate pc", "backtranslate:domain", "INT", 130},
    {"backtranslate pc", "backtranslate:end", "INT", 130},
    {"generate job.json --data new", "generate:check", "INT", 130},
    {"generate job.json --data new", "generate:insert", "INT", 130},
    {"generate job.json --data new", "generate:domain", "TERM", 143},
};

class InterruptedCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(Work());
    fs::create_directories(Temporary());
    ASSERT_EQ(tooltest::GenerateExample(Work().string()).status, 0);
    fs::copy(Work() / "data", Work() / "other");
    // The other data set differs in one domain: its NOBA holds other texts.
    std::ofstream(Work() / "noba.json") << R"({"domains": [{"type": "NOBA", "object": 1, )"
                                        << R"("version": 1, "time": "2026-12-07 08:30:00", )"
                                        << R"("texts": ["another text"]}]})";
    ASSERT_EQ(tooltest::RunTool(Work().string(), "generate noba.json --data other").status, 0);
    fs::copy_file(MORVIT_SOURCE_DIR "/examples/job.json", Work() / "job.json");
    // An earlier site, which an interrupted view must leave whole.
    ASSERT_EQ(tooltest::RunTool(Work().string(), "view data -o site -q").status, 0);
  }
  fs::path Work() const { return dir.path() / "work"; }
  fs::path Temporary() const { return dir.path() / "tmp"; }
  testutil::ScratchDir dir;
};

TEST_F(InterruptedCommands, StopCleanlyAtEveryMoment) {
  const auto data = Tree(Work() / "data");
  const auto other = Tree(Work() / "other");
  const auto site = Tree(Work() / "site");
  for (const Moment& m : kMoments) {
    SCOPED_TRACE(std::string(m.command) + " at " + m.moment + " by SIG" + m.signal);
    fs::remove_all(Work() / "new");
    std::string arguments = m.command;
    if (arguments.starts_with("backtranslate")) arguments += kAnswers;
    const auto result = tooltest::RunTool(Work().string(), arguments,
                                          std::string("TMPDIR='") + Temporary().string() +
                                              "' MORVIT_INTERRUPT_AT=" + m.moment +
                                              " MORVIT_INTERRUPT_SIGNAL=" + m.signal);
    EXPECT_EQ(result.status, m.status) << result.err;
    // One line says so (beside the command's own notes and warnings).
    const std::size_t said = result.err.find("interrupted");
    EXPECT_NE(said, std::string::npos) << result.err;
    EXPECT_EQ(result.err.find("interrupted", said + 1), std::string::npos) << result.err;
    EXPECT_TRUE(fs::is_empty(Temporary())) << fs::directory_iterator(Temporary())->path();
    for (const auto& entry : fs::directory_iterator(Work())) {
      EXPECT_FALSE(entry.path().filename().string().starts_with(".morvit-")) << entry.path();
    }
    EXPECT_EQ(Tree(Work() / "data"), data);
    EXPECT_EQ(Tree(Work() / "other"), other);
    EXPECT_EQ(Tree(Work() / "site"), site);
    for (const auto& [name, bytes] : Tree(Work() / "new")) {
      EXPECT_EQ(name.find('~'), std::string::npos) << name;  // only whole domains
    }
    if (std::string(m.command).find("--json report.json") != std::string::npos) {
      const std::string report = tooltest::ReadText((Work() / "report.json").string());
      EXPECT_NE(report.find("\"exitStatus\": " + std::to_string(m.status)), std::string::npos)
          << report;
    }
  }
}

}  // namespace

}  // namespace morvit
