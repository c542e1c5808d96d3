// Failures in the words a user needs, and the run's report on every way out: each row is a case
// that was once reported with a guess, a scratch path, an SQL statement or no report at all.
// Rows run as bash scripts in a directory holding the example data set (`data`), the tool as
// $MORVIT.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "fixtures/TestUtil.h"
#include "tool/ToolRun.h"

namespace morvit {

namespace {

struct Case {
  const char* name;
  std::string script;
  int status;
  std::string err;     // a part of standard error ("": anything)
  std::string out;     // a part of standard output ("": anything)
  std::string absent;  // a text standard error must not hold ("": none)
};

const std::string kAnswer = " --answer GetPCProgNo=1";

TEST(FailureWords, SayTheCauseAndReportEveryWayOut) {
  const std::string badRecord =
      R"({"domains": [{"type": "REBA", "object": 1, "version": 1, "records": [)"
      R"({"entry": {"key": 1, "values": [1, 2, 3, 4, 5], "name": "M"}}, )"
      R"({"addition": {"key": 1, "number": 1, "texts": ["A", "B", "C"], )"
      R"("terminal": {"type": "cardinal", "value": 70000}}}]}]})";
  const Case cases[] = {
      {"a closed standard output still writes the report file",
       "$MORVIT generate job.json --data gen --json r.json | head -1 >/dev/null; "
       "echo \"${PIPESTATUS[0]}\"; grep -c '\"exitStatus\": 141' r.json",
       0, "", "141\n1\n", ""},
      {"a failed job's report lists its faults",
       "echo '{\"domains\": [{\"type\": \"NOBA\", \"object\": 1, \"version\": \"x\"}]}' > "
       "bad.json; "
       "$MORVIT generate bad.json --data gen --json -",
       1, "domains[0].version: expected an integer",
       "\"place\": \"1:55 domains[0].version\",\n      \"message\": \"expected an integer\"", ""},
      {"every fault of a record: its texts and its terminal's value",
       "cat > rec.json <<'EOF'\n" + badRecord + "\nEOF\n$MORVIT generate rec.json --data gen", 1,
       "records[1].addition.texts: expected 2 elements\nrec.json:1:238: "
       "domains[0].records[1].addition.terminal.value: out of range 0 to 65535\n",
       "", ""},
      {"check --json lists what it found",
       "truncate -s 100 data/RB000001.C01; $MORVIT check data --json -", 1, "",
       "\"command\": \"check\",\n  \"exitStatus\": 1", ""},
      {"a run that needed an answer it was not given names it",
       "$MORVIT backtranslate pc --data data -q" + kAnswer, 1,
       "give them with --answer GetMaxTask=N", "", ""},
      {"a directory without domains says so", "mkdir empty; $MORVIT backtranslate pc --data empty",
       1, "empty: no domain files in this directory", "", "GetPCProgNo answered 0"},
      {"a full disk under the recording names the file, not the statement",
       "trap '' XFSZ; ulimit -f 2; $MORVIT backtranslate db --data data -q", 1,
       "the database file db.sqlite cannot be written", "", "CREATE TABLE"},
      {"a database path that is no file is left alone",
       "mkfifo pipe; $MORVIT backtranslate db --data data --db pipe -q; s=$?; test -p pipe && exit "
       "$s",
       1, "the database file pipe is not a regular file", "", ""},
      {"a listing that cannot be put in place names the user's listing",
       "mkdir -p data/RB000001.D01/x; TMPDIR=$PWD/tmp; mkdir tmp; export TMPDIR; "
       "$MORVIT dump data/RB000001.C01",
       1, "data/RB000001.D01: access denied", "", "~listing"},
      {"an interrupt from outside at any moment leaves no scratch space",
       "set -m; mkdir tmp; for d in 0 0.002 0.005 0.01 0.02 0.05 0.1; do "
       "TMPDIR=$PWD/tmp $MORVIT backtranslate pc --data data -q --answer GetMaxTask=3" +
           kAnswer +
           " & p=$!; sleep $d; kill -INT $p; wait $p; s=$?; "
           "[ $s = 0 ] || [ $s = 130 ] || echo \"status $s\" >&2; done; ls -A tmp | wc -l",
       0, "", "0\n", "status"},
      {"a job's check shows its progress on a terminal",
       "script -qec \"$MORVIT generate job.json --data gen\" /dev/null | grep -c 'checking "
       "job.json'",
       0, "", "1\n", ""},
      {"no progress lines in a log",
       "$MORVIT backtranslate pc --data data" + kAnswer +
           " --answer GetMaxTask=3 2>&1 >/dev/null | grep -c '%' || true",
       0, "", "0\n", ""},
      {"progress lines in a log for -v",
       "$MORVIT backtranslate pc -v --data data" + kAnswer +
           " --answer GetMaxTask=3 2>&1 >/dev/null | grep -c '100%'",
       0, "", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testutil::ScratchDir dir;
    ASSERT_EQ(tooltest::GenerateExample(dir.path()).status, 0);
    std::filesystem::copy_file(MORVIT_SOURCE_DIR "/examples/job.json", dir.path() / "job.json");
    const auto result = tooltest::RunScript(dir.path(), c.script);
    EXPECT_EQ(result.status, c.status) << result.err;
    EXPECT_NE(result.err.find(c.err), std::string::npos) << result.err;
    EXPECT_NE(result.out.find(c.out), std::string::npos) << result.out;
    if (!c.absent.empty()) {
      EXPECT_EQ(result.err.find(c.absent), std::string::npos) << result.err;
    }
  }
}

// One table of exit statuses: the tool's help, the manual page and docs/tool-safety.md say the
// same.
TEST(FailureWords, ExitStatusesAreOneTable) {
  testutil::ScratchDir dir;
  const auto table = tooltest::RunTool(dir.path(), "--generate-exit-statuses");
  ASSERT_EQ(table.status, 0);
  EXPECT_NE(tooltest::ReadText(MORVIT_SOURCE_DIR "/docs/tool-safety.md").find(table.out),
            std::string::npos)
      << table.out;
  for (const char* status : {"130 interrupted", "143 terminated", "141 standard output",
                             "0 the same; 1 different; 2 trouble", "0 the site written"}) {
    EXPECT_NE(table.out.find(status), std::string::npos) << status;
    EXPECT_NE(tooltest::RunTool(dir.path(), "help").out.find(status), std::string::npos) << status;
  }
  EXPECT_NE(tooltest::RunTool(dir.path(), "--generate-man").out.find("\\-\\-strict"),
            std::string::npos);
  const std::string diffHelp = tooltest::RunTool(dir.path(), "help diff").out;
  EXPECT_NE(diffHelp.find("diff: 0 the same"), std::string::npos) << diffHelp;
  EXPECT_EQ(diffHelp.find("generate:"), std::string::npos) << diffHelp;
}

}  // namespace

}  // namespace morvit
