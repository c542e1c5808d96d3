// `morvit diff`: two versions of a resource base (an entry inserted in the middle, a value
// changed, other time stamps), of a decoder table continued into a second file (a value changed
// there) and of the second of two tasks, compared as files and as data sets, through the tool
// as a process: the output, the exit statuses, and data sets left as they were.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "fixtures/TestUtil.h"
#include "tool/ToolRun.h"

namespace morvit {

namespace {

using tooltest::RunTool;

constexpr const char* kFirst = R"({"domains":[
 {"type":"REBA","object":1,"version":1,"time":"2026-12-07 08:30:00","records":[
  {"entry":{"key":1,"values":[1,2,3,4,5],"name":"PUMP_1"}},
  {"entry":{"key":3,"values":[31,32,33,34,35],"name":"VALVE_3"}},
  {"entry":{"key":4,"values":[41,42,43,44,45],"name":"FAN_4"}}]},
 {"type":"NOBA","object":1,"version":1,"time":"2026-12-07 08:30:00","texts":["first"]})";
constexpr const char* kSecond = R"({"domains":[
 {"type":"REBA","object":1,"version":2,"time":"2026-12-08 09:00:00","records":[
  {"entry":{"key":1,"values":[1,2,3,4,5],"name":"PUMP_1"}},
  {"entry":{"key":2,"values":[21,22,23,24,25],"name":"MOTOR_2"}},
  {"entry":{"key":3,"values":[31,32,99,34,35],"name":"VALVE_3"}},
  {"entry":{"key":4,"values":[41,42,43,44,45],"name":"FAN_4"}}]},
 {"type":"TADE","object":1,"version":1,"time":"2026-12-07 08:30:00","taskNumber":1})";

// Tasks 1 and 2 (scopes 1 and 2, consecutive but separate domains) with the cycle time of task 2,
// and a decoder table of 3000 descriptions, too many for one file, with the byte offset of
// description 999 (the last in name order: in the continuation file).
std::string TasksAndTable(int cycleTime, int offset) {
  std::string job;
  for (int task = 1; task <= 2; ++task) {
    job += R"(,{"type":"TADE","object":1,"version":1,"scope":)" + std::to_string(task) +
           R"(,"time":"2026-12-07 08:30:00","taskNumber":)" + std::to_string(task) +
           R"(,"cycleTime":)" + std::to_string(task == 2 ? cycleTime : 100) + "}";
  }
  job += R"(,{"type":"CbD","object":0,"version":1,"time":"2026-12-07 08:30:00","descriptions":[)";
  for (int i = 0; i < 3000; ++i) {
    job += std::string(i == 0 ? "" : ",") + R"({"typeIndex":2,"name":"ITEM_)" + std::to_string(i) +
           R"(","enumTexts":["OFF","ON"],"colo":[)" + std::to_string(i == 999 ? offset : i % 50) +
           ",0]}";
  }
  return job + "]}]}";
}

// The decoder table has no class listing: its words are listed as the file holds them, and its
// element descriptions read by their layout name the place by the element's name.
constexpr const char* kTableDifferences =
    "~ part 1 > section body > element DAT(II) \"ITEM_999\" ByteOffsetInCOLO: 0 -> 7  (file "
    "offset 11510)\n";

// The differences of the two resource bases without their time stamps: the header words that
// follow from the change, one entry inserted (with what it holds), one value changed; a
// compressed domain is compared expanded, and its offsets say so.
constexpr const char* kRebaDifferences =
    "~ header common header OffsetToLastByte: 139 (008b) -> 165 (00a5)  (offset in the expanded "
    "domain 0)\n"
    "~ header common header Version: 1 (0001) -> 2 (0002)  (offset in the expanded domain 4)\n"
    "+ entry 2 \"MOTOR_2\" added  (offset in the expanded domain 78)\n"
    "+     code: 46 TypCode FB\n"
    "+     key: 2\n"
    "+     value E: 25\n"
    "+     value A: 21\n"
    "+     value B: 22\n"
    "+     value C: 23\n"
    "+     value D: 24\n"
    "+     name: \"MOTOR_2\"\n"
    "+     BlockSize: 26 (001a)\n"
    "~ entry 3 \"VALVE_3\" value C: 33 -> 99  (offset in the expanded domain 90 -> 116)\n";

