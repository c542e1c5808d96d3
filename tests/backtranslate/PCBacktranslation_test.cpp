// The PC program back-translation of a complete data set into a logging database: the whole
// call sequence of a run, the task order for each maximum, missing domains that are passed over
// or stop the run, every database answer that stops it, cancels and the sorts owed.
#include "backtranslate/PCBacktranslation.h"

#include <algorithm>
#include <filesystem>

#include "fixtures/DomainBuilders.h"
#include "fixtures/LoggingDatabase.h"
#include "fixtures/ProgramDataSet.h"
#include "morvit/VDatabase.h"
#include "morvit/VManager.h"

namespace morvit {

using namespace testutil;

namespace {

using Lines = std::vector<std::string>;

class PCBacktranslationTest : public DomainTypeTest {
 protected:
  int Run(std::uint16_t maxTask) {
    database.pcProgramNumber = kSampleProgram;
    database.answers["GetMaxTask"] = maxTask;
    return VManager(&database).PCBacktranslate();
  }
  bool Exists(const std::string& name) const {
    return std::filesystem::exists(host.DataDirectory() + name);
  }
  void Remove(const std::string& name) const {
    ASSERT_TRUE(std::filesystem::remove(host.DataDirectory() + name)) << name;
  }
  std::size_t Count(const std::string& line) const {
    return static_cast<std::size_t>(std::count(database.calls.begin(), database.calls.end(), line));
  }
  // The calls from the first `from` line on (the whole log if there is none).
  Lines TailFrom(const std::string& from) const {
    auto it = std::find(database.calls.begin(), database.calls.end(), from);
    return {it, database.calls.end()};
  }

