// VDomainFile: sibling paths, padded closing and its records, continuation files and the
// parcels reported for them, reopening, removal and open failures.
#include "morvit/VDomainFile.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

#include "fixtures/FakeHost.h"
#include "fixtures/TestUtil.h"

namespace morvit {

namespace {

namespace fs = std::filesystem;

// Sets the path without opening anything.
class PathProbe : public VDomainFile {
 public:
  explicit PathProbe(const CString& path) { m_strPath = path; }
};

void WriteFilled(CFile& file, std::size_t count, std::uint8_t value = 0xAB) {
  const std::vector<std::uint8_t> bytes(count, value);
  if (count != 0) file.Write(bytes.data(), static_cast<unsigned>(count));
}

class DomainFileTest : public ::testing::Test {
 protected:
  DomainFileTest() {
    parcel.objectNumber = 1;
    parcel.classLetter = 'C';
    parcel.domainType = 17;  // data-set code "CA"
    parcel.version = 3;
    parcel.timeStamp[0] = 26;
  }

  CString DataFile(const CString& name) const { return host.DataDirectory() + name; }

  // A domain of three files of 100, 2000 and 1024 bytes, left open at the third.
  void WriteThreeFiles(VDomainFile& file) {
    file.OpenDomain(parcel, CFile::modeCreate | CFile::modeReadWrite);
    WriteFilled(file, 100);
    file.OpenContinuationDomainWrite(0);
    WriteFilled(file, 2000);
    file.OpenContinuationDomainWrite(0);
    WriteFilled(file, 1024);
  }

