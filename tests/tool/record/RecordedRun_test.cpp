// A recorded run around a run of the library, simulated here through the public host services
// and the manager's database: progress names the domain file of each call, Ctrl-C answers the
// next cancel query, and the SQLite output keeps every domain file finished before the stop.
#include "record/RecordedRun.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

#include "cli/Failure.h"
#include "fixtures/TestUtil.h"
#include "morvit/VElement.h"
#include "morvit/VHostServices.h"
#include "tool/ToolRun.h"

namespace morvit {

namespace {

using morvit::tool::RecordedRunSettings;
using morvit::tool::RunRecorded;

using tooltest::Query;

// Hands over one element per domain file as a library run does: progress, pump, cancel query,
// then Insert between the domain's begun and ended events; stops (0) when the cancel query says so.
// The user presses Ctrl-C during the second file's element.
int SimulatedRun(VManager& manager, int) {
  VDatabase& database = *manager.GetDatabase();
  database.Initialize();
  for (const char* file : {"NB000001.C01", "RB000001.C01", "PB000001.C01"}) {
    Host().SendMessageToUI(kMessageProgress, 100, file);
    if (Host().SendMessageToUI(kMessageCancelQuery, 0, "") != 0) return 0;
    Host().DomainBegun(file, 3);
    VElement element(3);
    database.Insert(0xFFFF, &element);
    Host().DomainEnded(file, 3);
    if (std::string(file) == "RB000001.C01") std::raise(SIGINT);
  }
  database.Save();
  return 1;
}

TEST(RecordedRun, InterruptStopsTheRunAndKeepsWhatWasHandedOver) {
  testutil::ScratchDir dir;
  RecordedRunSettings settings;
  settings.command = "pc";
  settings.database = dir.File("pc.sqlite");
  settings.json = dir.File("pc.jsonl");
  try {
    RunRecorded(settings, SimulatedRun);
    ADD_FAILURE() << "a stopped run must fail";
  } catch (const morvit::tool::Failure& failure) {
    EXPECT_STREQ(failure.what(),
                 "pc back-translation stopped: interrupted; the output keeps what was handed over");
  }
  EXPECT_EQ(Query(settings.database, "SELECT domain_file, operation FROM calls ORDER BY seq"),
            "|Initialize\nNB000001.C01|Insert\nRB000001.C01|Insert\n");
  EXPECT_EQ(Query(settings.database, "SELECT * FROM run"), "pc|0\n");
  const std::string lines = tooltest::ReadText(settings.json);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 3 + 2 + 1);
}

TEST(RecordedRun, CompletedRunWithoutInterrupt) {
  testutil::ScratchDir dir;
  RecordedRunSettings settings;
  settings.command = "db";
  settings.database = dir.File("db.sqlite");
  const int status = RunRecorded(settings, [](VManager& manager, int) {
    manager.GetDatabase()->Initialize();
    return manager.GetDatabase()->GenerateBoteDomain();
  });
  EXPECT_EQ(status, 0);
  EXPECT_EQ(Query(settings.database, "SELECT operation, answer FROM calls"),
            "Initialize|\nGenerateBoteDomain|1\n");
  EXPECT_EQ(Query(settings.database, "SELECT * FROM run"), "db|1\n");
}

TEST(BacktranslateCommand, UsageErrors) {
  testutil::ScratchDir dir;
  for (const char* arguments :
       {"backtranslate", "backtranslate pcb", "backtranslate pc --answer GetMaxTask",
        "backtranslate pc --answer Frobnicate=1", "backtranslate pc --answer GetMaxTask=70000"}) {
    SCOPED_TRACE(arguments);
    const auto result = tooltest::RunTool(dir.path(), arguments);
    EXPECT_EQ(result.status, 2) << result.err;
    EXPECT_FALSE(std::filesystem::exists(dir.File("pc.sqlite")));
  }
}

}  // namespace

}  // namespace morvit
