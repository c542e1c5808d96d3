// Compressed domain files: the split of a compressed stream into part files (sizes, headers,
// pad byte, parcels, padding), the join and expansion that reads them back, and damaged parts.
#include "files/CompressedDomain.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "fixtures/DomainFiles.h"
#include "fixtures/TestUtil.h"

namespace morvit {

namespace {

using testutil::DomainFilePath;
using testutil::WordAt;

constexpr std::uint16_t kType = 3;      // any type with a data-set name
constexpr std::uint16_t kMoveOnly = 1;  // a method that moves the file without imploding
constexpr std::uint16_t kImplode = 2;
constexpr std::uint32_t kMaxPartSize = 65501;

// Offsets in a part file.
constexpr std::size_t kScopeAt = 3;       // common header: scope byte
constexpr std::size_t kOwnNumberAt = 14;  // compress header fields
constexpr std::size_t kDomainsMinus1At = 16;
constexpr std::size_t kMethodAt = 18;
constexpr std::size_t kChunkLengthAt = 20;
constexpr std::size_t kSpareAt = 22;

std::vector<std::uint8_t> RandomBytes(std::size_t size, unsigned seed) {
  std::mt19937 generator(seed);
  std::vector<std::uint8_t> bytes(size);
  for (auto& byte : bytes) byte = static_cast<std::uint8_t>(generator());
  return bytes;
}

class CompressedDomainTest : public ::testing::Test {
 public:
  // Writes `content` as the domain file and closes it compressed; returns the parcels.
  std::vector<ObjParcelType> WriteCompressed(const std::vector<std::uint8_t>& content,
                                             std::uint16_t method, std::uint16_t highest = 9) {
    VDomainFile file;
    file.OpenDomain(parcel, CFile::modeCreate | CFile::modeReadWrite);
    file.Write(content.data(), static_cast<unsigned>(content.size()));
    std::vector<ObjParcelType> parcels(highest + 1u);
    std::uint16_t count = 0;
    WriteCompressedDomain(file, Headers(), method, kMaxPartSize, &count, highest, parcels.data());
    parcels.resize(count);
    return parcels;
  }
  // Opens the domain for reading and joins it; returns the bytes it then reads.
  std::vector<std::uint8_t> ReadBack(VDomainFile& file) {
    file.OpenDomain(parcel, CFile::modeRead);
    ReadCompressedDomain(file, Headers());
    std::vector<std::uint8_t> bytes(file.GetLength());
    EXPECT_EQ(file.Read(bytes.data(), static_cast<unsigned>(bytes.size())), bytes.size());
    return bytes;
  }
  std::vector<std::uint8_t> Part(std::uint16_t scope) {
    return testutil::ReadWholeFile(DomainFilePath(host, parcel, scope));
  }
  DomainHeaders Headers() { return {common, compress, structure}; }

