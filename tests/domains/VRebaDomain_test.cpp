// The REBA domain generated through the C interface and read back through its class: entries
// with their additions, page breaks, the progress and cancel protocol of the hand-over, a
// domain split over several part files, and a parcel array too small for it.
#include "domains/VRebaDomain.h"

#include <cctype>
#include <filesystem>
#include <random>
#include <string>

#include "fixtures/DomainBuilders.h"
#include "fixtures/DomainFiles.h"

namespace morvit {

using namespace testutil;

namespace {

constexpr std::uint16_t kReba = 46;

// Big-endian word, as the domain file holds it.
void AppendWord(Bytes& bytes, std::uint16_t word) {
  bytes.push_back(static_cast<std::uint8_t>(word >> 8));
  bytes.push_back(static_cast<std::uint8_t>(word & 0xFF));
}

// The bytes of an entry with no additions: key, E, A, B, C, D, then the name as a BString
// (which starts at the even offset 12, so it is padded when the name's length is odd).
Bytes EntryBytes(std::uint16_t key, EntryValues v, const std::string& name) {
  Bytes bytes;
  for (std::uint16_t word : {key, v.e, v.a, v.b, v.c, v.d}) AppendWord(bytes, word);
  AppendWord(bytes, static_cast<std::uint16_t>(name.size()));
  bytes.insert(bytes.end(), name.begin(), name.end());
  if (name.size() % 2 != 0) bytes.push_back(0);
  return bytes;
}

class RebaTest : public DomainTypeTest {
 protected:
  std::vector<int> ProgressValues() const {
    std::vector<int> values;
    for (const auto& m : host.sent) {
      if (m.number == kMessageProgress) values.push_back(m.value);
    }
    return values;
  }
};

TEST_F(RebaTest, EntryWithTwoAdditionsAndIgnoredRecords) {
  const Generation g =
      GenerateThroughC(kReba, {Entry(7, {1, 2, 3, 4, 5}, "AB"), Entry(7, {9, 9, 9, 9, 9}, "ZZ"),
                               Addition(7, 9, "X", "", 0x1234), Addition(8, 1, "NOENTRY", "", 1),
                               Addition(7, 9, "X", "", 0x1234), Section(99)});
  ASSERT_EQ(g.finishStatus, VBASE_STATUS_OK);
  ASSERT_EQ(g.parcels.size(), 1u);

  RecordingDatabase database;
  auto reba = ReadBack<VRebaDomain>(kReba, &database);
  EXPECT_EQ(reba->Backtranslate(), 1);
  ASSERT_EQ(database.inserted.size(), 1u);
  const Bytes addition = {0x00, 0x09,               // number
                          0x00, 0x01, 'X',  0x00,   // first text, padded
                          0x00, 0x00,               // empty second text
                          0x00, 0x01, 0x12, 0x34};  // terminal: type 1 (integer), value
  Bytes expected = {0x00, 0x07, 0x00, 0x05, 0x00, 0x01, 0x00, 0x02,
                    0x00, 0x03, 0x00, 0x04, 0x00, 0x02, 'A',  'B'};
  expected.insert(expected.end(), addition.begin(), addition.end());
  expected.insert(expected.end(), addition.begin(), addition.end());
  EXPECT_EQ(database.inserted[0].bytes, expected);
  EXPECT_EQ(database.inserted[0].elementCode, kReba);

  // The working file's domain length counts the element section (8 + 16 + 4 + 12 + 12) and
  // the empty page-break section (8) behind the 50 header bytes.
  const Bytes file = OnlyFile('X');
  ASSERT_EQ(file.size(), 110u);
  EXPECT_EQ(file[0], 0x00);
  EXPECT_EQ(file[1], 109);
}

TEST_F(RebaTest, ThreeEntriesAndAPageBreakReportProgressInQuarters) {
  ASSERT_EQ(GenerateThroughC(kReba, {Entry(1, {}, "A"), PageBreak(4, 100, 1, "P"),
                                     Entry(2, {}, "B"), Entry(3, {}, "C")})
                .finishStatus,
            VBASE_STATUS_OK);
  RecordingDatabase database;
  auto reba = ReadBack<VRebaDomain>(kReba, &database);
  EXPECT_EQ(reba->Backtranslate(), 1);

  EXPECT_EQ(ProgressValues(), (std::vector<int>{25, 50, 75, 100}));
  EXPECT_EQ(host.pumps, 4);
  EXPECT_EQ(host.cancelQueries, 4);
  ASSERT_EQ(database.inserted.size(), 4u);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(database.inserted[i].code, 0xFFFF) << i;
  EXPECT_EQ(database.inserted[3].code, 0x10A0);
  EXPECT_EQ(database.inserted[3].bytes,
            (Bytes{0x00, 0x04, 0x00, 0x00, 0x00, 0x64, 0x00, 0x01, 0x00, 0x01, 'P', 0x00}));

  // The text names the domain file, upper-cased, its last X (the expanded copy's letter)
  // turned back into the C of the ordinary file.
  const auto files = FilesWithExtensionLetter(host.DataDirectory(), 'X');
  ASSERT_EQ(files.size(), 1u);
  CString name = std::filesystem::path(files[0]).filename().string();
  for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  name[name.rfind('X')] = 'C';
  EXPECT_EQ(host.sent[0].text, name);
}

TEST_F(RebaTest, CancelAtTheFirstQueryHandsNothingOver) {
  ASSERT_EQ(GenerateThroughC(kReba, {Entry(1, {}, "A"), Entry(2, {}, "B")}).finishStatus, 1);
  host.CancelAtQuery(1);
  RecordingDatabase database;
  auto reba = ReadBack<VRebaDomain>(kReba, &database);
  EXPECT_EQ(reba->Backtranslate(), 0);
  EXPECT_TRUE(database.inserted.empty());
  ASSERT_EQ(host.sent.size(), 2u);
  EXPECT_EQ(host.sent[0].number, kMessageProgress);
  EXPECT_EQ(host.sent[0].value, 50);
  EXPECT_EQ(host.sent[1].number, kMessageCancelQuery);
}

// A text whose length field runs past the record is cut at the record's end.
TEST_F(RebaTest, TextLongerThanTheRecordIsCutAtItsEnd) {
  TSectionInfo record = PageBreak(1, 0, 0, "");
  for (std::size_t i = 15; i < 96; ++i) reinterpret_cast<char*>(&record)[i] = 'T';
  Put(record, 96, std::uint16_t{1000});
  for (std::size_t i = 98; i < sizeof record; ++i) reinterpret_cast<char*>(&record)[i] = 'U';
  ASSERT_EQ(GenerateThroughC(kReba, {record}).finishStatus, 1);
  RecordingDatabase database;
  ReadBack<VRebaDomain>(kReba, &database)->Backtranslate();
  ASSERT_EQ(database.inserted.size(), 1u);
  const Bytes& bytes = database.inserted[0].bytes;
  constexpr std::size_t kCut = 512 - 15;
  ASSERT_EQ(bytes.size(), 8u + 2u + kCut + 1u);
  EXPECT_EQ(bytes[8], kCut >> 8);
  EXPECT_EQ(bytes[9], kCut & 0xFF);
  EXPECT_EQ(bytes[10], 'T');
  EXPECT_EQ(bytes[10 + 81], reinterpret_cast<const std::uint8_t*>(&record)[96])
      << "the length field's own bytes are part of the text";
  EXPECT_EQ(bytes[10 + kCut - 1], 'U');
  EXPECT_EQ(bytes.back(), 0);
}

// Entries with incompressible names, enough for three or more compressed part files.
std::vector<TSectionInfo> LargeBase(int entries) {
  std::mt19937 random(46);
  std::vector<TSectionInfo> sections;
  for (int key = 0; key < entries; ++key) {
    std::string name(100, ' ');
    for (char& c : name) c = static_cast<char>(random());
    const auto k = static_cast<std::uint16_t>(key);
    sections.push_back(Entry(k, {k, 1, 2, 3, static_cast<std::uint16_t>(~k)}, name));
  }
  return sections;
}

TEST_F(RebaTest, LargeBaseIsSplitAndReadsBackToTheSameSections) {
  const auto sections = LargeBase(1500);
  const Generation g = GenerateThroughC(kReba, sections);
  ASSERT_EQ(g.finishStatus, VBASE_STATUS_OK);
  ASSERT_GE(g.parcels.size(), 3u);
  const auto files = FilesWithExtensionLetter(host.DataDirectory(), 'C');
  ASSERT_EQ(files.size(), g.parcels.size());
  for (std::size_t i = 0; i < g.parcels.size(); ++i) {
    EXPECT_EQ(g.parcels[i].scope, i);
    // At most the part size, and one pad byte after a full, odd-length chunk.
    EXPECT_LE(g.parcels[i].length, 65501 + 1);
    EXPECT_EQ(ReadWholeFile(files[i]).size() % 1024, 0u) << files[i];
  }

  RecordingDatabase database;
  auto reba = ReadBack<VRebaDomain>(kReba, &database);
  EXPECT_EQ(reba->Backtranslate(), 1);
  ASSERT_EQ(database.inserted.size(), sections.size());
  std::mt19937 random(46);
  for (std::size_t key = 0; key < sections.size(); ++key) {
    std::string name(100, ' ');
    for (char& c : name) c = static_cast<char>(random());
    const auto k = static_cast<std::uint16_t>(key);
    ASSERT_EQ(database.inserted[key].bytes,
              EntryBytes(k, {k, 1, 2, 3, static_cast<std::uint16_t>(~k)}, name))
        << "entry " << key;
  }
}

// One parcel slot for a domain of several files: the generic failure names the type of the
// parcel written into the first slot, 46; no parcel is counted and no part file stays.
TEST_F(RebaTest, TooFewParcelSlotsGiveTheGenericStatusOfTheType) {
  const Generation g = GenerateThroughC(kReba, LargeBase(1500), 0);
  EXPECT_EQ(g.finishStatus, -100 - kReba);
  EXPECT_TRUE(g.parcels.empty());
  EXPECT_EQ(testutil::DataFileNames(host), std::vector<std::string>{});
}

}  // namespace

}  // namespace morvit
