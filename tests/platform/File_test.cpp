// The file layer's behaviours the domain code relies on: short reads, positions across
// buffered writes, lengths, truncation on create, and the cause of each failure.
#include <filesystem>
#include <numeric>

#include "fixtures/TestPlatform.h"
#include "fixtures/TestUtil.h"
#include "morvit/platform.h"

namespace morvit {

namespace {

using testutil::ScratchDir;

std::vector<std::uint8_t> Sequence(std::size_t n) {
  std::vector<std::uint8_t> bytes(n);
  for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + 3);
  return bytes;
}

TEST(FileIo, ShortReadReturnsTheCountRead) {
  ScratchDir dir;
  testutil::WriteWholeFile(dir.File("a"), Sequence(10));
  CFile file(dir.File("a"), CFile::modeRead);
  std::uint8_t buffer[16] = {};
  EXPECT_EQ(file.Read(buffer, 4), 4u);
  EXPECT_EQ(file.Read(buffer, 16), 6u);
  EXPECT_EQ(buffer[0], Sequence(10)[4]);
  EXPECT_EQ(file.Read(buffer, 16), 0u);
}

TEST(FileIo, PositionAndLengthFollowBufferedWrites) {
  ScratchDir dir;
  CFile file(dir.File("w"), CFile::modeCreate | CFile::modeReadWrite);
  const auto data = Sequence(300);
  for (std::size_t i = 0; i < data.size(); i += 2) file.Write(&data[i], 2);
  EXPECT_EQ(file.GetPosition(), 300u);
  EXPECT_EQ(file.GetLength(), 300u);
  EXPECT_EQ(file.Seek(0, CFile::current), 300);
  // Overwrite inside what is still buffered, then read across the whole file.
  EXPECT_EQ(file.Seek(-200, CFile::current), 100);
  const std::uint8_t patch[2] = {0xAB, 0xCD};
  file.Write(patch, 2);
  file.SeekToBegin();
  std::vector<std::uint8_t> back(300);
  ASSERT_EQ(file.Read(back.data(), 300), 300u);
  auto expected = data;
  expected[100] = 0xAB;
  expected[101] = 0xCD;
  EXPECT_EQ(back, expected);
  file.Close();
  EXPECT_EQ(testutil::ReadWholeFile(dir.File("w")), expected);
}

TEST(FileIo, LargeWritesAndReadsBypassTheBuffer) {
  ScratchDir dir;
  const auto data = Sequence(200000);
  {
    CFile file(dir.File("big"), CFile::modeCreate | CFile::modeWrite);
    file.Write(data.data(), 5);
    file.Write(data.data() + 5, static_cast<unsigned>(data.size() - 5));
  }
  CFile file(dir.File("big"), CFile::modeRead);
  EXPECT_EQ(file.GetLength(), data.size());
  std::vector<std::uint8_t> back(data.size());
  EXPECT_EQ(file.Read(back.data(), 3), 3u);
  EXPECT_EQ(file.Read(back.data() + 3, static_cast<unsigned>(back.size() - 3)), back.size() - 3);
  EXPECT_EQ(back, data);
}

TEST(FileIo, CreateTruncatesUnlessAskedNotTo) {
  ScratchDir dir;
  testutil::WriteWholeFile(dir.File("t"), Sequence(50));
  {
    CFile keep(dir.File("t"), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite);
    EXPECT_EQ(keep.GetLength(), 50u);
  }
  CFile file(dir.File("t"), CFile::modeCreate | CFile::modeReadWrite);
  EXPECT_EQ(file.GetLength(), 0u);
}

TEST(FileIo, SetLengthTruncatesAndExtends) {
  ScratchDir dir;
  CFile file(dir.File("s"), CFile::modeCreate | CFile::modeReadWrite);
  const auto data = Sequence(40);
  file.Write(data.data(), 40);
  file.SetLength(10);
  EXPECT_EQ(file.GetLength(), 10u);
  file.SetLength(20);
  file.SeekToBegin();
  std::uint8_t back[20];
  ASSERT_EQ(file.Read(back, 20), 20u);
  EXPECT_EQ(back[9], data[9]);
  EXPECT_EQ(back[15], 0);
}

TEST(FileIo, DestructorWritesWhatIsBuffered) {
  ScratchDir dir;
  {
    CFile file(dir.File("d"), CFile::modeCreate | CFile::modeWrite);
    const std::uint8_t bytes[3] = {1, 2, 3};
    file.Write(bytes, 3);
  }
  EXPECT_EQ(testutil::ReadWholeFile(dir.File("d")), (std::vector<std::uint8_t>{1, 2, 3}));
}

TEST(FileIo, BackslashIsASeparator) {
  ScratchDir dir;
  std::filesystem::create_directory(dir.path() / "sub");
  CFile file(dir.path().string() + "\\sub\\x", CFile::modeCreate | CFile::modeWrite);
  file.Close();
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "sub" / "x"));
}

struct FailureCase {
  const char* name;
  int expectedCause;
};

