// Continuation domains: planning elements into parts, the part headers written into each
// continuation file, reading the elements back across the files, and damaged chains.
#include "domains/VContinueDomain.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "fixtures/DomainFiles.h"
#include "fixtures/TestUtil.h"

namespace morvit {

namespace {

using testutil::DomainFilePath;
using testutil::WordAt;

constexpr std::uint16_t kType = 114;

// A continuation type whose elements are byte records of given sizes. Each record is written
// as its size followed by its bytes, and read back the same way.
class RecordDomain : public VContinueDomain {
 public:
  void AddRecord(std::uint16_t size, std::uint8_t fill) {
    std::uint8_t* record = AppendElement(size + 2u);
    record[0] = static_cast<std::uint8_t>(size / 256);
    record[1] = static_cast<std::uint8_t>(size % 256);
    std::memset(record + 2, fill, size);
  }
  std::uint16_t GetElementSize(const void* element) override {
    const auto* record = static_cast<const std::uint8_t*>(element);
    return static_cast<std::uint16_t>(record[0] * 256 + record[1]);
  }
  void WriteElement(const void* element, int listing) override {
    const auto* record = static_cast<const std::uint8_t*>(element);
    const std::uint16_t size = GetElementSize(element);
    m_io.WriteCardinal(m_file, size, listing, "Size");
    m_file.Write(record + 2, size - 2u);
  }
  int ReadElement(void* buffer) override {
    if (VContinueDomain::ReadElement(buffer) == 0) return 0;
    const std::uint16_t size = m_io.ReadCardinal(m_file);
    m_pending.assign(size - 2u, 0);
    if (m_file.Read(m_pending.data(), size - 2u) != size - 2u) {
      AfxThrowFileException(CFileException::endOfFile);
    }
    return 1;
  }
  void InsertSection(TSectionInfo*) override { read.push_back(m_pending); }

  std::vector<std::vector<std::uint8_t>> read;

 private:
  std::vector<std::uint8_t> m_pending;
};

class ContinueDomainTest : public ::testing::Test {
 protected:
  std::vector<ObjParcelType> Generate(RecordDomain& domain) {
    return testutil::GenerateDomain(domain, parcel);
  }
  std::vector<std::uint8_t> Part(std::uint16_t scope) {
    return testutil::ReadWholeFile(DomainFilePath(host, parcel, scope));
  }

