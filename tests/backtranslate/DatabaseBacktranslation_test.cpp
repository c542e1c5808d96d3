// The database back-translation over a configuration data set built by the writers: the whole
// call sequence of a run against the fixed order, and every way a run stops or skips a domain.
#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "fixtures/ConfigDataSet.h"
#include "fixtures/DomainBuilders.h"
#include "fixtures/DomainFiles.h"
#include "fixtures/LoggingDatabase.h"
#include "morvit/VManager.h"

namespace morvit {

using namespace testutil;

namespace {

// A decoder table spread over three files.
constexpr std::size_t kCbdCount = 9000;

using Lines = std::vector<std::string>;

Lines CbdUpdates() {
  static const char* const kNames[] = {"DAT(B)", "DAT(I)",  "DAT(II)", "DAT(IL)",
                                       "DAT(R)", "DAT(NI)", "DATS(NI)"};
  std::vector<std::pair<std::string, std::size_t>> byName;
  for (std::size_t i = 0; i < kCbdCount; ++i) byName.push_back({"N" + std::to_string(i), i % 7});
  std::sort(byName.begin(), byName.end());
  Lines lines;
  for (const auto& [name, t] : byName)
    lines.push_back("Update " + std::string(kNames[t]) + " " + std::to_string(t));
  return lines;
}

Lines BxdCalls(int type) {
  Lines lines = {"FinishTask", "FinishTask", "FinishTask"};
  for (int program = 0; program < 3; ++program) {
    lines.insert(lines.end(), {"InsertBasicObject 604 608 4", "InsertBasicObject 604 608 4",
                               "InsertBasicObject 660 664 2", "InsertBasicObject 448 452 6"});
  }
  lines.push_back("SetObjectId " + std::to_string(type) + " 0 1");
  return lines;
}

// The calls of a complete run over the sample data set, in order.
Lines CompleteRun() {
  Lines lines = {"Initialize", "Insert 848 864 6", "Insert 848 868 10", "SetObjectId 26 0 1",
                 "ClearSort 20 0 1 0",
                 // CODA: COLE init, EVS calc, EVS MFB, EVS send, EVS trans, LN700, MVI, DAT,
                 // PARDAT, COPM init; never COLO init (code 772).
                 "Insert 936 776 4", "Insert 4124 800 4", "Insert 4140 804 8", "Insert 4096 792 4",
                 "Insert 4112 796 8", "Insert 820 784 4", "Insert 952 788 8", "Insert 4184 4184 6",
                 "Insert 4188 4188 3", "Insert 4160 780 8", "SetObjectId 17 0 1",
                 "SetColoCopmLength 4660 544", "BackupSort 20 0 1 0"};
  const Lines cbd = CbdUpdates();
  lines.insert(lines.end(), cbd.begin(), cbd.end());
  lines.insert(lines.end(), {"Update PARDAT(I) 10", "Update PARDAT(NI) 11", "Update PARDATS(NI) 12",
                             "Update PARDAT(II) 13", "Update PARDAT(IL) 14", "Update PARDAT(R) 15",
                             "Update PARDAT(B) 7", "Update PARDAT(NB) 8", "Update PARDATS(NB) 9",
                             "GenerateBoteDomain 1"});
  for (int type : {96, 98}) {
    const Lines bxd = BxdCalls(type);
    lines.insert(lines.end(), bxd.begin(), bxd.end());
  }
  lines.insert(lines.end(), {"InsertConnections", "SetConfigPitch", "CompleteRIOs 1"});
  return lines;
}

// The lines of `all` up to and including the first that equals `last`.
Lines UpTo(const Lines& all, const std::string& last) {
  const auto end = std::find(all.begin(), all.end(), last);
  return Lines(all.begin(), end == all.end() ? end : end + 1);
}

Lines Without(Lines all, const std::string& prefix, std::size_t keep = 0) {
  std::size_t kept = 0;
  std::erase_if(
      all, [&](const std::string& line) { return line.starts_with(prefix) && kept++ >= keep; });
  return all;
}

class DatabaseBacktranslationTest : public DomainTypeTest {};

TEST_F(DatabaseBacktranslationTest, RunsInTheFixedOrderAndStopsAsTheDatabaseAndUserSay) {
  const Lines all = CompleteRun();
  Lines afterCodaSort = UpTo(all, "SetObjectId 26 0 1");
  // The CODA domain reports a step once its element is handed over.
  afterCodaSort.insert(afterCodaSort.end(),
                       {"ClearSort 20 0 1 0", "Insert 936 776 4", "BackupSort 20 0 1 0"});
  Lines codaFails = UpTo(all, "Insert 4124 800 4");
  codaFails.push_back("BackupSort 20 0 1 0");
  Lines cbdFails = Without(all, "Update DAT", 1);

  struct Case {
    const char* name;
    std::function<void(LoggingDatabase&, FakeHost&)> setUp;
    DataSetGaps gaps;
    Lines expected;
    int result;
  };
  const Case cases[] = {
      {"complete", {}, {}, all, 1},
      {"CompleteRIOs says stop",
       [](auto& db, auto&) { db.answers["CompleteRIOs"] = 0; },
       {},
       [&] {
         Lines l = all;
         l.back() = "CompleteRIOs 0";
         return l;
       }(),
       0},
      {"GenerateBoteDomain says stop",
       [](auto& db, auto&) { db.answers["GenerateBoteDomain"] = 0; },
       {},
       [&] {
         Lines l = UpTo(all, "GenerateBoteDomain 1");
         l.back() = "GenerateBoteDomain 0";
         return l;
       }(),
       0},
      {"cancel in CODA", [](auto&, auto& host) { host.CancelAtQuery(1); }, {}, afterCodaSort, 0},
      {"cancel at the first decoder-table element",
       [](auto&, auto& host) { host.CancelAtQuery(9); },
       {},
       UpTo(all, "BackupSort 20 0 1 0"),
       0},
      {"database fails inside CODA",
       [](auto& db, auto&) { db.failOn = "Insert 4124"; },
       {},
       codaFails,
       0},
      {"database fails inside CbD: CbD skipped",
       [](auto& db, auto&) { db.failOn = "Update DAT"; },
       {},
       cbdFails,
       1},
      {"COIO missing", {}, {.coio = true}, {"Initialize"}, 0},
      {"CbD missing", {}, {.cbd = true}, Without(all, "Update DAT"), 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // Emptied, not removed: the run left it the current directory, which Windows keeps.
    for (const auto& entry : std::filesystem::directory_iterator(host.DataDirectory())) {
      std::filesystem::remove_all(entry.path());
    }
    WriteConfigDataSet(c.gaps.cbd ? 0 : kCbdCount, c.gaps);
    LoggingDatabase database;
    if (c.setUp) c.setUp(database, host);
    VManager manager(&database);
    EXPECT_EQ(manager.DBBacktranslate(), c.result);
    EXPECT_EQ(database.calls, c.expected);
    host.CancelAtQuery(0);
    host.cancelQueries = 0;
  }
}

TEST_F(DatabaseBacktranslationTest, DecoderTableSpreadsOverThreeFiles) {
  WriteConfigDataSet(kCbdCount);
  std::size_t cbdFiles = 0;
  for (const std::string& name : DataFileNames(host)) cbdFiles += name.starts_with("AD") ? 1 : 0;
  EXPECT_EQ(cbdFiles, 3u);
}

// Notes, when the sort is cleared, which of the given files are still there.
class SortWatch : public VDatabase {
 public:
  explicit SortWatch(std::vector<std::string> files) : m_files(std::move(files)) {}
  void ClearSort(ObjParcelType*) override {
    for (const std::string& file : m_files)
      if (std::filesystem::exists(file)) presentAtClearSort.push_back(file);
  }
  std::vector<std::string> presentAtClearSort;

 private:
  std::vector<std::string> m_files;
};

TEST_F(DatabaseBacktranslationTest, SortFilesAreGoneBeforeTheSortIsClearedWhetherOrNotTheyExisted) {
  WriteConfigDataSet(3);
  std::vector<std::string> files;
  for (const char* name : {"CE000001.C00", "COBIFFFD.C00", "COAOFFFD.C00", "KEEP.C00"}) {
    files.push_back(host.DataDirectory() + name);
    WriteWholeFile(files.back(), {1, 2, 3});
  }
  SortWatch database(files);
  VManager manager(&database);
  EXPECT_EQ(manager.DBBacktranslate(), 1);
  EXPECT_EQ(database.presentAtClearSort, (std::vector<std::string>{files.back()}));

  VDatabase defaults;
  EXPECT_EQ(VManager(&defaults).DBBacktranslate(), 1);
  EXPECT_EQ(VManager().DBBacktranslate(), 0);
}

}  // namespace

}  // namespace morvit
