// GPath: parsing of host, Windows-style and network paths; directory tests, creation with
// roll-back, listings, tree walks with the callback protocol, temporary files and helpers.
#include "util/GPath.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "fixtures/FakeHost.h"
#include "fixtures/TestPlatform.h"
#include "fixtures/TestUtil.h"

namespace morvit {

namespace fs = std::filesystem;

namespace {

struct ParseCase {
  const char* what;
  const char* input;
  int isFile;
  unsigned flags;
  const char* drive;
  const char* directory;
  const char* name;
  const char* extension;
  const char* path;
  const char* shareRoot;
};

TEST(GPathParse, TakesPathsApart) {
  const ParseCase cases[] = {
      {"blanks, lower-case drive, doubled separator", "  c:/Data//Sub/file.Txt  ", 1, 0,
       "C:", "/Data/Sub/", "file", ".Txt", "c:/Data/Sub/file.Txt", ""},
      {"backslashes", "C:\\Data\\\\Sub\\file.txt", 1, 0, "C:", "/Data/Sub/", "file", ".txt",
       "C:/Data/Sub/file.txt", ""},
      {"directory without trailing separator", "/data/sub", 0, 0, "", "/data/sub/", "", "",
       "/data/sub/", ""},
      {"directory with trailing separator", "/data/sub/", 0, 0, "", "/data/sub/", "", "",
       "/data/sub/", ""},
      {"network path", "\\\\Server\\Share\\dir\\NB000001.C01", 1, 0, "", "//Server/Share/dir/",
       "NB000001", ".C01", "//Server/Share/dir/NB000001.C01", "//Server/Share"},
      {"network path with doubled separators", "//srv//share///x/", 0, 0, "", "//srv/share/x/", "",
       "", "//srv/share/x/", "//srv/share"},
      {"network server only", "//srv/", 0, 0, "", "//srv/", "", "", "//srv/", "//srv/"},
      {"bare data-set name", "NB000001.C01", 1, 0, "", "", "NB000001", ".C01", "NB000001.C01", ""},
      {"relative", "sub/dir/a.b.c", 1, 0, "", "sub/dir/", "a.b", ".c", "sub/dir/a.b.c", ""},
      {"name that is all extension", "/home/.profile", 1, 0, "", "/home/", "", ".profile",
       "/home/.profile", ""},
      {"doubled colon", "d::/x.y", 1, 0, "D:", "/", "x", ".y", "d:/x.y", ""},
      {"blanks kept on request", " a.txt ", 1, GPath::kKeepBlanks, "", "", " a", ".txt ", " a.txt ",
       ""},
      {"slash flag", "x\\y.z", 1, GPath::kBackslashToSlash, "", "x/", "y", ".z", "x/y.z", ""},
      {"empty directory is the root", "", 0, 0, "", "/", "", "", "/", ""},
  };
  for (const ParseCase& c : cases) {
    SCOPED_TRACE(c.what);
    const GPath path(c.input, c.isFile, c.flags);
    EXPECT_EQ(path.GetDrive(), c.drive);
    EXPECT_EQ(path.GetDirectory(), c.directory);
    EXPECT_EQ(path.GetName(), c.name);
    EXPECT_EQ(path.GetExtension(), c.extension);
    EXPECT_EQ(path.GetFileName(), CString(c.name) + c.extension);
    EXPECT_EQ(path.GetPath(), c.path);
    EXPECT_EQ(path.GetShareRoot(), c.shareRoot);
    EXPECT_EQ(path.GetDriveDirectory(), CString(c.drive) + c.directory);
  }
}

TEST(GPathParse, FormatsComponentsAndGoingUp) {
  const GPath dir("/data/Sub", 0);
  EXPECT_EQ(dir.GetDirectory(GPath::kNoTrailingSeparator), "/data/Sub");
  EXPECT_EQ(dir.GetPath(GPath::kNoTrailingSeparator | GPath::kSlashes), "/data/Sub");
  EXPECT_EQ(GPath("/", 0).GetDirectory(GPath::kNoTrailingSeparator), "/");

  struct ComponentCase {
    const char* input;
    std::vector<CString> levels;
  };
  const ComponentCase cases[] = {
      {"/a/b/c/f.x", {"a", "b", "c"}},
      {"//srv/share/x/y/f", {"x", "y"}},
      {"C:\\one\\f", {"one"}},
      {"f", {}},
  };
  for (const ComponentCase& c : cases) {
    const GPath path(c.input, 1);
    ASSERT_EQ(path.GetComponentCount(), static_cast<int>(c.levels.size())) << c.input;
    for (std::size_t i = 0; i < c.levels.size(); ++i) {
      EXPECT_EQ(path.GetComponent(static_cast<int>(i)), c.levels[i]);
    }
    EXPECT_EQ(path.GetComponent(static_cast<int>(c.levels.size())), "");
    EXPECT_EQ(path.GetComponent(-1), "");
  }

  EXPECT_TRUE(GPath("/a/Src_Lib/f", 1).LastComponentIs("x", "SRC_LIB"));
  EXPECT_FALSE(GPath("/a/Src_Lib/f", 1).LastComponentIs("a", "", ""));
  EXPECT_TRUE(GPath("f", 1).LastComponentIs(""));
  EXPECT_FALSE(GPath("f", 1).LastComponentIs("f"));

  GPath up("/a/b/c/f.x", 1);
  ASSERT_TRUE(up.GoUp());
  EXPECT_EQ(up.GetPath(), "/a/b/f.x");
  ASSERT_TRUE(up.GoUp());
  EXPECT_EQ(up.GetPath(), "/a/f.x");
  EXPECT_FALSE(up.GoUp());
  GPath network("//srv/share/x/y/", 0);
  ASSERT_TRUE(network.GoUp());
  EXPECT_EQ(network.GetPath(), "//srv/share/x/");
  EXPECT_EQ(network.GetShareRoot(), "//srv/share");

  GPath name("/Keep/Case/Mixed.Ext", 1);
  name.NameToUpper();
  EXPECT_EQ(name.GetPath(), "/Keep/Case/MIXED.EXT");
  name.NameToLower();
  EXPECT_EQ(name.GetPath(), "/Keep/Case/mixed.ext");
}

TEST(GPathStatic, TextHelpers) {
  std::vector<CString> pieces;
  GPath::SplitArguments("  one \"two three\"  \"\" fo\"u\"r\t", pieces);
  EXPECT_EQ(pieces, (std::vector<CString>{"one", "two three", "four"}));
  EXPECT_EQ(GPath::DriveName(0), "A:");
  EXPECT_EQ(GPath::DriveName(25), "Z:");
  EXPECT_EQ(GPath::DriveName(27), "");
  EXPECT_EQ(GPath::DriveName(-1), "");
  EXPECT_EQ(GPath::DriveIndex("c:/x"), 2);
  EXPECT_EQ(GPath::DriveIndex("/x"), -1);
  EXPECT_EQ(GPath::DriveIndex(""), -1);
  EXPECT_TRUE(GPath::IsUrl("  see HTTP://host/x"));
  EXPECT_FALSE(GPath::IsUrl("https://host"));
  EXPECT_EQ(GPath("//srv/share/f", 1).DriveType(), GPath::kDriveRemote);
  EXPECT_EQ(GPath("/f", 1).DriveType(), GPath::kDriveFixed);
}

// File-system cases on a scratch directory; the current directory is put back afterwards.
class GPathOnDisk : public ::testing::Test {
 protected:
  void SetUp() override { m_cwd = fs::current_path(); }
  void TearDown() override { fs::current_path(m_cwd); }
  CString At(const CString& relative) const { return m_dir.path().string() + "/" + relative; }
  void Touch(const CString& relative) const { testutil::WriteWholeFile(At(relative), {7}); }

