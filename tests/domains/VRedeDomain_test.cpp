// The resource description's hand-over: the 66 header bytes as one element, then its identity
// and the program number of its parcel; the section stays behind; a cancel hands over nothing.
#include "domains/VRedeDomain.h"

#include "fixtures/DomainBuilders.h"
#include "fixtures/LoggingDatabase.h"
#include "fixtures/ProgramContents.h"

namespace morvit {

using namespace testutil;

namespace {

using RedeTest = DomainTypeTest;

TEST_F(RedeTest, HeaderGoesOverThenIdentityAndProgramNumber) {
  ObjParcelType parcel = TestParcel(33);
  parcel.objectNumber = 6;
  parcel.version = 12;
  VWriteRede(parcel, SampleResource());
  const Bytes file = OnlyFile('C');
  LoggingDatabase database;
  VRedeDomain rede;
  rede.OpenDomain(parcel, &database, 0);
  rede.ReadDomain();
  EXPECT_EQ(rede.Backtranslate(), 1);
  EXPECT_EQ(database.calls, (std::vector<std::string>{"Insert 65535 33 66", "SetObjectId 33 0 12",
                                                      "SetPCProgNo 6"}));
  EXPECT_EQ(database.elements.at(0), Bytes(file.begin() + 14, file.begin() + 80));
  std::vector<int> percents;
  for (const auto& m : host.sent)
    if (m.number == 1065) percents.push_back(m.value);
  EXPECT_EQ(percents, (std::vector<int>{10, 90, 100}));

  host.CancelAtQuery(2);
  LoggingDatabase cancelled;
  VRedeDomain again;
  again.OpenDomain(parcel, &cancelled, 0);
  again.ReadDomain();
  EXPECT_EQ(again.Backtranslate(), 0);
  EXPECT_TRUE(cancelled.calls.empty());
}

}  // namespace

namespace {

// The listing labels each header word; the load date and the unlabelled bytes are listed as
// words too, never copied raw into the text.
TEST_F(RedeTest, ListingLabelsTheHeaderWords) {
  VWriteRede(TestParcel(33), SampleResource());
  ReadBack<VRedeDomain>(33, nullptr)->WriteDomain(1);
  const Bytes listing = OnlyFile('D');
  const std::string text(listing.begin(), listing.end());
  for (const char* line : {"   14:      102     258   1   2  ..  Length of RELO\n",
                           "   38:     1a0c    6668  26  12  ..  REDE InitLoadDate\n",
                           "   46:        5       5   0   5  ..  PGMNumber\n",
                           "   70:      102     258   1   2  ..  \n",
                           "   80:      218     536   2  24  ..  ResourceInitStart\n"}) {
    EXPECT_NE(text.find(line), std::string::npos) << line << "in\n" << text;
  }
}

}  // namespace

}  // namespace morvit