  testutil::FakeHost host;
  testutil::ScopedHost scoped{host};
  ObjParcelType parcel = testutil::DomainParcel(kType);
  VCommonHeader common;
  VCompressHeader compress;
  VStructureHeader structure;
};

TEST(CompressedPartCount, FollowsTheChunkSizes) {
  const struct {
    std::uint64_t length;
    std::uint32_t parts;
  } rows[] = {
      {0, 1},
      {65451, 1},
      {65452, 2},
      {65486, 2},
      {65500, 2},
      {65451 + 65477, 2},
      {65451 + 65477 + 1, 3},
      {131001, 3},
      {65451 + 3 * 65477, 4},
      {65451 + 3 * 65477 + 1, 5},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(CompressedPartCount(row.length, kMaxPartSize), row.parts) << row.length;
  }
}

// Moved without imploding, the stream is the domain file itself, so its length is exact.
TEST_F(CompressedDomainTest, StreamSizesDecideTheParts) {
  // A full part's chunk is odd (65501 less 50 or 24 header bytes), so its pad byte makes the
  // part file 65502 bytes long before padding to 1024.
  const struct {
    std::size_t stream;
    std::vector<std::uint16_t> partLengths;  // before padding
    std::vector<std::uint16_t> chunks;
  } rows[] = {
      {20, {70}, {20}},
      {65451, {65502}, {65451}},
      {65452, {65502, 26}, {65451, 1}},  // 24 header bytes, 1 byte, 1 pad byte
      {65500, {65502, 74}, {65451, 49}},
      {65451 + 65477 + 2, {65502, 65502, 26}, {65451, 65477, 2}},
  };
  for (const auto& row : rows) {
    const auto parcels = WriteCompressed(RandomBytes(row.stream, 1), kMoveOnly);
    ASSERT_EQ(parcels.size(), row.partLengths.size()) << row.stream;
    for (std::uint16_t i = 0; i < parcels.size(); ++i) {
      SCOPED_TRACE(testing::Message() << row.stream << " part " << i);
      const auto bytes = Part(i);
      EXPECT_EQ(parcels[i].scope, i);
      EXPECT_EQ(parcels[i].domainType, kType);
      EXPECT_EQ(parcels[i].length, row.partLengths[i]);
      EXPECT_EQ(bytes.size() % 1024, 0u);
      EXPECT_GE(bytes.size(), row.partLengths[i]);
      EXPECT_EQ(bytes[kScopeAt], i);
      EXPECT_EQ(WordAt(bytes, kOwnNumberAt), i);
      EXPECT_EQ(WordAt(bytes, kDomainsMinus1At), row.partLengths.size() - 1);
      EXPECT_EQ(WordAt(bytes, kMethodAt), kMoveOnly);
      EXPECT_EQ(WordAt(bytes, kChunkLengthAt), row.chunks[i]);
      EXPECT_EQ(WordAt(bytes, kSpareAt), 0xFFFF);
      // "OffsetToLastByte": the part's headers, chunk and pad byte, less 1.
      EXPECT_EQ(WordAt(bytes, 0), row.partLengths[i] - 1);
      const std::size_t headers = i == 0 ? 50 : 24;
      if (row.chunks[i] % 2 != 0) {
        EXPECT_EQ(bytes[headers + row.chunks[i]], 0);
      }
    }
    EXPECT_FALSE(std::filesystem::exists(DomainFilePath(host, parcel, 0, 'Z')));
  }
}

TEST_F(CompressedDomainTest, SplitAndJoinGiveTheDomainBack) {
  for (std::uint16_t method : {kImplode, kMoveOnly}) {
    SCOPED_TRACE(method);
    // Random bytes do not compress, so the stream takes three parts.
    const auto content = RandomBytes(150000, method);
    const auto parcels = WriteCompressed(content, method);
    EXPECT_EQ(parcels.size(), 3u);
    VDomainFile file;
    EXPECT_EQ(ReadBack(file), content);
    EXPECT_EQ(file.GetFullPath(), DomainFilePath(host, parcel, 0, 'X'));
    EXPECT_FALSE(std::filesystem::exists(DomainFilePath(host, parcel, 0, 'Z')));
    file.RemoveDomain(VDomainFile::fileExpanded);
  }
}

TEST_F(CompressedDomainTest, ImplodedDomainTakesFewerParts) {
  std::vector<std::uint8_t> content(200000);
  for (std::size_t i = 0; i < content.size(); ++i) content[i] = static_cast<std::uint8_t>(i % 7);
  const auto parcels = WriteCompressed(content, kImplode);
  EXPECT_EQ(parcels.size(), 1u);
  EXPECT_EQ(WordAt(Part(0), kMethodAt), kImplode);
  VDomainFile file;
  EXPECT_EQ(ReadBack(file), content);
}

TEST_F(CompressedDomainTest, UncompressedVersionLeavesTheOrdinaryFileInUse) {
  {
    VDomainFile file;
    file.OpenDomain(parcel, CFile::modeCreate | CFile::modeReadWrite);
    common.m_wDomainLength = 30;
    common.Write(file, 0);
    compress.m_wOwnDomainNumber = 0;
    compress.SetNumberOfDomains(1);
    compress.m_wCompressVersion = 0;
    compress.Write(file, 0);
    file.Write("0123456", 6);
    std::uint16_t count = 0;
    ObjParcelType written[1];
    file.CloseDomain(&count, 0, written);
  }
  VDomainFile file;
  file.OpenDomain(parcel, CFile::modeRead);
  ReadCompressedDomain(file, Headers());
  EXPECT_EQ(file.GetFullPath(), DomainFilePath(host, parcel, 0));
  EXPECT_EQ(file.GetPosition(), 0u);
  EXPECT_EQ(testutil::DataFileNames(host).size(), 1u) << "no sibling was made";
}

// The entry written before the array ran out stays for the finish's status, but is not counted:
// a domain without all its parts is no domain, and none of its files is left.
TEST_F(CompressedDomainTest, FullParcelArrayRaisesGenericAndLeavesNoPart) {
  std::vector<ObjParcelType> parcels(1);
  VDomainFile file;
  file.OpenDomain(parcel, CFile::modeCreate | CFile::modeReadWrite);
  const auto content = RandomBytes(70000, 3);
  file.Write(content.data(), static_cast<unsigned>(content.size()));
  std::uint16_t count = 0;
  EXPECT_CAUSE(
      WriteCompressedDomain(file, Headers(), kMoveOnly, kMaxPartSize, &count, 0, parcels.data()),
      CFileException::genericException);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(parcels[0].domainType, parcel.domainType);
  EXPECT_EQ(testutil::DataFileNames(host), std::vector<std::string>{});
}

// Damaged sets of parts, each made by the writer and then damaged at a known place.
TEST_F(CompressedDomainTest, DamagedPartsRaiseAndLeaveNoScratchFiles) {
  using Damage = std::function<void(CompressedDomainTest&)>;
  auto patchWord = [](std::uint16_t scope, std::size_t offset, std::uint16_t value) {
    return [=](CompressedDomainTest& t) {
      auto bytes = t.Part(scope);
      bytes[offset] = static_cast<std::uint8_t>(value / 256);
      bytes[offset + 1] = static_cast<std::uint8_t>(value % 256);
      testutil::WriteWholeFile(DomainFilePath(t.host, t.parcel, scope), bytes);
    };
  };
  const struct {
    const char* name;
    Damage damage;
    int cause;
  } rows[] = {
      {"part missing",
       [](CompressedDomainTest& t) {
         std::filesystem::remove(DomainFilePath(t.host, t.parcel, 2));
       },
       CFileException::fileNotFound},
      {"more parts announced than exist", patchWord(0, kDomainsMinus1At, 5),
       CFileException::fileNotFound},
      {"part truncated",
       [](CompressedDomainTest& t) {
         std::filesystem::resize_file(DomainFilePath(t.host, t.parcel, 1), 1000);
       },
       CFileException::endOfFile},
      {"chunk longer than its part", patchWord(1, kChunkLengthAt, 65500),
       CFileException::endOfFile},
      {"chunk past a cut domain length", patchWord(2, 0, 40), CFileException::endOfFile},
      {"part with a wrong own number", patchWord(1, kOwnNumberAt, 2), CFileException::endOfFile},
      {"fewer parts announced: stream cut short", patchWord(0, kDomainsMinus1At, 1),
       CFileException::endOfFile},
      {"stream header damaged", patchWord(0, 50, 0x0009), CFileException::endOfFile},
  };
  const auto content = RandomBytes(150000, 4);
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    for (std::uint16_t scope = 0; scope < 3; ++scope) {
      std::filesystem::remove(DomainFilePath(host, parcel, scope));
    }
    ASSERT_EQ(WriteCompressed(content, kImplode).size(), 3u);
    row.damage(*this);
    VDomainFile file;
    file.OpenDomain(parcel, CFile::modeRead);
    EXPECT_CAUSE(ReadCompressedDomain(file, Headers()), row.cause);
    EXPECT_FALSE(std::filesystem::exists(DomainFilePath(host, parcel, 0, 'Z')));
    EXPECT_FALSE(std::filesystem::exists(DomainFilePath(host, parcel, 0, 'X')));
  }
}

}  // namespace

}  // namespace morvit