class TwoVersions : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ofstream(dir.File("first.json")) << kFirst << TasksAndTable(100, 0);
    std::ofstream(dir.File("second.json")) << kSecond << TasksAndTable(200, 7);
    ASSERT_EQ(RunTool(dir.path(), "generate first.json --data A").status, 0);
    ASSERT_EQ(RunTool(dir.path(), "generate second.json --data B").status, 0);
  }
  std::vector<std::string> Files(const std::string& directory) const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.File(directory))) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  testutil::ScratchDir dir;
};

TEST_F(TwoVersions, FilesDifferFieldByField) {
  struct Case {
    const char* arguments;
    int status;
    std::string out;  // exact, or (when `containing`) a part of it
    bool containing;
  };
  const Case cases[] = {
      {"diff --no-times A/RB000001.C01 B/RB000002.C01", 1,
       std::string("--- A/RB000001.C01\n+++ B/RB000002.C01\n") + kRebaDifferences, false},
      {"diff A/RB000001.C01 B/RB000002.C01", 1,
       "~ header common header Date: 2026-12-07 08:30:00.000 -> 2026-12-08 09:00:00.000  (offset "
       "in the expanded domain 6)\n",
       true},
      {"diff A/RB000001.C01 A/RB000001.C01", 0, "", false},
      {"diff --no-times A/AD000001.C00 B/AD000001.C00", 1,
       std::string("--- A/AD000001.C00\n+++ B/AD000001.C00\n") + kTableDifferences, false},
      {"diff --format json --no-times A/RB000001.C01 B/RB000002.C01", 1,
       R"({"event":"difference","kind":"changed","place":"entry 3 \"VALVE_3\"","offsets":"expanded","label":"value C","a":{"offset":90,"kind":"number","label":"value C","value":33},"b":{"offset":116,"kind":"number","label":"value C","value":99}})",
       true},
      {"diff --format json --no-times A/RB000001.C01 B/RB000002.C01", 1,
       R"("label":"name","value":"MOTOR_2","length":7})", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments);
    const auto result = RunTool(dir.path(), c.arguments);
    EXPECT_EQ(result.status, c.status) << result.err;
    if (c.containing) {
      EXPECT_NE(result.out.find(c.out), std::string::npos) << result.out;
    } else {
      EXPECT_EQ(result.out, c.out);
    }
  }
}

TEST_F(TwoVersions, TroubleIsStatusTwo) {
  for (const char* arguments :
       {"diff A/RB000001.C01 A/absent.C01", "diff A B/RB000002.C01", "diff A/RB000001.C01"}) {
    SCOPED_TRACE(arguments);
    EXPECT_EQ(RunTool(dir.path(), arguments).status, 2);
  }
}

TEST_F(TwoVersions, DataSetsDomainByDomainAndLeftAsTheyWere) {
  const auto before = Files("A");
  const auto result = RunTool(dir.path(), "diff --no-times A B");
  EXPECT_EQ(result.status, 1) << result.err;
  // Each changed domain once, its differences under it.
  EXPECT_EQ(result.out,
            std::string("removed NB scope 0 object 01: NB000001.C01 -> -\n"
                        "added TD scope 0 object 01: - -> TD000001.C01\n"
                        "changed AD scope 0 object 00: AD000001.C00 -> AD000001.C00\n") +
                kTableDifferences + "changed RB scope 0 object 01: RB000001.C01 -> RB000002.C01\n" +
                kRebaDifferences +
                "changed TD scope 2 object 01: TD020001.C01 -> TD020001.C01\n"
                "~ header TADE, task_no Cycle Time / Event#: 100 (0064) -> 200 (00c8)  (file "
                "offset 18)\n");
  // Nothing written into the data sets: no listing, no expanded copy.
  EXPECT_EQ(Files("A"), before);
  EXPECT_EQ(Files("A"), (std::vector<std::string>{"AD000001.C00", "AD010001.C00", "NB000001.C01",
                                                  "RB000001.C01", "TD010001.C01", "TD020001.C01"}));
  EXPECT_EQ(RunTool(dir.path(), "diff A A").status, 0);
}

}  // namespace

}  // namespace morvit
