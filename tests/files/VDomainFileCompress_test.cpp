// VDomainFile::Compress and Uncompress: the file moves to its Z sibling and then to its X
// sibling, imploded and exploded (method 2) or only renamed (other methods), replacing stale
// siblings; a broken stream leaves no X file.
#include <gtest/gtest.h>

#include <filesystem>

#include "fixtures/DomainFiles.h"
#include "fixtures/TestUtil.h"
#include "morvit/VDomainFile.h"

namespace morvit {

namespace {

using testutil::DomainFilePath;

class DomainFileCompressTest : public ::testing::Test {
 protected:
  std::vector<std::uint8_t> ReadAll(VDomainFile& file) {
    std::vector<std::uint8_t> bytes(file.GetLength());
    EXPECT_EQ(file.Read(bytes.data(), static_cast<unsigned>(bytes.size())), bytes.size());
    return bytes;
  }

  testutil::FakeHost host;
  testutil::ScopedHost scoped{host};
  ObjParcelType parcel = testutil::DomainParcel(3);
};

TEST_F(DomainFileCompressTest, CompressThenUncompressGivesTheFileBack) {
  std::vector<std::uint8_t> content(5000);
  for (std::size_t i = 0; i < content.size(); ++i) content[i] = static_cast<std::uint8_t>(i / 3);
  for (std::uint16_t method : {2, 1, 7}) {
    SCOPED_TRACE(method);
    // A file created for its parcel is being generated: its siblings carry the staging mark.
    const std::string zPath = testutil::StagedFilePath(host, parcel, 0, 'Z');
    const std::string xPath = testutil::StagedFilePath(host, parcel, 0, 'X');
    testutil::WriteWholeFile(zPath, {1, 2, 3});  // stale siblings are replaced
    testutil::WriteWholeFile(xPath, {4, 5, 6});
    VDomainFile file;
    file.OpenDomain(parcel, CFile::modeCreate | CFile::modeReadWrite);
    file.Write(content.data(), static_cast<unsigned>(content.size()));

    file.Compress(method);
    EXPECT_EQ(file.GetFullPath(), zPath);
    EXPECT_FALSE(std::filesystem::exists(testutil::StagedFilePath(host, parcel, 0)));
    if (method == 2) {
      EXPECT_LT(file.GetLength(), content.size() / 4) << "imploded";
    } else {
      EXPECT_EQ(ReadAll(file), content) << "moved as it is";
    }

    file.Uncompress(method);
    EXPECT_EQ(file.GetFullPath(), xPath);
    EXPECT_FALSE(std::filesystem::exists(zPath));
    EXPECT_EQ(file.GetPosition(), 0u);
    EXPECT_EQ(ReadAll(file), content);
    file.RemoveDomain(VDomainFile::fileExpanded);
  }
}

TEST_F(DomainFileCompressTest, BrokenStreamRaisesEndOfFileAndLeavesNoExpansion) {
  const struct {
    const char* name;
    std::vector<std::uint8_t> stream;
  } rows[] = {
      {"too short", {0, 6, 0}},
      {"bad dictionary size", {0, 9, 0xFF, 0xFF, 0xFF}},
      {"cut before the end code", {0, 6, 0x12, 0x34, 0x56, 0x78}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const std::string zPath = DomainFilePath(host, parcel, 0, 'Z');
    testutil::WriteWholeFile(zPath, row.stream);
    VDomainFile file;
    file.OpenDomain(zPath);
    EXPECT_CAUSE(file.Uncompress(2), CFileException::endOfFile);
    EXPECT_FALSE(std::filesystem::exists(DomainFilePath(host, parcel, 0, 'X')));
  }
}

}  // namespace

}  // namespace morvit
