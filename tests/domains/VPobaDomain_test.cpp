// The POBA domain: always one domain file with all three headers, padded to an even domain
// length after an odd compressed body; the refusal of a body too large for its one file and of
// damaged files.
#include "domains/VPobaDomain.h"

#include <filesystem>
#include <random>
#include <string>

#include "fixtures/DomainBuilders.h"
#include "morvit/VDomainPath.h"

namespace morvit {

using namespace testutil;

namespace {

constexpr std::uint16_t kPoba = 78;

std::uint16_t WordAt(const Bytes& bytes, std::size_t offset) {
  return static_cast<std::uint16_t>(bytes[offset] << 8 | bytes[offset + 1]);
}

using PobaTest = DomainTypeTest;

// Generates POBAs of growing size until the compressed body is odd, then checks the pad byte,
// the even domain length, the parcel's length and that the content reads back.
TEST_F(PobaTest, OddCompressedBodyGetsOnePadByte) {
  for (int entries = 1; entries <= 40; ++entries) {
    std::vector<TSectionInfo> sections;
    for (int key = 0; key < entries; ++key) {
      sections.push_back(Entry(static_cast<std::uint16_t>(key), {}, std::string(key % 7, 'n')));
    }
    const Generation g = GenerateThroughC(kPoba, sections);
    ASSERT_EQ(g.finishStatus, VBASE_STATUS_OK);
    ASSERT_EQ(g.parcels.size(), 1u);
    const Bytes file = OnlyFile('C');
    const std::uint16_t body = WordAt(file, 14 + 6);  // "LengthCompressBlock"
    if (body % 2 == 0) continue;

    EXPECT_EQ(WordAt(file, 14), 0);      // "OwnDomainNumber"
    EXPECT_EQ(WordAt(file, 14 + 2), 0);  // "NumberOfDomains-1"
    EXPECT_EQ(WordAt(file, 14 + 4), 2);  // "CompressVersion": implode
    const std::uint16_t domainLength = WordAt(file, 0) + 1;
    EXPECT_EQ(domainLength, 50 + body + 1);
    EXPECT_EQ(file[50 + body], 0) << "pad byte";
    EXPECT_EQ(g.parcels[0].length, domainLength);
    EXPECT_EQ(file.size() % 1024, 0u);

    RecordingDatabase database;
    ReadBack<VPobaDomain>(kPoba, &database)->Backtranslate();
    EXPECT_EQ(database.inserted.size(), static_cast<std::size_t>(entries));
    return;
  }
  FAIL() << "no POBA of up to 40 entries compressed to an odd length";
}

// A body over 65477 compressed bytes does not fit the one file: the finish fails with the
// file-failure status, reports no parcel and leaves no domain file behind.
TEST_F(PobaTest, BodyTooLargeForOneFileIsRefused) {
  std::mt19937 random(78);
  std::vector<TSectionInfo> sections;
  for (int key = 0; key < 700; ++key) {
    std::string name(100, ' ');
    for (char& c : name) c = static_cast<char>(random());
    sections.push_back(Entry(static_cast<std::uint16_t>(key), {}, name));
  }
  const Generation g = GenerateThroughC(kPoba, sections);
  EXPECT_EQ(g.finishStatus, VBASE_STATUS_FILE_FAILURE);
  EXPECT_TRUE(g.parcels.empty());
  EXPECT_TRUE(std::filesystem::is_empty(host.DataDirectory()));
}

// A damaged program base is refused when it is opened, never expanded from a cut stream.
TEST_F(PobaTest, DamagedFileIsRefusedOnOpening) {
  const struct {
    const char* name;
    std::size_t keep;     // bytes of the file kept
    std::size_t patchAt;  // a byte set to 1 (0: none)
    int cause;
  } rows[] = {
      {"cut inside the compressed body", 60, 0, CFileException::endOfFile},
      {"cut inside the headers", 20, 0, CFileException::endOfFile},
      {"header counts two files", 1024, 14 + 3, CFileException::invalidFile},
  };
  for (const auto& row : rows) {
    ASSERT_EQ(
        GenerateThroughC(kPoba, {Entry(1, {}, "MOTOR"), PageBreak(1, 2, 1, "P")}).finishStatus,
        VBASE_STATUS_OK);
    const auto path = FilesWithExtensionLetter(host.DataDirectory(), 'C').at(0);
    Bytes file = ReadWholeFile(path);
    file.resize(row.keep);
    if (row.patchAt != 0) file[row.patchAt] = 1;
    WriteWholeFile(path, file);
    SCOPED_TRACE(row.name);
    VPobaDomain poba;
    EXPECT_CAUSE(poba.OpenDomain(TestParcel(kPoba), nullptr, 0), row.cause);
  }
}

}  // namespace

namespace {

// A program base belongs to a task: it is written, reported and found under its parcel's scope,
// so the bases of two tasks of one program live side by side.
TEST_F(PobaTest, WrittenAndFoundUnderItsTaskScope) {
  const struct {
    std::uint16_t scope;
    const char* name;
  } rows[] = {{0, "PB000004.C07"}, {3, "PB030004.C07"}, {99, "PB990004.C07"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    ObjParcelType parcel = TestParcel(kPoba);
    parcel.scope = row.scope;
    parcel.version = 4;
    parcel.objectNumber = 7;
    const Generation g =
        GenerateThroughC(parcel, {Entry(row.scope, {}, "TASK"), PageBreak(1, 2, 1, "P")});
    ASSERT_EQ(g.finishStatus, VBASE_STATUS_OK);
    ASSERT_EQ(g.parcels.size(), 1u);
    EXPECT_EQ(g.parcels[0].scope, row.scope);
    EXPECT_TRUE(std::filesystem::exists(host.DataDirectory() + row.name));
  }
  EXPECT_EQ(FilesWithExtensionLetter(host.DataDirectory(), 'C').size(), 3u);
  for (const auto& row : rows) {
    ObjParcelType lookup{};
    VDomainPath().GenParcel(kPoba, row.scope, 0xFFFE, 7, lookup);
    RecordingDatabase database;
    VPobaDomain poba;
    poba.OpenDomain(lookup, &database, 0);
    poba.ReadDomain();
    poba.Backtranslate();
    ASSERT_EQ(database.inserted.size(), 2u) << row.name;
    EXPECT_EQ(WordAt(database.inserted[0].bytes, 0), row.scope) << "the entry's key";
  }
}

}  // namespace

}  // namespace morvit