TEST(FileFailures, OpenReportsTheCause) {
  ScratchDir dir;
  testutil::WriteWholeFile(dir.File("plain"), Sequence(1));
  std::filesystem::create_directory(dir.path() / "adir");
  const struct {
    std::string path;
    unsigned flags;
    int cause;
  } cases[] = {
      {dir.File("missing"), CFile::modeRead, CFileException::fileNotFound},
      {dir.File("nodir/x"), CFile::modeCreate | CFile::modeWrite, CFileException::fileNotFound},
      {dir.File("plain/x"), CFile::modeRead, CFileException::badPath},
      {dir.File(std::string(5000, 'n')), CFile::modeRead, CFileException::badPath},
      {dir.File("adir"), CFile::modeRead, CFileException::accessDenied},
      {"", CFile::modeRead, CFileException::fileNotFound},
  };
  for (const auto& c : cases) {
    CFile file;
    CFileException error;
    EXPECT_FALSE(file.Open(c.path, c.flags, &error)) << c.path.substr(0, 80);
    EXPECT_EQ(error.m_cause, c.cause) << c.path.substr(0, 80);
    EXPECT_CAUSE(CFile(c.path, c.flags), c.cause);
  }
}

TEST(FileFailures, AccessDeniedOnReadOnlyDirectory) {
  if (!testutil::DirectoryPermissionsDeny()) GTEST_SKIP() << "nothing is denied here";
  ScratchDir dir;
  std::filesystem::create_directory(dir.path() / "ro");
  std::filesystem::permissions(dir.path() / "ro", std::filesystem::perms(0500));
  EXPECT_CAUSE(CFile(dir.File("ro/x"), CFile::modeCreate | CFile::modeWrite),
               CFileException::accessDenied);
}

TEST(FileFailures, SeekBeforeTheStartIsABadSeek) {
  ScratchDir dir;
  CFile file(dir.File("s"), CFile::modeCreate | CFile::modeReadWrite);
  EXPECT_CAUSE(file.Seek(-1, CFile::begin), CFileException::badSeek);
  EXPECT_EQ(file.GetPosition(), 0u);
}

TEST(FileFailures, RemoveAndRenameOfMissingFiles) {
  ScratchDir dir;
  EXPECT_CAUSE(CFile::Remove(dir.File("none")), CFileException::fileNotFound);
  EXPECT_CAUSE(CFile::Rename(dir.File("none"), dir.File("other")), CFileException::fileNotFound);
  testutil::WriteWholeFile(dir.File("a"), Sequence(3));
  CFile::Rename(dir.File("a"), dir.File("b"));
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "b"));
  CFile::Remove(dir.File("b"));
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "b"));
}

TEST(FileFailures, ErrnoTable) {
  const struct {
    int err;
    int cause;
  } rows[] = {
      {ENOENT, CFileException::fileNotFound},
      {ENOTDIR, CFileException::badPath},
      {ENAMETOOLONG, CFileException::badPath},
      {EINVAL, CFileException::badPath},
      {EMFILE, CFileException::tooManyOpenFiles},
      {EACCES, CFileException::accessDenied},
      {EPERM, CFileException::accessDenied},
      {EROFS, CFileException::accessDenied},
      {ENOSPC, CFileException::diskFull},
      {EIO, CFileException::hardIO},
      {0, CFileException::none},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(CFileException::OsErrorToCause(row.err), row.cause) << row.err;
  }
}

TEST(MemFile, GrowsAndReadsBack) {
  CMemFile file(64);
  const auto data = Sequence(1000);
  for (std::size_t i = 0; i < data.size(); i += 10) file.Write(&data[i], 10);
  EXPECT_EQ(file.GetLength(), 1000u);
  EXPECT_EQ(file.GetPosition(), 1000u);
  file.SeekToBegin();
  std::vector<std::uint8_t> back(1200);
  EXPECT_EQ(file.Read(back.data(), 1200), 1000u);
  back.resize(1000);
  EXPECT_EQ(back, data);
  EXPECT_EQ(std::vector<std::uint8_t>(file.Data(), file.Data() + 1000), data);
}

TEST(MemFile, WritePastTheEndFillsWithZeros) {
  CMemFile file;
  const std::uint8_t one = 9;
  file.Seek(5, CFile::begin);
  EXPECT_EQ(file.GetLength(), 0u);
  file.Write(&one, 1);
  ASSERT_EQ(file.GetLength(), 6u);
  EXPECT_EQ(file.Data()[0], 0);
  EXPECT_EQ(file.Data()[5], 9);
  EXPECT_CAUSE(file.Seek(-7, CFile::current), CFileException::badSeek);
}

TEST(RuntimeClass, IsKindOfWalksTheChain) {
  CMemFile mem;
  CObject plain;
  EXPECT_TRUE(mem.IsKindOf(RUNTIME_CLASS(CObject)));
  EXPECT_FALSE(plain.IsKindOf(nullptr));
  EXPECT_STREQ(plain.GetRuntimeClass()->m_lpszClassName, "CObject");
}

}  // namespace

}  // namespace morvit