  testutil::FakeHost host;
  testutil::ScopedHost scoped{host};
  ObjParcelType parcel = testutil::DomainParcel(kType);
};

TEST_F(ContinueDomainTest, ThousandByteElementsGoSixtyFiveToAPart) {
  RecordDomain domain;
  for (int i = 0; i < 140; ++i) domain.AddRecord(1000, static_cast<std::uint8_t>(i));
  domain.PlanParts();
  const auto& parts = domain.GetParts();
  ASSERT_EQ(parts.size(), 3u);
  EXPECT_EQ(parts[0].byteCount, 50u + 65 * 1000);
  EXPECT_EQ(parts[1].byteCount, 24u + 65 * 1000);
  EXPECT_EQ(parts[2].byteCount, 24u + 10 * 1000);
  for (std::uint16_t i = 0; i < 3; ++i) EXPECT_EQ(parts[i].number, i);
  EXPECT_NE(parts[0].lastElement, parts[1].lastElement);
}

TEST_F(ContinueDomainTest, PlanningAgainGivesTheSameParts) {
  RecordDomain domain;
  for (int i = 0; i < 70; ++i) domain.AddRecord(1000, 1);
  domain.PlanParts();
  domain.PlanParts();
  EXPECT_EQ(domain.GetParts().size(), 2u);
}

TEST_F(ContinueDomainTest, OversizedElementTakesAPartOfItsOwnAndNoPartStaysEmpty) {
  const struct {
    std::vector<std::uint16_t> sizes;
    std::vector<std::uint32_t> byteCounts;
  } rows[] = {
      {{65500}, {50 + 65500}},
      {{100, 65500}, {150, 24 + 65500}},
      {{65451}, {65501}},
      {{65452}, {65502}},
      {{}, {50}},
  };
  for (const auto& row : rows) {
    RecordDomain domain;
    for (std::uint16_t size : row.sizes) domain.AddRecord(size, 0);
    domain.PlanParts();
    std::vector<std::uint32_t> counts;
    for (const auto& part : domain.GetParts()) counts.push_back(part.byteCount);
    EXPECT_EQ(counts, row.byteCounts);
  }
}

TEST_F(ContinueDomainTest, SmallDomainWritesOneFile) {
  RecordDomain domain;
  domain.AddRecord(10, 0xAA);
  const auto parcels = Generate(domain);
  ASSERT_EQ(parcels.size(), 1u);
  EXPECT_EQ(parcels[0].length, 60);
  const auto bytes = Part(0);
  EXPECT_EQ(WordAt(bytes, 0), 59);
  EXPECT_EQ(WordAt(bytes, 14), 0);  // "OwnDomainNumber"
  EXPECT_EQ(WordAt(bytes, 16), 0);  // "NumberOfDomains-1"
  EXPECT_EQ(WordAt(bytes, 50), 10);
}

TEST_F(ContinueDomainTest, ElementsSpreadOverFilesAndReadBack) {
  RecordDomain writer;
  for (int i = 0; i < 140; ++i) writer.AddRecord(1000, static_cast<std::uint8_t>(i));
  const auto parcels = Generate(writer);
  ASSERT_EQ(parcels.size(), 3u);
  const std::uint16_t lengths[] = {65050, 65024, 10024};
  for (std::uint16_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    const auto bytes = Part(i);
    EXPECT_EQ(parcels[i].scope, i);
    EXPECT_EQ(parcels[i].length, lengths[i]);
    EXPECT_EQ(bytes.size() % 1024, 0u);
    EXPECT_EQ(WordAt(bytes, 0), lengths[i] - 1);
    EXPECT_EQ(bytes[3], i);           // scope
    EXPECT_EQ(WordAt(bytes, 14), i);  // "OwnDomainNumber"
    EXPECT_EQ(WordAt(bytes, 16), 2);  // "NumberOfDomains-1"
  }
  // The second part file starts with element 65 right after its 24 header bytes.
  EXPECT_EQ(Part(1)[24 + 2], 65);

  RecordDomain reader;
  reader.OpenDomain(parcel, nullptr, kOpenForReading);
  reader.ReadDomain();
  ASSERT_EQ(reader.read.size(), 140u);
  for (int i = 0; i < 140; ++i) {
    ASSERT_EQ(reader.read[i], std::vector<std::uint8_t>(998, static_cast<std::uint8_t>(i))) << i;
  }
}

TEST_F(ContinueDomainTest, DamagedChainsRaise) {
  const struct {
    const char* name;
    std::uint16_t scope;
    std::size_t offset;  // of the word to patch; SIZE_MAX: delete the file
    std::uint16_t value;
    int cause;
  } rows[] = {
      {"continuation file missing", 2, SIZE_MAX, 0, CFileException::fileNotFound},
      {"more parts announced than exist", 2, 16, 5, CFileException::fileNotFound},
      {"file names itself another part", 1, 14, 7, CFileException::endOfFile},
      {"file names itself the first part", 2, 14, 0, CFileException::endOfFile},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    RecordDomain writer;
    for (int i = 0; i < 140; ++i) writer.AddRecord(1000, 1);
    Generate(writer);
    const std::string path = DomainFilePath(host, parcel, row.scope);
    if (row.offset == SIZE_MAX) {
      std::filesystem::remove(path);
    } else {
      auto bytes = testutil::ReadWholeFile(path);
      bytes[row.offset] = static_cast<std::uint8_t>(row.value / 256);
      bytes[row.offset + 1] = static_cast<std::uint8_t>(row.value % 256);
      testutil::WriteWholeFile(path, bytes);
    }
    RecordDomain reader;
    reader.OpenDomain(parcel, nullptr, kOpenForReading);
    EXPECT_CAUSE(reader.ReadDomain(), row.cause);
  }
}

}  // namespace

}  // namespace morvit
