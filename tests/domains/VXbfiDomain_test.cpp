// The XBFI file carrier: files recreated in list order (an empty path skipping one), names
// that would leave their directory refused, a damaged body refused before anything is written
// for it, and a listed file that cannot be read failing the generation.
#include "domains/VXbfiDomain.h"

#include <filesystem>
#include <memory>

#include "fixtures/DomainFiles.h"
#include "fixtures/NodeFiles.h"
#include "fixtures/TestPlatform.h"

namespace morvit {

using namespace testutil;
namespace fs = std::filesystem;

namespace {

constexpr std::uint16_t kXbfi = 119;

class XbfiTest : public DomainTypeTest {
 protected:
  XbfiTest() {
    fs::create_directories(source);
    fs::create_directories(out);
    WriteWholeFile(source + "a", TextBytes("abc"));
    WriteWholeFile(source + "b", {});
    WriteWholeFile(source + "c", TextBytes("cc"));
  }

  void Generate(const std::vector<std::string>& names) {
    VXbfiDomain domain;
    for (const std::string& name : names) domain.AddFile(source + name);
    ASSERT_FALSE(GenerateDomain(domain, TestParcel(kXbfi)).empty());
  }

  std::unique_ptr<VXbfiDomain> Read() {
    auto domain = std::make_unique<VXbfiDomain>();
    domain->OpenDomain(TestParcel(kXbfi), nullptr, kOpenForReading);
    domain->ReadDomain();
    return domain;
  }

  // Every path below the scratch root, relative to it, sorted.
  std::vector<std::string> Tree() const {
    std::vector<std::string> paths;
    for (const auto& entry : fs::recursive_directory_iterator(root.path())) {
      paths.push_back(fs::relative(entry.path(), root.path()).generic_string());
    }
    std::sort(paths.begin(), paths.end());
    return paths;
  }

  ScratchDir root;
  const std::string source = root.File("source") + "/";
  const std::string out = root.File("out") + "/";
};

// Files of 3 and 0 bytes come back, the second empty; an empty path skips one file.
TEST_F(XbfiTest, RecreatesFilesInOrderAndSkipsEmptyPaths) {
  Generate({"a", "c", "b"});
  auto domain = Read();
  domain->AddStoredFile(out + "sub/", "a");
  domain->AddFile("");
  domain->AddStoredFile(out, "b");
  EXPECT_EQ(domain->Backtranslate(), 1);
  EXPECT_EQ(ReadWholeFile(out + "sub/a"), TextBytes("abc"));
  EXPECT_TRUE(fs::is_regular_file(out + "b"));
  EXPECT_EQ(fs::file_size(out + "b"), 0u);
  EXPECT_EQ(Tree(), (std::vector<std::string>{"out", "out/b", "out/sub", "out/sub/a", "source",
                                              "source/a", "source/b", "source/c"}));
}

// A stored name with a separator, a drive, a dot component or nothing raises bad path; the
// file before it stays, nothing is written for it or after it, nothing outside the directory.
TEST_F(XbfiTest, RefusesNamesThatLeaveTheDirectory) {
  Generate({"a", "b", "c"});
  for (const char* name : {"../x", "sub/x", "sub\\x", "C:x", "/x", "..", ".", ""}) {
    SCOPED_TRACE(name);
    auto domain = Read();
    domain->AddStoredFile(out, "a");
    domain->AddStoredFile(out, name);
    domain->AddStoredFile(out, "c");
    EXPECT_CAUSE(domain->Backtranslate(), CFileException::badPath);
    EXPECT_EQ(Tree(), (std::vector<std::string>{"out", "out/a", "source", "source/a", "source/b",
                                                "source/c"}));
    fs::remove(out + "a");
  }
}

// A size that runs past the domain's end (patched into an uncompressed copy of the domain) and
// a list longer than the body both raise end-of-file before the file is created.
TEST_F(XbfiTest, DamagedBodyWritesNothingForTheDamagedFile) {
  Generate({"a"});
  Read();  // leaves the expanded copy beside the domain
  Bytes expanded = OnlyFile('X');
  for (const auto& path : FilesWithExtensionLetter(host.DataDirectory(), 'C')) fs::remove(path);
  for (const auto& path : FilesWithExtensionLetter(host.DataDirectory(), 'X')) fs::remove(path);
  const std::string domainPath = DomainFilePath(host, TestParcel(kXbfi), 0);

  WriteWholeFile(domainPath, expanded);
  auto longList = Read();
  longList->AddStoredFile(out, "a");
  longList->AddStoredFile(out, "b");
  EXPECT_CAUSE(longList->Backtranslate(), CFileException::endOfFile);
  EXPECT_EQ(ReadWholeFile(out + "a"), TextBytes("abc"));
  EXPECT_FALSE(fs::exists(out + "b"));

  expanded.at(50 + 2) = 0x10;  // size 0x1003: past the end
  WriteWholeFile(domainPath, expanded);
  auto tooLong = Read();
  tooLong->AddStoredFile(out, "d");
  EXPECT_CAUSE(tooLong->Backtranslate(), CFileException::endOfFile);
  EXPECT_FALSE(fs::exists(out + "d"));
}

// A listed file that cannot be read fails the node's generation: a failure status, no parcel,
// and neither the node's nor the file list's file left behind.
TEST_F(XbfiTest, UnreadableListedFileFailsTheGeneration){const struct {const char * what;
// Makes the file; what it gives back keeps the file unreadable while it lives.
std::function<std::shared_ptr<void>(const std::string&)> make;
std::int16_t status;
}  // namespace
rows[] = {
    {"a directory",
     [](const std::string& p) {
       fs::create_directories(p);
       return nullptr;
     },
     -703},
    {"a file that cannot be opened",
     [](const std::string& p) { return std::make_shared<testutil::UnreadableFile>(p); },
#ifdef _WIN32
     -706},  // held by another program: a failure other than the named ones
#else
     -702},  // a dangling link: the file is not found
#endif
};
for (const auto& row : rows) {
  SCOPED_TRACE(row.what);
  PutNodeFile(host, kDirectoryTcData, "A.DAT", TextBytes("a"));
  auto unreadable = row.make(host.Directory(kDirectoryTcData) + "B.DAT");
  PutNodeFile(host, kDirectoryTcData, "C.DAT", TextBytes("c"));
  const Generation g = GenerateThroughC(1, {NodeRecord({{4, 0, 0}, 4, 0, "", true, "*.DAT"})});
  EXPECT_EQ(g.finishStatus, row.status);
  EXPECT_TRUE(g.parcels.empty());
  EXPECT_EQ(DataFileNames(host), std::vector<std::string>{});
  unreadable.reset();
  fs::remove_all(host.Directory(kDirectoryTcData));
}
}  // namespace morvit

}  // namespace

}  // namespace morvit
