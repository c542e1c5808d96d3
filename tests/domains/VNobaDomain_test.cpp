// The NOBA domain generated through the C interface and read back through its class: the text
// element byte by byte, its listing, refused records and the hand-over to the database.
#include "domains/VNobaDomain.h"

#include <string>

#include "fixtures/DomainBuilders.h"

namespace morvit {

using namespace testutil;

namespace {

constexpr std::uint16_t kNoba = 3;

using NobaTest = DomainTypeTest;

TEST_F(NobaTest, TwoTextsMakeOneEightByteElement) {
  const Generation g = GenerateThroughC(kNoba, {NobaText("AB", 2), NobaText("C", 1)});
  ASSERT_EQ(g.finishStatus, VBASE_STATUS_OK);
  ASSERT_EQ(g.parcels.size(), 1u);
  EXPECT_EQ(g.parcels[0].domainType, kNoba);
  EXPECT_EQ(g.parcels[0].scope, 0);

  RecordingDatabase database;
  auto noba = ReadBack<VNobaDomain>(kNoba, &database);
  EXPECT_EQ(noba->Backtranslate(), 1);
  ASSERT_EQ(database.inserted.size(), 1u);
  EXPECT_EQ(database.inserted[0].code, 0xFFFF);
  EXPECT_EQ(database.inserted[0].elementCode, kNoba);
  EXPECT_EQ(database.inserted[0].bytes, (Bytes{0x00, 0x02, 'A', 'B', 0x00, 0x01, 'C', 0x00}));
  ASSERT_EQ(host.sent.size(), 2u);
  EXPECT_EQ(host.sent[0].number, kMessageProgress);
  EXPECT_EQ(host.sent[0].value, 100);
}

// Golden bytes of the expanded domain: the headers' length field and the section block by
// block (marker, element record with size = element length + 4, marker).
TEST_F(NobaTest, ExpandedDomainIsByteExact) {
  ASSERT_EQ(GenerateThroughC(kNoba, {NobaText("AB", 2), NobaText("C", 1)}).finishStatus, 1);
  auto noba = ReadBack<VNobaDomain>(kNoba, nullptr);
  const Bytes file = OnlyFile('X');
  ASSERT_EQ(file.size(), 50u + 20u);
  EXPECT_EQ(Bytes(file.begin(), file.begin() + 4), (Bytes{0x00, 0x45, 0x03, 0x00}));
  EXPECT_EQ(Bytes(file.begin() + 50, file.end()),
            (Bytes{0x10, 0x90, 0x00, 0x04,                         // ElementStart
                   0x00, 0x03, 0x00, 0x0C,                         // code 3, size 12
                   0x00, 0x02, 'A',  'B',  0x00, 0x01, 'C', 0x00,  // the two texts
                   0x10, 0x94, 0x00, 0x04}));                      // ElementEnd
}

// A record that cannot be taken over is refused (status -706); the texts before it stay and
// the domain still finishes.
TEST_F(NobaTest, UnusableTextsAreRefused) {
  const std::string tooLong(0xFFFF, 'x');  // the element would outgrow its block's size word
  const struct {
    const char* name;
    TSectionInfo record;
  } rows[] = {
      {"no characters", NobaText(nullptr, 3)},
      {"longer than a block", NobaText(tooLong.data(), 0xFFFF)},
  };
  for (const auto& row : rows) {
    const Generation g = GenerateThroughC(kNoba, {NobaText("AB", 2), row.record});
    EXPECT_EQ(g.insertStatus, (std::vector<std::int16_t>{1, VBASE_STATUS_FILE_FAILURE}))
        << row.name;
    EXPECT_EQ(g.finishStatus, VBASE_STATUS_OK) << row.name;
    RecordingDatabase database;
    ReadBack<VNobaDomain>(kNoba, &database)->Backtranslate();
    ASSERT_EQ(database.inserted.size(), 1u) << row.name;
    EXPECT_EQ(database.inserted[0].bytes, (Bytes{0x00, 0x02, 'A', 'B'})) << row.name;
  }
}

TEST_F(NobaTest, NullAddressOfAnEmptyTextIsAnEmptyText) {
  ASSERT_EQ(GenerateThroughC(kNoba, {NobaText(nullptr, 0)}).finishStatus, 1);
  RecordingDatabase database;
  ReadBack<VNobaDomain>(kNoba, &database)->Backtranslate();
  ASSERT_EQ(database.inserted.size(), 1u);
  EXPECT_EQ(database.inserted[0].bytes, (Bytes{0x00, 0x00}));
}

// The listing form of the section, line by line: markers and sizes labelled, the element's
// code unnamed, its bytes paired into words without labels.
TEST_F(NobaTest, ListingShowsTheSectionWordByWord) {
  ASSERT_EQ(GenerateThroughC(kNoba, {NobaText("AB", 2), NobaText("C", 1)}).finishStatus, 1);
  ReadBack<VNobaDomain>(kNoba, nullptr)->WriteDomain(1);
  const Bytes listing = OnlyFile('D');
  const std::string text(listing.begin(), listing.end());
  const std::string section =
      "   50:     1090    4240  16 144  ..  ElementStart\n"
      "   52:        4       4   0   4  ..  FBSize\n"
      "   54:        3       3   0   3  ..  TypCode FB\n"
      "   56:        c      12   0  12  ..  BlockSize\n"
      "   58:        2       2   0   2  ..  \n"
      "   60:     4142   16706  65  66  AB  \n"
      "   62:        1       1   0   1  ..  \n"
      "   64:     4300   17152  67   0  C.  \n"
      "   66:     1094    4244  16 148  ..  ElementEnd\n"
      "   68:        4       4   0   4  ..  FBSize\n";
  ASSERT_GE(text.size(), section.size());
  EXPECT_EQ(text.substr(text.size() - section.size()), section);
}

}  // namespace

}  // namespace morvit
