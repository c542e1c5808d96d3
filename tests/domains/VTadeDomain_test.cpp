// The task description's hand-over: one element holding the body, its identity and time stamp,
// with progress at 10, 90 and 100 percent; a cancel before anything is handed over; listing.
#include "domains/VTadeDomain.h"

#include "fixtures/DomainBuilders.h"
#include "fixtures/LoggingDatabase.h"
#include "fixtures/ProgramContents.h"

namespace morvit {

using namespace testutil;

namespace {

using TadeTest = DomainTypeTest;

std::vector<std::pair<int, int>> Messages(const FakeHost& host) {
  std::vector<std::pair<int, int>> messages;
  for (const auto& m : host.sent) messages.emplace_back(m.number, m.value);
  return messages;
}

TEST_F(TadeTest, BodyGoesOverWithIdentityAndTimeStamp) {
  VWriteTade(TestParcel(49), SampleTask());
  LoggingDatabase database;
  EXPECT_EQ(ReadBack<VTadeDomain>(49, &database)->Backtranslate(), 1);
  EXPECT_EQ(database.calls, (std::vector<std::string>{"Insert 65535 49 24", "SetObjectId 49 0 1",
                                                      "SaveExecPitch"}));
  EXPECT_EQ(database.elements.at(0),
            (Bytes{0, 1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 6, 0, 7, 0, 8, 0, 9, 0, 10, 0, 11, 0, 12}));
  EXPECT_EQ(Messages(host),
            (std::vector<std::pair<int, int>>{{1065, 10}, {1064, 0}, {1065, 90}, {1065, 100}}));
  EXPECT_EQ(host.sent[0].text, "TD000001.C01");
  EXPECT_EQ(host.pumps, 3);
}

TEST_F(TadeTest, CancelBeforeTheHandOverSendsNothingToTheDatabase) {
  VWriteTade(TestParcel(49), SampleTask());
  host.CancelAtQuery(1);
  LoggingDatabase database;
  EXPECT_EQ(ReadBack<VTadeDomain>(49, &database)->Backtranslate(), 0);
  EXPECT_TRUE(database.calls.empty());
  EXPECT_EQ(Messages(host), (std::vector<std::pair<int, int>>{{1065, 10}, {1064, 0}}));
}

TEST_F(TadeTest, ListingLabelsEveryWord) {
  VWriteTade(TestParcel(49), SampleTask());
  ReadBack<VTadeDomain>(49, nullptr)->WriteDomain(1);
  const Bytes listing = OnlyFile('D');
  const std::string text(listing.begin(), listing.end());
  for (const char* line : {"   14:        1       1   0   1  ..  TaskNumber\n",
                           "   24:        6       6   0   6  ..  InstanceKey\n",
                           "   36:        c      12   0  12  ..  CallParameter\n"}) {
    EXPECT_NE(text.find(line), std::string::npos) << line << "in\n" << text;
  }
}

}  // namespace

}  // namespace morvit
