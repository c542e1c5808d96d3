// The COIO domain: progress without a cancel query, the hand-over and the listing's labels.
#include "domains/VCoioDomain.h"

#include <sstream>

#include "fixtures/ConfigDataSet.h"
#include "fixtures/DomainBuilders.h"
#include "fixtures/LoggingDatabase.h"

namespace morvit {

using namespace testutil;

namespace {

constexpr std::uint16_t kCoio = 26;

class CoioTest : public DomainTypeTest {};

// Notes how many progress messages came before each element.
class ProgressAtInsert : public LoggingDatabase {
 public:
  explicit ProgressAtInsert(const FakeHost& host) : m_host(host) {}
  void Insert(std::uint16_t code, VElement* element) override {
    sentBefore.push_back(m_host.sent.size());
    LoggingDatabase::Insert(code, element);
  }
  std::vector<std::size_t> sentBefore;

 private:
  const FakeHost& m_host;
};

TEST_F(CoioTest, ProgressBeforeEachElementAndNoCancel) {
  VCoioContent coio;
  coio.hardwareInit = Elements(864, 4, 2);
  VWriteCoio(ConfigParcel(kCoio), coio);
  host.CancelAtQuery(1);
  ProgressAtInsert database(host);
  EXPECT_EQ(ReadBack<VCoioDomain>(kCoio, &database)->Backtranslate(), 1);
  EXPECT_EQ(Progress(), (std::vector<int>{25, 50, 75, 100}));
  EXPECT_EQ(database.sentBefore, (std::vector<std::size_t>{1, 2, 3, 4}));
  EXPECT_EQ(host.cancelQueries, 0);
  EXPECT_EQ(database.calls.back(), "SetObjectId 26 0 1");
  EXPECT_EQ(database.calls.size(), 5u);
}

TEST_F(CoioTest, EmptySectionStillSetsTheObjectIdAndNoDatabaseNothing) {
  VWriteCoio(ConfigParcel(kCoio), {});
  LoggingDatabase database;
  EXPECT_EQ(ReadBack<VCoioDomain>(kCoio, &database)->Backtranslate(), 1);
  EXPECT_EQ(database.calls, (std::vector<std::string>{"SetObjectId 26 0 1"}));
  EXPECT_EQ(ReadBack<VCoioDomain>(kCoio, nullptr)->Backtranslate(), 1);
  EXPECT_TRUE(host.sent.empty());
}

TEST_F(CoioTest, ListingShowsTheFieldsWithTheirLabels) {
  VWriteCoio(ConfigParcel(kCoio), SampleCoio());
  ReadBack<VCoioDomain>(kCoio, nullptr)->WriteDomain(1);
  const Bytes listing = OnlyFile('D');
  std::istringstream lines(std::string(listing.begin(), listing.end()));
  std::vector<std::string> labels;
  for (std::string line; std::getline(lines, line);) {
    if (line.size() > 37 && line[5] == ':') labels.push_back(line.substr(37));
  }
  const std::vector<std::string> body(labels.begin() + 7, labels.begin() + 11);
  EXPECT_EQ(body, (std::vector<std::string>{"NetStart", "BusNo", "Config HWInitStart", "FBSize"}));
  EXPECT_EQ(labels.back(), "FBSize");
  EXPECT_EQ(labels[labels.size() - 2], "Config HWInitEnd");
}

}  // namespace

}  // namespace morvit
