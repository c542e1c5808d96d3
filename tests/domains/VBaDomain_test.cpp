// Block-addressed domains: the three header records as written, the choice between an ordinary
// and a compressed file at close, and reading a compressed domain back through OpenDomain.
#include "domains/VBaDomain.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "fixtures/DomainFiles.h"
#include "fixtures/TestUtil.h"

namespace morvit {

namespace {

using testutil::DomainFilePath;
using testutil::WordAt;

constexpr std::uint16_t kType = 46;

// A block-addressed type whose body is a run of bytes after its headers; reading takes the
// body back. The compression settings are the test's to choose.
class BodyDomain : public VBaDomain {
 public:
  explicit BodyDomain(std::vector<std::uint8_t> body = {}) : m_body(std::move(body)) {}
  void WriteDomain(int listing) override {
    WriteDomainHeader(static_cast<std::uint16_t>(m_body.size()), listing);
    m_file.Write(m_body.data(), static_cast<unsigned>(m_body.size()));
  }
  void ReadDomain() override {
    ReadDomainHeader();
    m_body.clear();
    std::uint8_t buffer[4096];
    while (unsigned count = m_file.Read(buffer, sizeof buffer)) {
      m_body.insert(m_body.end(), buffer, buffer + count);
    }
  }
  void Configure(int enabled, std::uint16_t method, std::uint16_t threshold) {
    m_nCompressionEnabled = enabled;
    m_wCompressMethod = method;
    m_wThreshold = threshold;
  }
  const std::vector<std::uint8_t>& Body() const { return m_body; }
  std::uint16_t CompressVersionRead() const { return m_compressHeader.m_wCompressVersion; }

 private:
  std::vector<std::uint8_t> m_body;
};

std::vector<std::uint8_t> Body(std::size_t size) {
  std::mt19937 generator(7);
  std::vector<std::uint8_t> body(size);
  for (auto& byte : body) byte = static_cast<std::uint8_t>(generator());
  return body;
}

class BaDomainTest : public ::testing::Test {
 protected:
  std::vector<ObjParcelType> Generate(BodyDomain& domain) {
    return testutil::GenerateDomain(domain, parcel);
  }

  testutil::FakeHost host;
  testutil::ScopedHost scoped{host};
  ObjParcelType parcel = testutil::DomainParcel(kType);
};

TEST_F(BaDomainTest, HeadersAsWrittenBeforeCompression) {
  BodyDomain domain(Body(100));
  domain.OpenDomain(parcel, nullptr, kOpenForGeneration);
  domain.WriteDomain(0);
  domain.GetFile().Flush();
  const auto bytes = testutil::ReadWholeFile(testutil::StagedFilePath(host, parcel, 0));
  ASSERT_EQ(bytes.size(), 150u);
  EXPECT_EQ(WordAt(bytes, 0), 149);  // "OffsetToLastByte"
  EXPECT_EQ(WordAt(bytes, 14), 0);   // "OwnDomainNumber"
  EXPECT_EQ(WordAt(bytes, 16), 0);   // "NumberOfDomains-1": one domain
  EXPECT_EQ(WordAt(bytes, 18), 0);   // "CompressVersion"
  // Structure header: version 1.0, block 1 at 20, no block 2 and no extension.
  const std::vector<std::uint8_t> structure(bytes.begin() + 24, bytes.begin() + 38);
  EXPECT_EQ(structure, (std::vector<std::uint8_t>{1, 0, 0, 0, 0, 20, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                                  0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(WordAt(bytes, 38), 0xFFFF);  // first spare word
}

TEST_F(BaDomainTest, BelowThresholdClosesOrdinarilyWithOneParcel) {
  BodyDomain domain(Body(100));
  domain.Configure(1, 2, 151);
  const auto parcels = Generate(domain);
  ASSERT_EQ(parcels.size(), 1u);
  EXPECT_EQ(parcels[0].length, 150);
  const auto bytes = testutil::ReadWholeFile(DomainFilePath(host, parcel, 0));
  EXPECT_EQ(WordAt(bytes, 18), 0) << "stored uncompressed";
  EXPECT_EQ(testutil::DataFileNames(host).size(), 1u);
}

TEST_F(BaDomainTest, CompressedAtCloseAndExpandedWhenRead) {
  const auto body = Body(100);
  BodyDomain writer(body);
  const auto parcels = Generate(writer);
  ASSERT_EQ(parcels.size(), 1u);
  const auto stored = testutil::ReadWholeFile(DomainFilePath(host, parcel, 0));
  EXPECT_EQ(WordAt(stored, 18), 2) << "imploded";
  EXPECT_EQ(testutil::DataFileNames(host).size(), 1u) << "no Z file stays behind";

  BodyDomain reader;
  reader.OpenDomain(parcel, nullptr, kOpenForReading);
  reader.ReadDomain();
  EXPECT_EQ(reader.Body(), body);
  EXPECT_EQ(reader.CompressVersionRead(), 0) << "the expansion is the domain as written";
  EXPECT_EQ(reader.GetFile().GetFullPath(), DomainFilePath(host, parcel, 0, 'X'));
}

TEST_F(BaDomainTest, LargeDomainRoundTripsThroughSeveralParts) {
  // With its headers 65535 bytes: one more than the first part file holds.
  const auto body = Body(65485);
  BodyDomain writer(body);
  writer.Configure(1, 1, 14);  // moved, not imploded: the parts hold the file itself
  const auto parcels = Generate(writer);
  ASSERT_EQ(parcels.size(), 2u);
  EXPECT_EQ(parcels[1].scope, 1);
  BodyDomain reader;
  reader.OpenDomain(parcel, nullptr, kOpenForReading);
  reader.ReadDomain();
  EXPECT_EQ(reader.Body(), body);
}

TEST_F(BaDomainTest, DisabledCompressionReadsTheOrdinaryFile) {
  const auto body = Body(300);
  BodyDomain writer(body);
  writer.Configure(0, 2, 14);
  Generate(writer);
  BodyDomain reader;
  reader.OpenDomain(parcel, nullptr, kOpenForReading);
  EXPECT_EQ(reader.GetFile().GetFullPath(), DomainFilePath(host, parcel, 0));
  EXPECT_EQ(reader.GetFile().GetPosition(), 0u);
  reader.ReadDomain();
  // The ordinary file is padded to 1024 bytes, which the reader takes as body too.
  ASSERT_GE(reader.Body().size(), body.size());
  EXPECT_TRUE(std::equal(body.begin(), body.end(), reader.Body().begin()));
  EXPECT_EQ(testutil::DataFileNames(host).size(), 1u);
}

}  // namespace

}  // namespace morvit
