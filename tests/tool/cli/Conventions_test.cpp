// The conventions every command keeps, through the tool as a process: "-" for standard input
// and output, checked writes to standard output, a closed pipe ending the run quietly, help
// and unknown commands, --answer and value ranges, -q/-v and the --json report; and the manual
// page and completion made from the same command definitions as --help.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "fixtures/TestUtil.h"
#include "tool/ToolRun.h"

namespace morvit {

namespace {

using tooltest::RunScript;

struct Case {
  const char* name;
  const char* script;  // bash, the tool as "$MORVIT", in a directory with job.json and data/
  int status;
  const char* out;  // a part of standard output, or "" for none at all
  const char* err;  // a part of standard error, or "" for none at all
};

const Case kCases[] = {
    {"standard streams both ways",
     R"("$MORVIT" implode - - < job.json | "$MORVIT" explode - - | cmp - job.json && echo same)", 0,
     "same", ""},
    {"a damaged stream leaves standard output empty",
     R"("$MORVIT" implode job.json z.imp && head -c 300 z.imp | "$MORVIT" explode - -)", 1, "",
     "morvit explode: standard input: compressed stream damaged or cut short"},
    {"standard input in a message", R"("$MORVIT" explode - out.bin < /dev/null)", 1, "",
     "morvit explode: standard input: too short for a compressed stream"},
    {"a listing on a full disk", R"("$MORVIT" dump --stdout data/RB000001.C01 > /dev/full)", 1, "",
     "morvit dump: standard output: cannot be written (No space left on device)"},
    {"generated parcels on a full disk", R"("$MORVIT" generate job.json --data data2 > /dev/full)",
     1, "", "morvit generate: standard output: cannot be written (No space left on device)"},
    {"closed pipe ends quietly",
     R"(head -c 3000000 /dev/urandom > big.bin
"$MORVIT" implode big.bin - | head -c 10 > /dev/null; exit ${PIPESTATUS[0]})",
     141, "", ""},
    {"help", R"("$MORVIT" help)", 0, "  generate", ""},
    {"help on a command", R"("$MORVIT" help dump)", 0, "Usage: morvit dump [OPTIONS] FILE...", ""},
    {"help on an unknown command", R"("$MORVIT" help frobnicate)", 2, "",
     "unknown command 'frobnicate'\nCommands:\n  generate"},
    {"unknown command", R"("$MORVIT" frobnicate --data x)", 2, "",
     "morvit: unknown command 'frobnicate'\nCommands:\n  generate"},
    {"no command", R"("$MORVIT")", 2, "", "morvit: a command is required\nCommands:"},
    {"--answer leaves the run's name alone",
     R"("$MORVIT" backtranslate --answer GetPCProgNo=1 --answer GetMaxTask=3 pc --data data -q)", 0,
     "", ""},
    {"answer out of range",
     R"("$MORVIT" backtranslate pc --data data --answer RestoreTypeCircuits=256)", 2, "",
     "RestoreTypeCircuits=256\": RestoreTypeCircuits takes 0 to 255"},
    {"answer below its range", R"("$MORVIT" backtranslate pc --answer GetMaxTask=-1)", 2, "",
     "GetMaxTask takes 0 to 65535"},
    {"quiet", R"("$MORVIT" dump data/RB000001.C01 -q)", 0, "", ""},
    {"verbose", R"("$MORVIT" implode job.json z.imp --verbose && "$MORVIT" generate job.json \
     --data data2 -v)",
     0, "  REBA  type 46", "morvit generate: job checked: 27 domains"},
    {"quiet or verbose", R"("$MORVIT" dump -q -v data)", 2, "", "--quiet excludes --verbose"},
    {"report on standard output",
     R"("$MORVIT" generate job.json --data data2 --json - | grep -c '"domain": ')", 0, "29\n",
     "matches no file"},
    {"recorded rows on standard output, and nothing else",
     R"("$MORVIT" backtranslate pc --data data --json-lines - --answer GetPCProgNo=1 \
     --answer GetMaxTask=3 -q | tail -1; exit ${PIPESTATUS[0]})",
     0, "{\"table\":\"run\",\"command\":\"pc\",\"result\":1}\n", ""},
    {"a quiet demo is quiet in every step", R"("$MORVIT" demo project -q)", 0, "", ""},
    {"one standard output", R"("$MORVIT" dump --stdout --json - data/RB000001.C01)", 2, "",
     "--stdout: standard output is already taken by --json -"},
    {"report of a dump with a file without a listing",
     R"("$MORVIT" dump -q --json r.json data/RB000001.C01 data/XC000001.C01
status=$?; cat r.json; exit $status)",
     0,
     R"(  "error": null,
  "files": [],
  "listings": [
    {
      "file": "DIR/data/RB000001.C01",
      "listing": "DIR/data/RB000001.D01"
    }
  ],
  "findings": [
    {
      "severity": "note",
      "file": "DIR/data/XC000001.C01",
      "place": null,
      "message": "no listing (a node's file list has no listing)",
     ""},
    {"standard input is no domain file", R"("$MORVIT" dump -)", 1, "",
     "morvit dump: -: a domain file is listed by its name"},
    {"SQLite needs a file", R"("$MORVIT" backtranslate pc --db -)", 2, "",
     "--db: SQLite needs a file"},
    {"names in other scripts",
     R"(cp job.json данные.json && "$MORVIT" generate данные.json --data daten-ü -q &&
"$MORVIT" check daten-ü -q && "$MORVIT" dump -q daten-ü && mv daten-ü данные &&
"$MORVIT" diff data данные && for run in 1 2; do "$MORVIT" backtranslate pc --data данные \
--db база.sqlite -q --answer GetPCProgNo=1 --answer GetMaxTask=3 || exit; done &&
ls данные | grep -c '\.D01')",
     0, "27\n", "matches no file in DIR/daten-ü/CONTROL/"},
};

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
    text.replace(at, from.size(), to);
    at += to.size();
  }
  return text;
}