  testutil::ScratchDir m_dir;
  fs::path m_cwd;
};

TEST_F(GPathOnDisk, CreateDirectoriesMakesMissingLevels) {
  const GPath deep(At("one/two/"), 0);
  EXPECT_FALSE(deep.DirectoryExists());
  ASSERT_TRUE(deep.CreateDirectories());
  EXPECT_TRUE(fs::is_directory(At("one/two")));
  EXPECT_TRUE(deep.DirectoryExists());
  EXPECT_TRUE(deep.CreateDirectories());  // all levels there: nothing to do
  EXPECT_TRUE(GPath(At("one/two/three/file.txt"), 1).CreateDirectories());
  EXPECT_TRUE(fs::is_directory(At("one/two/three")));
  EXPECT_FALSE(fs::exists(At("one/two/three/file.txt")));
}

TEST_F(GPathOnDisk, CreateDirectoriesRollsBackWhenALevelCannotBeMade) {
  fs::create_directory(At("kept"));
  Touch("plain");
  const CString tooLong = testutil::ImpossibleName();
  struct Case {
    const char* what;
    CString path;
    std::vector<CString> gone;
    std::vector<CString> kept;
  };
  const Case cases[] = {
      {"two missing levels, the second fails", At("new/" + tooLong + "/"), {"new"}, {}},
      {"existing level kept", At("kept/made/" + tooLong + "/"), {"kept/made"}, {"kept"}},
      {"a file in the way", At("plain/below/"), {}, {"plain"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_FALSE(GPath(c.path, 0).CreateDirectories());
    for (const CString& g : c.gone) EXPECT_FALSE(fs::exists(At(g))) << g;
    for (const CString& k : c.kept) EXPECT_TRUE(fs::exists(At(k))) << k;
  }
}

TEST_F(GPathOnDisk, DirectoryTestsAndCurrentDirectory) {
  fs::create_directory(At("sub"));
  const GPath sub(At("sub/file.x"), 1);
  EXPECT_TRUE(sub.DirectoryExists());
  EXPECT_TRUE(sub.IsDirectoryWritable());
  EXPECT_TRUE(fs::is_empty(At("sub")));  // the probe file is gone again
  EXPECT_FALSE(GPath(At("missing/f"), 1).DirectoryExists());
  EXPECT_FALSE(GPath(At("missing/f"), 1).IsDirectoryWritable());
  EXPECT_FALSE(GPath(At("missing/f"), 1).ChangeDirectory());
  ASSERT_TRUE(sub.ChangeDirectory());
  EXPECT_EQ(fs::current_path(), fs::canonical(At("sub")));
  EXPECT_TRUE(sub.IsCurrentDirectory());
  EXPECT_TRUE(GPath(At(""), 0).IsCurrentDirectory());  // the current directory lies inside
  EXPECT_FALSE(GPath(At("su"), 0).IsCurrentDirectory());

  EXPECT_TRUE(GPath::Exists(At("sub/")));
  EXPECT_TRUE(GPath::Exists(At("sub")));
  EXPECT_TRUE(GPath::Exists("C:"));  // a drive stands for the one root
  EXPECT_FALSE(GPath::Exists(At("nothing")));
  EXPECT_FALSE(GPath::Exists(""));
  EXPECT_TRUE(GPath(At("sub"), 0).Access(W_OK));
  EXPECT_FALSE(GPath(At("nothing"), 1).Access(F_OK));
}

TEST_F(GPathOnDisk, FullPathsAndPathLists) {
  fs::create_directories(At("b"));
  fs::current_path(m_dir.path());
  GPath file("a/../b/./c.txt", 1);
  ASSERT_TRUE(file.MakeFullPath());
  EXPECT_EQ(file.GetPath(), testutil::CurrentDirectory() + "/b/c.txt");
  GPath dir("b", 0);
  ASSERT_TRUE(dir.MakeFullPath());
  EXPECT_EQ(dir.GetPath(), testutil::CurrentDirectory() + "/b/");
  GPath network("//srv/share/x/../y.z", 1);
  ASSERT_TRUE(network.MakeFullPath());
  EXPECT_EQ(network.GetPath(), "//srv/share/y.z");
  GPath bare("bare.txt", 1);
  ASSERT_TRUE(bare.CompleteFromCurrent());
  EXPECT_EQ(bare.GetPath(), testutil::CurrentDirectory() + "/bare.txt");

  Touch("b/found.ini");
  GPath wanted("found.ini", 1);
  ASSERT_TRUE(wanted.FindInPathList("/nonexistent;" + At("b/")));
  EXPECT_EQ(wanted.GetPath(), At("b/found.ini"));
  GPath missing("absent.ini", 1);
  EXPECT_FALSE(missing.FindInPathList(At("b")));
  EXPECT_EQ(missing.GetPath(), "absent.ini");
}

TEST_F(GPathOnDisk, ListingsAndDeletingByPattern) {
  for (const char* f : {"A.C01", "B.C01", "C.D01", ".hide.C01", "sub/E.C01", "sub/deep/F.C01"}) {
    fs::create_directories(fs::path(At(f)).parent_path());
    Touch(f);
  }
  struct Case {
    const char* pattern;
    unsigned mask;
    std::vector<CString> expected;
  };
  const Case cases[] = {
      {"*.C01", 255, {".hide.C01", "A.C01", "B.C01"}},
      {"*", 0x10, {"sub/"}},
      {"*", 0x02, {".hide.C01"}},
      {"?.?01", 0x20, {"A.C01", "B.C01", "C.D01"}},
  };
  for (const Case& c : cases) {
    std::vector<CString> list;
    GPath(At(c.pattern), 1).ListEntries(c.mask, list);
    std::vector<CString> expected;
    for (const CString& e : c.expected) expected.push_back(At(e));
    EXPECT_EQ(list, expected) << c.pattern << " mask " << c.mask;
  }
  EXPECT_EQ(GPath(At("anything"), 1).CountFiles(), 5);  // "." and ".." are never counted

  std::vector<CString> tree;
  GPath(At("*.C01"), 1).ListTree(0x20, tree);
  EXPECT_EQ(tree, (std::vector<CString>{At(".hide.C01"), At("A.C01"), At("B.C01"), At("sub/E.C01"),
                                        At("sub/deep/F.C01")}));

  fs::permissions(At("A.C01"),
                  fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  EXPECT_TRUE(GPath(At("?.C01"), 1).DeleteFiles(true));
  EXPECT_FALSE(fs::exists(At("A.C01")));
  EXPECT_FALSE(fs::exists(At("B.C01")));
  EXPECT_TRUE(fs::exists(At("C.D01")));
  EXPECT_TRUE(fs::exists(At(".hide.C01")));
}

// A tree callback that answers from a script and records what it was asked.
struct ScriptedCallback {
  std::vector<int> answers;  // in order; past the end: 1
  std::vector<std::pair<int, CString>> calls;

  GPath::TreeCallback Callback() {
    return [this](const CString& path, int kind, std::int32_t*) {
      calls.emplace_back(kind, path);
      if (kind == GPath::kTreeEnd) return 0;
      const std::size_t asked = calls.size() - 1;
      return asked < answers.size() ? answers[asked] : 1;
    };
  }
  std::vector<int> Kinds() const {
    std::vector<int> kinds;
    for (const auto& call : calls) kinds.push_back(call.first);
    return kinds;
  }
};

class GPathTree : public GPathOnDisk {
 protected:
  void SetUp() override {
    GPathOnDisk::SetUp();
    for (const char* f : {"tree/a.txt", "tree/sub/b.txt", "tree/sub/deeper/c.txt", "outside/o"}) {
      fs::create_directories(fs::path(At(f)).parent_path());
      Touch(f);
    }
    testutil::MakeDirectoryLinkOrStandIn(At("outside"), At("tree/link"));
  }
};

TEST_F(GPathTree, DeleteTreeFollowsTheCallbackProtocol) {
  struct Case {
    const char* what;
    std::vector<int> answers;
    bool result;
    std::vector<int> kinds;
    bool treeGone;
  };
  // Items in walk order: a.txt (1), link (1), sub (2), b.txt (1), deeper (2), c.txt (1).
  const Case cases[] = {
      {"stop before the walk", {0}, false, {3, 4}, false},
      {"go on without asking", {2}, true, {3, 4}, true},
      {"ask for every item", {1}, true, {3, 1, 1, 2, 1, 2, 1, 4}, true},
      {"stop asking at the second item", {1, 1, 2}, true, {3, 1, 1, 4}, true},
      {"abort at the first item", {1, 0}, false, {3, 1, 4}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(At("tree"));
    SetUp();
    ScriptedCallback script{c.answers, {}};
    CString errorPath = "stale";
    GPath tree(At("tree"), 0);
    EXPECT_EQ(tree.DeleteTree(errorPath, script.Callback()), c.result);
    EXPECT_EQ(script.Kinds(), c.kinds);
    EXPECT_EQ(script.calls.front().second, "");
    EXPECT_EQ(!fs::exists(At("tree")), c.treeGone);
    EXPECT_TRUE(fs::exists(At("outside/o")));  // the link was never followed
    EXPECT_EQ(errorPath, "");
  }
}

TEST_F(GPathTree, DeleteTreeLeavesTheCurrentDirectoryFirst) {
  fs::current_path(At("tree/sub"));
  CString errorPath;
  EXPECT_TRUE(GPath(At("tree"), 0).DeleteTree(errorPath, nullptr));
  EXPECT_FALSE(fs::exists(At("tree")));
  EXPECT_EQ(fs::current_path(), fs::canonical(m_dir.path()));
}

TEST_F(GPathTree, TreeWalksRefuseTheRootAndMissingDirectories) {
  ScriptedCallback script{{0}, {}};
  CString errorPath;
  EXPECT_FALSE(GPath("", 0).DeleteTree(errorPath, script.Callback()));
  EXPECT_EQ(errorPath, testutil::OnCurrentDrive("/"));
  EXPECT_FALSE(GPath("/tmp/../", 0).ChangeModeTree(0700, errorPath, script.Callback()));
  EXPECT_EQ(errorPath, testutil::OnCurrentDrive("/"));
  EXPECT_FALSE(GPath(At("missing"), 0).DeleteTree(errorPath, script.Callback()));
  EXPECT_TRUE(script.calls.empty());
}

TEST_F(GPathTree, ChangeModeTreeChangesEveryFileButNotThroughLinks) {
  fs::permissions(At("outside/o"), fs::perms::owner_read | fs::perms::owner_write |
                                       fs::perms::group_read | fs::perms::others_read);
  CString errorPath;
  ASSERT_TRUE(GPath(At("tree/"), 0).ChangeModeTree(0400, errorPath, nullptr));
  for (const char* f : {"tree/a.txt", "tree/sub/b.txt", "tree/sub/deeper/c.txt"}) {
    EXPECT_EQ(fs::status(At(f)).permissions() & fs::perms::owner_all, fs::perms::owner_read) << f;
  }
  // (The owner's bits only: a Windows file has no others, only its read-only attribute.)
  EXPECT_EQ(fs::status(At("outside/o")).permissions() & fs::perms::owner_all,
            fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_TRUE(fs::is_directory(At("tree/sub")));
}

TEST_F(GPathOnDisk, TemporaryFilesFreeSpaceAndFilesInUse) {
  GPath temp;
  ASSERT_TRUE(temp.MakeTempFile("~T"));
  EXPECT_EQ(temp.GetName().rfind("~T", 0), 0u);
  EXPECT_TRUE(fs::exists(temp.GetPath()));
  EXPECT_EQ(temp.GetDriveDirectory(), GPath::GetTempDirectory());
  fs::remove(temp.GetPath());
  GPath unchanged("/keep/me", 1);
  EXPECT_FALSE(unchanged.MakeTempFile("~T", 0xFFFFFFFFu));
  EXPECT_FALSE(unchanged.MakeTempFile("../escape"));
  EXPECT_EQ(unchanged.GetPath(), "/keep/me");

  EXPECT_EQ(GPath(At("nothing/f"), 1).GetFreeSpace(), GPath::kUnknownFreeSpaceKB);
  // Other processes may write meanwhile: the two readings need only lie close together.
  const auto expected = static_cast<std::uint32_t>(fs::space(m_dir.path()).available / 1024);
  const std::int64_t got = GPath(At("f"), 1).GetFreeSpace();
  EXPECT_LE(std::llabs(got - std::int64_t{expected}), 65536) << got << " vs " << expected;

  Touch("locked");
  EXPECT_FALSE(GPath::IsFileInUse(At("locked")));
  EXPECT_FALSE(GPath::IsFileInUse(At("absent")));
  auto holder = std::make_unique<testutil::ExclusiveHold>(At("locked"));
  ASSERT_TRUE(holder->Held());
  EXPECT_TRUE(GPath::IsFileInUse(At("locked")));
  testutil::FakeHost host;
  testutil::ScopedHost installed(host);
  EXPECT_FALSE(GPath::WaitForFile(At("locked"), 0));
  EXPECT_GE(host.pumps, 1);
  holder.reset();
  host.pumps = 0;
  EXPECT_TRUE(GPath::WaitForFile(At("locked"), 5));
  EXPECT_EQ(host.pumps, 0);
}

}  // namespace

}  // namespace morvit
