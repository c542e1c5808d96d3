// The domain base on real files: a type that overrides nothing, the common header written by
// WriteDomainHeader in data and listing mode, removal, and the answers of the base operations.
#include "domains/VDomain.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "fixtures/DomainFiles.h"
#include "fixtures/TestUtil.h"
#include "morvit/VManager.h"

namespace morvit {

namespace {

using testutil::DomainFilePath;

constexpr std::uint16_t kType = 17;

// A type that writes only its common header, for a body of the given length.
class HeaderOnlyDomain : public VDomain {
 public:
  explicit HeaderOnlyDomain(std::uint16_t bodyLength) : m_bodyLength(bodyLength) {}
  void WriteDomain(int listing) override { WriteDomainHeader(m_bodyLength, listing); }
  std::uint16_t HeaderLength() const { return m_commonHeader.m_wDomainLength; }

 private:
  std::uint16_t m_bodyLength;
};

class DomainBaseTest : public ::testing::Test {
 protected:
  testutil::FakeHost host;
  testutil::ScopedHost scoped{host};
  ObjParcelType parcel = testutil::DomainParcel(kType);
};

TEST_F(DomainBaseTest, TypeThatOverridesNothingWritesAnEmptyFileAndOneParcel) {
  VDomain domain;
  domain.OpenDomain(parcel, nullptr, kOpenForGeneration);
  domain.WriteDomain(0);
  ObjParcelType parcels[2] = {};
  std::uint16_t count = 0;
  domain.CloseDomain(&count, 1, parcels);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(parcels[0].domainType, kType);
  EXPECT_EQ(parcels[0].length, 0);
  EXPECT_EQ(std::filesystem::file_size(DomainFilePath(host, parcel, 0)), 0u);
}

TEST_F(DomainBaseTest, BaseOperationsAnswerWithTheirDefaults) {
  VDomain domain;
  EXPECT_EQ(domain.Backtranslate(), 1);
  CString name = "unchanged";
  domain.GetName(name);
  EXPECT_EQ(name, "unchanged");
  EXPECT_TRUE(domain.IsKindOf(RUNTIME_CLASS(VDomain)));
  EXPECT_STREQ(domain.GetRuntimeClass()->m_lpszClassName, "VDomain");
}

TEST_F(DomainBaseTest, WriteDomainHeaderCoversHeaderAndBody) {
  HeaderOnlyDomain domain(24);
  domain.OpenDomain(parcel, nullptr, kOpenForGeneration);
  domain.WriteDomain(0);
  EXPECT_EQ(domain.HeaderLength(), 38);
  std::uint16_t count = 0;
  ObjParcelType parcels[1];
  domain.CloseDomain(&count, 0, parcels);
  const auto bytes = testutil::ReadWholeFile(DomainFilePath(host, parcel, 0));
  ASSERT_EQ(bytes.size(), 1024u);
  EXPECT_EQ(testutil::WordAt(bytes, 0), 37);  // "OffsetToLastByte"
  EXPECT_EQ(bytes[2], kType);
  EXPECT_EQ(bytes[3], 0);                    // scope
  EXPECT_EQ(testutil::WordAt(bytes, 4), 1);  // version
  EXPECT_EQ(parcels[0].length, 14);
}

TEST_F(DomainBaseTest, ListingHeaderGoesToTheListingSibling) {
  HeaderOnlyDomain domain(24);
  domain.OpenDomain(parcel, nullptr, kOpenForGeneration);
  domain.WriteDomain(1);
  domain.GetFile().CFile::Close();
  const auto listing = testutil::ReadWholeFile(testutil::StagedFilePath(host, parcel, 0, 'D'));
  const std::string text(listing.begin(), listing.end());
  EXPECT_NE(text.find("DataSet Specification:"), std::string::npos);
  EXPECT_NE(text.find("37   0  37  .%  OffsetToLastByte"), std::string::npos) << text;
  EXPECT_FALSE(std::filesystem::exists(testutil::StagedFilePath(host, parcel, 0)))
      << "the domain file left for its listing was never complete";
  EXPECT_FALSE(std::filesystem::exists(DomainFilePath(host, parcel, 0)));
}

TEST_F(DomainBaseTest, RemoveDomainDeletesTheFile) {
  VDomain domain;
  domain.OpenDomain(parcel, nullptr, kOpenForGeneration);
  ASSERT_TRUE(std::filesystem::exists(testutil::StagedFilePath(host, parcel, 0)));
  domain.RemoveDomain();
  EXPECT_FALSE(std::filesystem::exists(testutil::StagedFilePath(host, parcel, 0)));
}

TEST_F(DomainBaseTest, DestroyingADomainKeepsItsFile) {
  {
    VDomain domain;
    domain.OpenDomain(parcel, nullptr, kOpenForGeneration);
  }
  EXPECT_TRUE(std::filesystem::exists(testutil::StagedFilePath(host, parcel, 0)));
}

TEST_F(DomainBaseTest, ReadingAMissingDomainRaisesFileNotFound) {
  VDomain domain;
  EXPECT_CAUSE(domain.OpenDomain(parcel, nullptr, kOpenForReading), CFileException::fileNotFound);
}

TEST_F(DomainBaseTest, ManagerDrivesTheBaseThroughGeneration) {
  VManager manager(nullptr, [](std::uint16_t) { return std::make_unique<HeaderOnlyDomain>(4); });
  manager.CreateDomain(kType, parcel);
  ObjParcelType parcels[3] = {};
  std::uint16_t count = 2;
  manager.DumpAndFreeDomain(kType, &count, parcels, 0);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(parcels[0].length, 14);
  // A domain still open when the manager goes is removed with its file.
  {
    VManager other(nullptr, [](std::uint16_t) { return std::make_unique<HeaderOnlyDomain>(4); });
    other.CreateDomain(kType, testutil::DomainParcel(kType, 2));
    EXPECT_TRUE(std::filesystem::exists(
        testutil::StagedFilePath(host, testutil::DomainParcel(kType, 2), 0)));
  }
  EXPECT_FALSE(
      std::filesystem::exists(testutil::StagedFilePath(host, testutil::DomainParcel(kType, 2), 0)));
}

}  // namespace

}  // namespace morvit
