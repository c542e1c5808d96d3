// The PC program of the example job back-translated by the tool: the recorded rows of a
// complete run, and a Ctrl-C during the run that stops it with what was handed over kept.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>

#include "cli/Failure.h"
#include "fixtures/TestUtil.h"
#include "morvit/VManager.h"
#include "record/RecordedRun.h"
#include "tool/ToolRun.h"

namespace morvit {

namespace {

using tooltest::Query;

class ExamplePcProgram : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(tooltest::GenerateExample(dir.path()).status, 0); }
  testutil::ScratchDir dir;
};

TEST_F(ExamplePcProgram, CompleteRunIsRecorded) {
  const auto result = tooltest::RunTool(
      dir.path(), "backtranslate pc -v --data data --answer GetPCProgNo=1 --answer GetMaxTask=3");
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out,
            "pc back-translation completed: 19 domains, 95 calls, 40 elements -> pc.sqlite\n");
  // Plain progress lines on a pipe with -v (after its notes): the first task is the maximum one.
  const std::size_t bar = result.err.find('[');
  EXPECT_EQ(result.err.substr(bar, result.err.find('\n', bar) - bar), "[0/15] TD030001.C01  90%");
  const std::string db = dir.File("pc.sqlite");
  EXPECT_EQ(Query(db, "SELECT * FROM run"), "pc|1\n");
  EXPECT_EQ(Query(db,
                  "SELECT domain_file, count(*) FROM elements GROUP BY domain_file "
                  "ORDER BY min(seq)"),
            "TD030001.C01|1\nPD030001.C01|3\nTD010001.C01|1\nPD010001.C01|3\nTD020001.C01|1\n"
            "PD020001.C01|3\nRD000001.C01|1\nNB000001.C01|1\nRB000001.C01|8\nPB030001.C01|4\n"
            "PB010001.C01|4\nPB020001.C01|4\nB2000001.C01|2\nB1000001.C01|2\nB3000001.C01|2\n");
  EXPECT_EQ(Query(db,
                  "SELECT operation, domain_type, scope, version, object_number FROM objects "
                  "WHERE operation LIKE '%Sort' ORDER BY seq"),
            "ClearSort|35|0|1|1\n"
            "ClearSort|67|3|1|1\nBackupSort|67|3|1|1\n"
            "ClearSort|67|1|1|1\nBackupSort|67|1|1|1\n"
            "ClearSort|67|2|1|1\nBackupSort|67|2|1|1\n"
            "BackupSort|35|0|1|1\n");
  EXPECT_EQ(Query(db,
                  "SELECT code, element_code, hex(bytes) FROM elements "
                  "WHERE domain_file = 'NB000001.C01'"),
            "65535|3|00044D41494E000C50554D505F434F4E54524F4C000D56414C56455F47524F55505F4100\n");
}

// A sink between the recording database and SQLite that presses Ctrl-C once the tenth element
// has been handed over.
class InterruptingSink : public morvit::tool::RecordSink {
 public:
  void Write(const morvit::tool::Row& row) override {
    if (row.table == &morvit::tool::ElementsTable() && ++m_elements == 10) std::raise(SIGINT);
  }
  void EndDomainFile() override {}
  void Close() override {}

 private:
  int m_elements = 0;
};

TEST_F(ExamplePcProgram, CtrlCStopsTheRunAndKeepsWhatWasHandedOver) {
  // The library reads its data directory at first use: this test's run is the first here.
  setenv("MORVIT_DATA_DIR", dir.File("data").c_str(), 1);
  morvit::tool::RecordedRunSettings settings;
  settings.command = "pc";
  settings.database = dir.File("pc.sqlite");
  settings.answers.Set("GetPCProgNo", 1);
  settings.answers.Set("GetMaxTask", 3);
  InterruptingSink interrupting;
  settings.extraSinks = {&interrupting};
  EXPECT_THROW(
      RunRecorded(settings, [](VManager& manager, int) { return manager.PCBacktranslate(); }),
      morvit::tool::Failure);
  const std::string db = dir.File("pc.sqlite");
  EXPECT_EQ(Query(db, "SELECT * FROM run"), "pc|0\n");
  // The tenth element was the REDE's; the cancel query of the next domain file stops the run,
  // after the owed RELO sort is backed up.
  EXPECT_EQ(Query(db, "SELECT count(*), max(domain_file) FROM elements"), "10|TD030001.C01\n");
  EXPECT_EQ(Query(db, "SELECT operation, domain_type FROM objects ORDER BY seq DESC LIMIT 1"),
            "BackupSort|35\n");
}

}  // namespace

}  // namespace morvit