  LoggingDatabase database;
};

// What a task's description and program hand over, with the program's sort around it.
Lines Task(std::uint16_t task) {
  const std::string t = std::to_string(task);
  const std::string polo = "67 " + t + " " + std::to_string(ProgramVersion(task)) + " 7";
  Lines lines = {"Insert 65535 49 24", "SetObjectId 49 " + t + " 1", "SaveExecPitch",
                 "ClearSort " + polo, "Insert 604 610 1"};
  if (task == 2) lines.push_back("Insert 580 590 0");
  for (const std::string& line :
       {std::string("SetBeginProgVarPOLO 4660"),
        "SetObjectId 65 " + t + " " + std::to_string(ProgramVersion(task)),
        std::string("FinishTask"), "BackupSort " + polo}) {
    lines.push_back(line);
  }
  return lines;
}

Lines BasePass(int info, std::initializer_list<std::uint16_t> tasks, std::uint16_t maxTask) {
  Lines lines = {"SetAdditionalInfo " + std::to_string(info)};
  for (const std::uint16_t task : tasks) {
    (void)task;
    lines.push_back("GetMaxTask " + std::to_string(maxTask));
    lines.push_back("Insert 65535 78 16");
  }
  lines.push_back("GetMaxTask " + std::to_string(maxTask));
  return lines;
}

Lines Join(std::initializer_list<Lines> parts) {
  Lines all;
  for (const Lines& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

TEST_F(PCBacktranslationTest, CompleteRunOfThreeTasks) {
  WriteProgramDataSet(3);
  EXPECT_EQ(Run(3), 1);
  const Lines resourceBase = {"Insert 65535 46 16", "Insert 4256 46 12"};
  const Lines expected = Join({
      {"Initialize", "GenerateMoveBlocks", "GetPCProgNo 1", "ClearSort 35 0 4 7", "GetMaxTask 3"},
      Task(3),
      {"GetMaxTask 3"},
      Task(1),
      {"GetMaxTask 3"},
      Task(2),
      {"GetMaxTask 3", "Insert 65535 33 66", "SetObjectId 33 0 4", "SetPCProgNo 7",
       "Insert 65535 3 6", "SetAdditionalInfo 7"},
      resourceBase,
      BasePass(7, {3, 1, 2}, 3),
      {"SetCallParam1OfSlavem", "PrepareConnections", "InsertConnections",
       "SetAdditionalInfo 1792"},
      resourceBase,
      BasePass(1792, {3, 1, 2}, 3),
      {"Insert 65535 117 8", "Insert 65535 116 8", "Insert 65535 118 8", "SetResourcePitch",
       "RestoreDBElemsMMI 1", "RestoreTypeCircuits 1", "PCTCRestored 0",
       "InsertTCTermsInPOLODomains 1", "BackupSort 35 0 4 7", "CreateSoftPageNumbers",
       "SetAllExecPitches", "Save"},
  });
  EXPECT_EQ(database.calls, expected);
  // The newest resource's load file and the programs' load files of their versions are gone.
  EXPECT_FALSE(Exists(ProgramFileName(35, 0, 4)));
  EXPECT_TRUE(Exists(ProgramFileName(35, 0, 3)));
  for (std::uint16_t task = 1; task <= 3; ++task) {
    EXPECT_FALSE(Exists(ProgramFileName(67, task, ProgramVersion(task))));
    EXPECT_TRUE(Exists(ProgramFileName(67, task, 1)));
  }
}

TEST_F(PCBacktranslationTest, TaskOrderFollowsTheMaximum) {
  const struct {
    std::uint16_t maximum;
    Lines taskIds;  // the TADE identities in the order handed over
  } rows[] = {
      {0, {}},
      {1, {"SetObjectId 49 1 1"}},
      {3, {"SetObjectId 49 3 1", "SetObjectId 49 1 1", "SetObjectId 49 2 1"}},
  };
  WriteProgramDataSet(3);
  for (const auto& row : rows) {
    SCOPED_TRACE(row.maximum);
    database.calls.clear();
    EXPECT_EQ(Run(row.maximum), 1);
    EXPECT_EQ(database.CallsStartingWith("SetObjectId 49"), row.taskIds);
    EXPECT_EQ(database.CallsStartingWith("Insert 65535 78").size(), 2 * row.taskIds.size());
    WriteProgramDataSet(3);  // the load files again
  }
}

// Missing files: a lower task's description and the bases are passed over; the maximum task's
// description, a program and the resource description stop the run (with the owed sorts).
TEST_F(PCBacktranslationTest, MissingDomainsArePassedOverOrStopTheRun) {
  const struct {
    const char* name;
    std::string missing;
    int result;
    std::size_t taskDescriptions;  // TADE handed over
    std::size_t inserts;           // all Insert calls
  } rows[] = {
      // A complete run hands over 22 elements.
      {"TADE of a lower task", ProgramFileName(49, 2, 1), 1, 2, 22 - 3},
      {"TADE of the maximum task", ProgramFileName(49, 3, 1), 0, 0, 0},
      {"PODE of a lower task", ProgramFileName(65, 1, ProgramVersion(1)), 0, 2, 3},
      {"NOBA", ProgramFileName(3, 0, 1), 1, 3, 22 - 1},
      {"REBA", ProgramFileName(46, 0, 1), 1, 3, 22 - 4},
      {"POBA of task 1", ProgramFileName(78, 1, 1), 1, 3, 22 - 2},
      {"BOBA 116", ProgramFileName(116, 0, 1), 1, 3, 22 - 1},
      {"REDE", "", 0, 0, 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    for (const auto& name : FilesWithExtensionLetter(host.DataDirectory(), 'C'))
      std::filesystem::remove(name);
    WriteProgramDataSet(3);
    if (row.missing.empty()) {
      Remove(ProgramFileName(33, 0, 3));
      Remove(ProgramFileName(33, 0, 4));
    } else {
      Remove(row.missing);
    }
    database.calls.clear();
    EXPECT_EQ(Run(3), row.result);
    EXPECT_EQ(database.CallsStartingWith("Insert 65535 49").size(), row.taskDescriptions);
    EXPECT_EQ(database.CallsStartingWith("Insert ").size(), row.inserts);
    const bool resourceRead = !row.missing.empty();
    EXPECT_EQ(Count("BackupSort 35 0 4 7"), resourceRead ? 1u : 0u);
    if (row.result == 0 && resourceRead) {
      EXPECT_EQ(database.calls.back(), "BackupSort 35 0 4 7");
    }
  }
}

// Each database answer that stops the run: the run ends there with the resource's sort backed
// up once (before the sort is owed, nothing is backed up).
TEST_F(PCBacktranslationTest, DatabaseAnswersThatStopTheRun) {
  const struct {
    const char* answer;
    Lines tail;
    const char* stop;  // the run event that says why
  } rows[] = {
      {"GetPCProgNo", {"GetPCProgNo 0"}, "stopped answer GetPCProgNo "},
      {"RestoreDBElemsMMI",
       {"RestoreDBElemsMMI 0", "BackupSort 35 0 4 7"},
       "stopped answer RestoreDBElemsMMI "},
      {"RestoreTypeCircuits",
       {"RestoreTypeCircuits 0", "BackupSort 35 0 4 7"},
       "stopped answer RestoreTypeCircuits "},
      {"InsertTCTermsInPOLODomains",
       {"InsertTCTermsInPOLODomains 0", "BackupSort 35 0 4 7"},
       "stopped answer InsertTCTermsInPOLODomains "},
  };
  WriteProgramDataSet(3);
  for (const auto& row : rows) {
    SCOPED_TRACE(row.answer);
    database.calls.clear();
    database.answers.clear();
    database.answers[row.answer] = 0;
    host.events.clear();
    EXPECT_EQ(Run(3), 0);
    EXPECT_EQ(TailFrom(row.tail.front()), row.tail);
    EXPECT_EQ(host.events.back(), row.stop);
    EXPECT_EQ(std::count_if(host.events.begin(), host.events.end(),
                            [](const std::string& e) { return e.starts_with("stopped"); }),
              1);
    WriteProgramDataSet(3);
  }
}

TEST_F(PCBacktranslationTest, RestoredTypeCircuitsAddAThirdBasePass) {
  WriteProgramDataSet(3);
  database.answers["PCTCRestored"] = 1;
  EXPECT_EQ(Run(3), 1);
  EXPECT_EQ(TailFrom("PCTCRestored 1"),
            Join({{"PCTCRestored 1"},
                  BasePass(65535, {3, 1, 2}, 3),
                  {"InsertTCTermsInPOLODomains 1", "BackupSort 35 0 4 7", "CreateSoftPageNumbers",
                   "SetAllExecPitches", "Save"}}));
}

// A cancel in any step after the resource's sort is owed backs it up exactly once; a cancel
// inside a program backs up the program's sort first.
TEST_F(PCBacktranslationTest, CancelBacksUpTheOwedSortsOnce) {
  const struct {
    int query;  // the cancel query that answers "cancel"
    Lines tail;
    const char* domain;  // the domain being handed over
  } rows[] = {
      {1, {"GetMaxTask 3", "BackupSort 35 0 4 7"}, "TD030001.C07"},  // the maximum task
      {2, {"ClearSort 67 3 13 7", "BackupSort 67 3 13 7", "BackupSort 35 0 4 7"}, "PD030013.C07"},
      {9, {"SetPCProgNo 7", "BackupSort 35 0 4 7"}, "NB000001.C07"},        // the NOBA
      {21, {"Insert 65535 117 8", "BackupSort 35 0 4 7"}, "B1000001.C07"},  // BOBA 116
  };
  WriteProgramDataSet(3);
  for (const auto& row : rows) {
    SCOPED_TRACE(row.query);
    host.cancelQueries = 0;
    host.CancelAtQuery(row.query);
    database.calls.clear();
    host.events.clear();
    EXPECT_EQ(Run(3), 0);
    EXPECT_EQ(host.events.back(), std::string("stopped cancel  ") + row.domain);
    EXPECT_EQ(host.events.end()[-2], std::string("ended ") + row.domain);
    EXPECT_EQ(TailFrom(row.tail.front()), row.tail);
    EXPECT_EQ(Count("BackupSort 35 0 4 7"), 1u);
    WriteProgramDataSet(3);  // the load files again
  }
}

TEST(PCBacktranslation, LibraryDatabaseAndNoDatabaseStopAtOnce) {
  VDatabase database;
  EXPECT_EQ(VManager(&database).PCBacktranslate(), 0);
  EXPECT_EQ(VManager().PCBacktranslate(), 0);
}

}  // namespace

}  // namespace morvit