TEST(ToolConventions, EveryCommandKeepsThem) {
  testutil::ScratchDir dir;
  std::filesystem::copy_file(MORVIT_SOURCE_DIR "/examples/job.json", dir.File("job.json"));
  ASSERT_EQ(tooltest::RunTool(dir.path(), "generate job.json --data data -q").status, 0);
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    const auto result = RunScript(dir.path(), c.script);
    EXPECT_EQ(result.status, c.status) << result.err;
    const std::string out = Replace(result.out, dir.path(), "DIR");
    if (*c.out == '\0') {
      EXPECT_EQ(out, "");
    }
    EXPECT_NE(out.find(c.out), std::string::npos) << out;
    if (*c.err == '\0') {
      EXPECT_EQ(result.err, "");
    }
    const std::string err = Replace(result.err, dir.path(), "DIR");
    EXPECT_NE(err.find(c.err), std::string::npos) << result.err;
  }
  // "-" is never taken for a file's name.
  EXPECT_FALSE(std::filesystem::exists(dir.File("-")));
}

// The report of a generation names each file written with its parcel.
TEST(ToolConventions, GenerationReport) {
  testutil::ScratchDir dir;
  std::ofstream(dir.File("job.json")) << R"({"domains": [{"type": "NOBA", "object": 2,
      "version": 7, "time": "2026-12-07 08:30:00", "texts": ["MAIN"]}]})";
  const auto result = tooltest::RunTool(dir.path(), "generate job.json --data d --json -");
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(Replace(result.out, dir.path(), "DIR"), R"({
  "command": "generate",
  "exitStatus": 0,
  "error": null,
  "files": [
    {
      "path": "DIR/d/NB000007.C02",
      "name": "NB000007.C02",
      "domain": "NOBA",
      "type": 3,
      "scope": 0,
      "version": 7,
      "object": 2,
      "length": 96,
      "bytes": 1024
    }
  ],
  "listings": [],
  "findings": []
}
)");
}

// The completion script works in bash: a command's options, and the commands after "help".
TEST(ToolConventions, CompletionCompletes) {
  testutil::ScratchDir dir;
  const auto result = RunScript(dir.path(), R"(source ")" MORVIT_TOOL_DOCS_DIR R"(/morvit.bash"
complete_words() { COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _morvit; echo "${COMPREPLY[*]}"; }
complete_words morvit dump --st
complete_words morvit help ba
complete_words morvit ge)");
  EXPECT_EQ(result.out, "--stdout\nbacktranslate\ngenerate\n") << result.err;
}

// The manual page and the completion script the build made are the tool's current ones, and
// they hold every command and every option that the commands' --help shows.
TEST(ToolConventions, ManualPageAndCompletionFollowTheCommands) {
  testutil::ScratchDir dir;
  const std::string manual = tooltest::ReadText(MORVIT_TOOL_DOCS_DIR "/morvit.1");
  const std::string completion = tooltest::ReadText(MORVIT_TOOL_DOCS_DIR "/morvit.bash");
  EXPECT_EQ(manual, tooltest::RunTool(dir.path(), "--generate-man").out);
  EXPECT_EQ(completion, tooltest::RunTool(dir.path(), "--generate-bash-completion").out);
  // The page is sound roff: no warning from the formatter.
  EXPECT_EQ(RunScript(dir.path(), "! command -v groff >/dev/null || groff -man -Tutf8 -ww -z " +
                                      std::string(MORVIT_TOOL_DOCS_DIR "/morvit.1"))
                .err,
            "");

  std::istringstream commands(tooltest::RunTool(dir.path(), "help").out);
  const std::regex commandLine(R"(^  ([a-z][a-z-]*)  +\S.*)");
  const std::regex longOption(R"(--[a-z][a-z-]*)");
  int checked = 0;
  for (std::string line; std::getline(commands, line);) {
    std::smatch match;
    if (!std::regex_match(line, match, commandLine)) continue;
    const std::string command = match[1];
    SCOPED_TRACE(command);
    ++checked;
    EXPECT_NE(manual.find(".SS \"morvit " + Replace(command, "-", "\\-") + " "), std::string::npos);
    const std::size_t entry = completion.find("    " + command + ") words='");
    ASSERT_NE(entry, std::string::npos);
    const std::string words = completion.substr(entry, completion.find('\n', entry) - entry);
    const std::string help = tooltest::RunTool(dir.path(), command + " --help").out;
    for (std::sregex_iterator it(help.begin(), help.end(), longOption), end; it != end; ++it) {
      if (command == "help") break;
      EXPECT_NE(manual.find(Replace(it->str(), "-", "\\-")), std::string::npos) << it->str();
      EXPECT_NE(words.find(it->str()), std::string::npos) << it->str();
    }
  }
  EXPECT_GE(checked, 8);
}

}  // namespace

}  // namespace morvit
