// The host interface as the file class and the path utility rely on it, the same on every
// host: open files can be renamed over and removed, a rename replaces its target, transfers
// reach past 4 GiB, unique files never collide, and failures carry the POSIX cause.
#include "platform/HostSystem.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <set>

#include "fixtures/TestUtil.h"

namespace morvit {

using testutil::ScratchDir;
namespace fs = std::filesystem;

namespace {

CString Slashed(const fs::path& path) { return path.generic_string(); }

TEST(HostSystem, OpenFilesCanBeReplacedRenamedAndRemoved) {
  ScratchDir dir;
  const CString a = Slashed(dir.path() / "a"), b = Slashed(dir.path() / "b");
  const hostsys::Handle first = hostsys::Open(a, hostsys::OpenMode::readWrite, true, true);
  const hostsys::Handle second = hostsys::Open(b, hostsys::OpenMode::readWrite, true, true);
  ASSERT_NE(first, hostsys::kNoHandle);
  ASSERT_NE(second, hostsys::kNoHandle);
  ASSERT_EQ(hostsys::WriteAt(first, "new", 3, 0), 3);
  EXPECT_TRUE(hostsys::Close(second));
  // The staged finish moves a file that is still open over an existing one.
  EXPECT_TRUE(hostsys::Rename(a, b));
  EXPECT_EQ(hostsys::KindOf(a), hostsys::Kind::missing);
  char buffer[8] = {};
  EXPECT_EQ(hostsys::ReadAt(first, buffer, sizeof buffer, 0), 3);
  EXPECT_EQ(CString(buffer), "new");
  // And an open file can be removed; its name goes with the last close.
  EXPECT_TRUE(hostsys::Remove(b));
  EXPECT_TRUE(hostsys::Close(first));
  EXPECT_TRUE(fs::is_empty(dir.path()));
}

TEST(HostSystem, OffsetsAndLengthsPastFourGigabytes) {
  ScratchDir dir;
  const hostsys::Handle file =
      hostsys::Open(Slashed(dir.path() / "big"), hostsys::OpenMode::readWrite, true, true);
  ASSERT_NE(file, hostsys::kNoHandle);
  const std::uint64_t far = (std::uint64_t{5} << 30) + 7;
  ASSERT_EQ(hostsys::WriteAt(file, "z", 1, far), 1);
  std::uint64_t length = 0;
  ASSERT_TRUE(hostsys::Length(file, length));
  EXPECT_EQ(length, far + 1);
  char c = 0;
  EXPECT_EQ(hostsys::ReadAt(file, &c, 1, far), 1);
  EXPECT_EQ(c, 'z');
  EXPECT_EQ(hostsys::ReadAt(file, &c, 1, far + 1), 0);  // the end
  EXPECT_TRUE(hostsys::Truncate(file, 10));
  ASSERT_TRUE(hostsys::Length(file, length));
  EXPECT_EQ(length, 10u);
  hostsys::Close(file);
}

TEST(HostSystem, FailuresCarryTheirCause) {
  ScratchDir dir;
  const struct {
    const char* what;
    bool (*call)(const CString& base);
    int error;
  } cases[] = {
      {"open of a missing file",
       [](const CString& base) {
         return hostsys::Open(base + "/none", hostsys::OpenMode::read, false, false) !=
                hostsys::kNoHandle;
       },
       ENOENT},
      {"open of a directory",
       [](const CString& base) {
         return hostsys::Open(base, hostsys::OpenMode::read, false, false) != hostsys::kNoHandle;
       },
       EISDIR},
      {"rename of a missing file",
       [](const CString& base) { return hostsys::Rename(base + "/none", base + "/other"); },
       ENOENT},
      {"removal of a missing file",
       [](const CString& base) { return hostsys::Remove(base + "/none"); }, ENOENT},
  };
  for (const auto& c : cases) {
    errno = 0;
    EXPECT_FALSE(c.call(Slashed(dir.path()))) << c.what;
    EXPECT_EQ(errno, c.error) << c.what;
  }
}

TEST(HostSystem, DirectoriesUniqueFilesAndSpace) {
  ScratchDir dir;
  const CString base = Slashed(dir.path());
  EXPECT_TRUE(hostsys::MakeDirectory(base + "/sub"));
  EXPECT_EQ(hostsys::KindOf(base + "/sub"), hostsys::Kind::directory);
  std::set<CString> made;
  for (int i = 0; i < 20; ++i) {
    CString pattern = base + "/sub/~uXXXXXX";
    ASSERT_TRUE(hostsys::MakeUniqueFile(pattern));
    EXPECT_EQ(hostsys::KindOf(pattern), hostsys::Kind::file);
    made.insert(pattern);
  }
  EXPECT_EQ(made.size(), 20u);
  std::vector<hostsys::DirectoryItem> items;
  ASSERT_TRUE(hostsys::ListDirectory(base + "/sub", items));
  EXPECT_EQ(items.size(), 20u);
  EXPECT_FALSE(hostsys::RemoveDir(base + "/sub"));  // not empty
  for (const CString& file : made) EXPECT_TRUE(hostsys::Remove(file));
  EXPECT_TRUE(hostsys::RemoveDir(base + "/sub"));
  EXPECT_FALSE(hostsys::ListDirectory(base + "/sub", items));

  EXPECT_TRUE(hostsys::FreeBytes(base).has_value());
  EXPECT_FALSE(hostsys::FreeBytes(base + "/missing").has_value());
  const CString full = hostsys::FullPath(base + "/x/../y");
  EXPECT_EQ(full.substr(full.size() - 2), "/y");
  EXPECT_EQ(full.find('\\'), CString::npos);
}

}  // namespace

}  // namespace morvit