  testutil::FakeHost host;
  testutil::ScopedHost scoped{host};
  ObjParcelType parcel{};
};

TEST(DomainFilePaths, SiblingPathReplacesTheFirstExtensionLetterOfTheFileName) {
  struct Case {
    const char* path;
    int type;
    const char* expected;
  };
  const Case cases[] = {
      {"/d/CA000003.C01", VDomainFile::fileDomain, "/d/CA000003.C01"},
      {"/d/CA000003.C01", VDomainFile::fileListing, "/d/CA000003.D01"},
      {"/d/CA000003.C01", VDomainFile::fileCompressed, "/d/CA000003.Z01"},
      {"/d/CA000003.Z01", VDomainFile::fileExpanded, "/d/CA000003.X01"},
      {"/d/CA000003.C01", 0, "/d/CA000003.C01"},
      {"/d/CA000003.C01", 5, "/d/CA000003.C01"},
      {"", VDomainFile::fileCompressed, ""},
      {"NAME", VDomainFile::fileCompressed, "ZAME"},
      {"/d.x/NAME", VDomainFile::fileListing, "/d.x/DAME"},  // a directory's '.' is not touched
      {"/d/NAME.", VDomainFile::fileCompressed, "/d/NAME.Z"},
      {"/d/", VDomainFile::fileCompressed, "/d/"},
      {"d\\CA000003.C01", VDomainFile::fileExpanded, "d\\CA000003.X01"},
  };
  for (const Case& c : cases) {
    const PathProbe file(c.path);
    EXPECT_EQ(file.GetPath(static_cast<VDomainFile::FILETYPE>(c.type)), c.expected)
        << c.path << " type " << c.type;
  }
}

TEST(DomainFilePaths, FileNameIsThePartAfterTheLastSeparator) {
  EXPECT_EQ(PathProbe("/d/e/CA000003.C01").GetFileName(), "CA000003.C01");
  EXPECT_EQ(PathProbe("d\\e\\N.C01").GetFileName(), "N.C01");
  EXPECT_EQ(PathProbe("N.C01").GetFileName(), "N.C01");
}

TEST_F(DomainFileTest, ClosePadsToWholeKilobytesAndRecordsTheUnpaddedLength) {
  struct Case {
    std::size_t written;
    int pad;
    std::size_t onDisk;
  };
  const Case cases[] = {{0, 1, 0},       {1, 1, 1024},    {1023, 1, 1024}, {1024, 1, 1024},
                        {1025, 1, 2048}, {2048, 1, 2048}, {1025, 0, 1025}};
  for (const Case& c : cases) {
    const CString path = DataFile("PAD.C01");
    VDomainFile file;
    file.OpenCreateDomain(path);
    WriteFilled(file, c.written);
    file.Close(c.pad);

    const std::vector<std::uint8_t> bytes = testutil::ReadWholeFile(path);
    ASSERT_EQ(bytes.size(), c.onDisk) << c.written;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      ASSERT_EQ(bytes[i], i < c.written ? 0xAB : 0x00) << c.written << " at " << i;
    }
    // The closed file is reported once (closing a closed file records nothing more).
    ObjParcelType parcels[2]{};
    std::uint16_t count = 0;
    file.CloseDomain(&count, 1, parcels);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(parcels[0].length, c.written);
  }
}

TEST_F(DomainFileTest, ThreeFileDomainReportsOneParcelPerFileInOrder) {
  VDomainFile file;
  WriteThreeFiles(file);
  ObjParcelType parcels[8]{};
  std::uint16_t count = 4;  // entries are appended at the count
  file.CloseDomain(&count, 7, parcels);

  ASSERT_EQ(count, 7);
  const std::uint16_t lengths[] = {100, 2000, 1024};
  const char* names[] = {"CA000003.C01", "CA010003.C01", "CA020003.C01"};
  const std::uintmax_t sizes[] = {1024, 2048, 1024};
  for (int i = 0; i < 3; ++i) {
    const ObjParcelType& entry = parcels[4 + i];
    EXPECT_EQ(entry.scope, i);
    EXPECT_EQ(entry.length, lengths[i]);
    EXPECT_EQ(entry.domainType, 17);
    EXPECT_EQ(entry.objectNumber, 1);
    EXPECT_EQ(entry.version, 3);
    EXPECT_EQ(entry.timeStamp[0], 26);
    EXPECT_EQ(fs::file_size(DataFile(names[i])), sizes[i]) << names[i];
  }
  EXPECT_EQ(parcels[3].domainType, 0);
}

// The entries that fit are copied (the finish's status reads the type from the first), but a
// domain without all its files reports none and keeps none.
TEST_F(DomainFileTest, FullArrayRaisesGenericAfterCopyingWhatFits) {
  VDomainFile file;
  WriteThreeFiles(file);
  ObjParcelType parcels[3]{};
  parcels[2].domainType = 0x7777;
  std::uint16_t count = 0;
  EXPECT_CAUSE(file.CloseDomain(&count, 1, parcels), CFileException::genericException);
  EXPECT_EQ(count, 0);
  EXPECT_TRUE(fs::is_empty(host.DataDirectory()));
  EXPECT_EQ(parcels[0].scope, 0);
  EXPECT_EQ(parcels[1].scope, 1);
  EXPECT_EQ(parcels[1].length, 2000);
  EXPECT_EQ(parcels[2].domainType, 0x7777);
}

TEST_F(DomainFileTest, NullCountOrArrayHasNoRoom) {
  VDomainFile file;
  file.OpenDomain(parcel, CFile::modeCreate | CFile::modeReadWrite);
  std::uint16_t count = 0;
  EXPECT_CAUSE(file.CloseDomain(&count, 5, nullptr), CFileException::genericException);
  EXPECT_EQ(count, 0);
  VDomainFile other;  // the failure above removed the first file
  other.OpenDomain(parcel, CFile::modeCreate | CFile::modeReadWrite);
  ObjParcelType parcels[2]{};
  EXPECT_CAUSE(other.CloseDomain(nullptr, 5, parcels), CFileException::genericException);
  EXPECT_EQ(parcels[0].domainType, 0);
}

TEST_F(DomainFileTest, LengthsOf64KiBAndMoreAreRecordedModulo65536) {
  const struct {
    std::size_t written;
    std::uint16_t recorded;
  } cases[] = {{65535, 65535}, {65536, 0}, {70000, 4464}, {131073, 1}};
  for (const auto& c : cases) {
    VDomainFile file;
    file.OpenCreateDomain(DataFile("BIG.C01"));
    WriteFilled(file, c.written);
    ObjParcelType parcels[1]{};
    std::uint16_t count = 0;
    file.CloseDomain(&count, 0, parcels);
    EXPECT_EQ(parcels[0].length, c.recorded) << c.written;
  }
}

TEST_F(DomainFileTest, ContinuationWriteInListingModeMovesToTheNextListingSibling) {
  VDomainFile file;
  file.OpenDomain(parcel, CFile::modeCreate | CFile::modeReadWrite);
  file.OpenContinuationDomainWrite(1);
  EXPECT_EQ(file.GetFullPath(), DataFile("CA010003.D01~" + std::to_string(getpid())))
      << "staged until the domain is closed";
  EXPECT_TRUE(file.IsOpen());
  EXPECT_EQ(file.GetParcel().scope, 1);
}

TEST_F(DomainFileTest, ContinuationReadFollowsTheChainWithoutChangingTheFiles) {
  testutil::WriteWholeFile(DataFile("CA000003.C01"), {1, 2, 3});
  testutil::WriteWholeFile(DataFile("CA010003.C01"), {4, 5});
  VDomainFile file;
  file.OpenDomain(parcel, CFile::modeRead);
  file.OpenContinuationDomainRead();
  EXPECT_EQ(file.GetFullPath(), DataFile("CA010003.C01"));
  std::uint8_t bytes[4]{};
  EXPECT_EQ(file.Read(bytes, 4), 2u);
  EXPECT_EQ(bytes[0], 4);
  EXPECT_EQ(fs::file_size(DataFile("CA000003.C01")), 3u);
  EXPECT_CAUSE(file.OpenContinuationDomainRead(), CFileException::fileNotFound);
}

TEST_F(DomainFileTest, ReopenTruncatesTheSiblingAndRestartsTheListingOffset) {
  const CString path = DataFile("CA000003.C01");
  testutil::WriteWholeFile(DataFile("CA000003.D01"), {9, 9, 9});
  VDomainFile file;
  file.OpenCreateDomain(path);
  WriteFilled(file, 10);
  VMotorolaIO::m_lByteOffset = 7;
  file.Reopen(VDomainFile::fileListing);
  EXPECT_EQ(VMotorolaIO::m_lByteOffset, 0);
  EXPECT_EQ(file.GetFullPath(), DataFile("CA000003.D01"));
  EXPECT_EQ(file.GetLength(), 0u);
  EXPECT_EQ(fs::file_size(path), 10u);

  // Whatever stops the open, Reopen reports file-not-found.
  fs::create_directory(DataFile("CA000003.Z01"));
  EXPECT_CAUSE(file.Reopen(VDomainFile::fileCompressed), CFileException::fileNotFound);
}

TEST_F(DomainFileTest, RemoveByTypeRemovesOnlyThatSibling) {
  const struct {
    int type;
    bool removed;
  } cases[] = {{VDomainFile::fileCompressed, false},
               {0, false},
               {VDomainFile::fileListing, false},
               {VDomainFile::fileDomain, true}};
  for (const auto& c : cases) {
    const CString path = DataFile("CA000003.C01");
    VDomainFile file;
    file.OpenCreateDomain(path);
    file.RemoveDomain(static_cast<VDomainFile::FILETYPE>(c.type));
    EXPECT_EQ(fs::exists(path), !c.removed) << c.type;
  }
  // Removing a sibling that is not there is tidying up and stays quiet; a plain remove is not.
  PathProbe gone(DataFile("GONE.C01"));
  EXPECT_NO_THROW(gone.RemoveDomain(VDomainFile::fileDomain));
  EXPECT_CAUSE(gone.RemoveDomain(), CFileException::fileNotFound);
}

TEST_F(DomainFileTest, OpenFailuresCarryTheCauseAndNoSystemError) {
  VDomainFile file;
  try {
    file.OpenDomain(DataFile("NONE.C01"));
    ADD_FAILURE() << "opened a missing file";
  } catch (const CFileException& e) {
    EXPECT_EQ(e.m_cause, CFileException::fileNotFound);
    EXPECT_EQ(e.m_lOsError, -1);
  }
  EXPECT_EQ(file.GetFullPath(), DataFile("NONE.C01"));
  EXPECT_CAUSE(file.OpenCreateDomain(DataFile("absent/NEW.C01")), CFileException::fileNotFound);
  EXPECT_CAUSE(file.OpenDomain(parcel, CFile::modeRead), CFileException::fileNotFound);
}

}  // namespace

}  // namespace morvit
