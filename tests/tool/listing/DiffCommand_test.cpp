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

constexpr const char* kTableDifferences = R"(--- A/AD000001.C00
+++ B/AD000001.C00
@@ part 1 > section body @@
-  (word)  0000  0  at 11510
+  (word)  0007  7  at 11510
)";

// The field differences of the two resource bases without their time stamps: the header words
// that follow from the change, one element inserted, one value changed.
constexpr const char* kRebaDifferences = R"(@@ header common header @@
-  OffsetToLastByte  008b  139  at 0
+  OffsetToLastByte  00a5  165  at 0
-  Version  0001  1  at 4
+  Version  0002  2  at 4
@@ section ElementStart > element 46 TypCode FB #1 added @@
+  TypCode FB  002e  46  at 78
+  BlockSize  001a  26  at 80
+  (word)  0002  2  at 82
+  (word)  0019  25  at 84
+  (word)  0015  21  at 86
+  (word)  0016  22  at 88
+  (word)  0017  23  at 90
+  (word)  0018  24  at 92
+  (word)  0007  7  at 94
+  (word)  4d4f  19791  at 96
+  (word)  544f  21583  at 98
+  (word)  525f  21087  at 100
+  (word)  3200  12800  at 102
@@ section ElementStart > element 46 TypCode FB #2 @@
-  (word)  0021  33  at 90
+  (word)  0063  99  at 116
)";

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
       "-  Date  3587  13703  at 6\n+  Date  3588  13704  at 6\n", true},
      {"diff A/RB000001.C01 A/RB000001.C01", 0, "", false},
      {"diff --no-times A/AD000001.C00 B/AD000001.C00", 1, kTableDifferences, false},
      {"diff --format json --no-times A/RB000001.C01 B/RB000002.C01", 1,
       R"({"event":"difference","kind":"changed","place":"section ElementStart > element 46 TypCode FB #2","label":"","a":{"offset":90,"hex":"0021","value":33},"b":{"offset":116,"hex":"0063","value":99}})",
       true},
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
  EXPECT_EQ(result.out,
            std::string("removed NB scope 0 object 01: NB000001.C01 -> -\n"
                        "added TD scope 0 object 01: - -> TD000001.C01\n"
                        "changed AD scope 0 object 00: AD000001.C00 -> AD000001.C00\n"
                        "changed RB scope 0 object 01: RB000001.C01 -> RB000002.C01\n"
                        "changed TD scope 2 object 01: TD020001.C01 -> TD020001.C01\n") +
                kTableDifferences + "--- A/RB000001.C01\n+++ B/RB000002.C01\n" + kRebaDifferences +
                "--- A/TD020001.C01\n+++ B/TD020001.C01\n"
                "@@ header TADE, task_no @@\n"
                "-  Cycle Time / Event#  0064  100  at 18\n"
                "+  Cycle Time / Event#  00c8  200  at 18\n");
  // Nothing written into the data sets: no listing, no expanded copy.
  EXPECT_EQ(Files("A"), before);
  EXPECT_EQ(Files("A"), (std::vector<std::string>{"AD000001.C00", "AD010001.C00", "NB000001.C01",
                                                  "RB000001.C01", "TD010001.C01", "TD020001.C01"}));
  EXPECT_EQ(RunTool(dir.path(), "diff A A").status, 0);
}

}  // namespace

}  // namespace morvit
