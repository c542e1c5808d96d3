// The program's hand-over: the sections in their order, section 0 sorted by its sub-section
// markers in two passes (SetLevel at each 652/656 end), the pre-program layout, the progress
// ending at 100 before the closing calls, and a cancel that stops before them.
#include "domains/VPodeDomain.h"

#include "fixtures/DomainBuilders.h"
#include "fixtures/LoggingDatabase.h"
#include "fixtures/ProgramContents.h"

namespace morvit {

using namespace testutil;

namespace {

using PodeTest = DomainTypeTest;

const std::vector<std::string> kClosingCalls = {"SetBeginProgVarPOLO 4660", "SetObjectId 65 0 1",
                                                "FinishTask"};

TEST_F(PodeTest, ElementsGoOverSortedBySubSections) {
  const struct {
    const char* name;
    VPodeContent program;
    std::vector<std::string> inserts;
    int steps;
  } rows[] = {
      {"without pre-program",
       ProgramWithoutPreProgram(),
       {"Insert 604 610 1", "Insert 604 612 0", "Insert 660 680 3", "Insert 568 570 2",
        // first pass over section 0: code 0 anywhere, 604 and 660 sub-sections
        "Insert 0 0 1", "Insert 604 620 1", "Insert 660 670 0",
        // second pass: code 8 anywhere, the 652 sub-section, SetLevel at its end
        "Insert 8 8 1", "Insert 8 8 0", "Insert 652 653 1", "SetLevel -1 1"},
       2 + 1 + 1 + 13},
      {"with pre-program",
       ProgramWithPreProgram(),
       {"Insert 604 610 1", "Insert 604 612 0", "Insert 660 680 3", "Insert 568 570 2",
        "Insert 580 590 1", "Insert 652 653 1", "Insert 652 655 0"},
       2 + 1 + 1 + 1 + 2},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    host.sent.clear();
    VWritePode(TestParcel(65), row.program);
    LoggingDatabase database;
    EXPECT_EQ(ReadBack<VPodeDomain>(65, &database)->Backtranslate(), 1);
    std::vector<std::string> expected = row.inserts;
    expected.insert(expected.end(), kClosingCalls.begin(), kClosingCalls.end());
    EXPECT_EQ(database.calls, expected);
    std::vector<int> percents;
    for (const auto& m : host.sent)
      if (m.number == 1065) percents.push_back(m.value);
    ASSERT_EQ(percents.size(), static_cast<std::size_t>(row.steps));
    EXPECT_EQ(percents.front(), 100 / row.steps);
    EXPECT_EQ(percents.back(), 100);
  }
}

// A cancel at the fourth step (the first of the second pass over section 0) stops after the
// first pass: no closing calls.
TEST_F(PodeTest, CancelStopsBeforeTheClosingCalls) {
  VWritePode(TestParcel(65), ProgramWithoutPreProgram());
  host.CancelAtQuery(5);
  LoggingDatabase database;
  EXPECT_EQ(ReadBack<VPodeDomain>(65, &database)->Backtranslate(), 0);
  EXPECT_EQ(database.calls,
            (std::vector<std::string>{"Insert 604 610 1", "Insert 604 612 0", "Insert 660 680 3",
                                      "Insert 568 570 2", "Insert 0 0 1", "Insert 604 620 1",
                                      "Insert 660 670 0"}));
}

// Nothing to hand over: no progress step (no division by zero), only the closing calls.
TEST_F(PodeTest, EmptyProgramSendsOnlyTheClosingCalls) {
  VPodeContent empty;
  empty.offsetToProgVar = 0x1234;
  VWritePode(TestParcel(65), empty);
  LoggingDatabase database;
  EXPECT_EQ(ReadBack<VPodeDomain>(65, &database)->Backtranslate(), 1);
  EXPECT_EQ(database.calls, kClosingCalls);
  EXPECT_TRUE(host.sent.empty());
}

}  // namespace

}  // namespace morvit
