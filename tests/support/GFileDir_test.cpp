// Directory search: patterns with wildcards, bare names in ascending order, the attribute
// masks 0 and 0xB7, and searches that find nothing.
#include "support/GFileDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "fixtures/TestPlatform.h"
#include "fixtures/TestUtil.h"

namespace morvit {

namespace {

std::vector<CString> Search(const CString& pattern, unsigned mask) {
  GFileDir dir;
  std::vector<CString> found;
  CString name = pattern;
  for (bool more = dir.FindFirst(name, mask); more; more = dir.FindNext(name)) {
    found.push_back(name);
  }
  dir.FindClose();
  return found;
}

class FileDirSearch : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"NB000001.C01", "NB000002.C01", "NB000010.C01", "NB000001.D01",
                             "RB000001.C01", "readme.txt", ".hidden"}) {
      testutil::WriteWholeFile(m_dir.File(name), {1});
    }
    std::filesystem::create_directory(m_dir.path() / "SUBDIR.C01");
    testutil::MarkHidden(m_dir.File(".hidden"));
    testutil::MakeSpecialFile(m_dir.File("PIPE.C01"));
  }
  CString In(const CString& pattern) const { return m_dir.path().string() + "/" + pattern; }

  testutil::ScratchDir m_dir;
};

TEST_F(FileDirSearch, PatternsYieldBareNamesInOrder) {
  struct Case {
    const char* pattern;
    unsigned mask;
    std::vector<CString> expected;
  };
  const Case cases[] = {
      {"NB0000??.C01", 0, {"NB000001.C01", "NB000002.C01", "NB000010.C01"}},
      {"NB000001.?01", 0, {"NB000001.C01", "NB000001.D01"}},
      {"nb000002.c01", 0, {"NB000002.C01"}},  // letters match without regard to case
      {"*.C01", 0, {"NB000001.C01", "NB000002.C01", "NB000010.C01", "RB000001.C01"}},
      {"*.C01",
       0xB7,
       {"NB000001.C01", "NB000002.C01", "NB000010.C01", "PIPE.C01", "RB000001.C01", "SUBDIR.C01"}},
      {"*",
       0,
       {"NB000001.C01", "NB000001.D01", "NB000002.C01", "NB000010.C01", "RB000001.C01",
        "readme.txt"}},
      {"*.*",
       0x02,
       {".hidden", "NB000001.C01", "NB000001.D01", "NB000002.C01", "NB000010.C01", "RB000001.C01",
        "readme.txt"}},
      {"SUBDIR.C01", 0, {}},  // a directory needs its bit
      {"SUBDIR.C01", 0x10, {"SUBDIR.C01"}},
      {"NB*1", 0, {"NB000001.C01", "NB000001.D01", "NB000002.C01", "NB000010.C01"}},
      {"NB0000?.C01", 0, {}},  // '?' takes exactly one character
      {"XX*", 0xB7, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(Search(In(c.pattern), c.mask), c.expected) << c.pattern;
}

TEST_F(FileDirSearch, BackslashesAndMissingDirectories) {
  CString windowsStyle = In("NB00001?.C01");
  windowsStyle.replace(windowsStyle.rfind('/'), 1, "\\");
  EXPECT_EQ(Search(windowsStyle, 0), std::vector<CString>{"NB000010.C01"});
  EXPECT_TRUE(Search(In("missing/*"), 0xB7).empty());
  CString name = In("NB*");
  GFileDir dir;
  ASSERT_TRUE(dir.FindFirst(name, 0));
  dir.FindClose();
  EXPECT_FALSE(dir.FindNext(name));  // a closed search yields nothing more
}

TEST(Wildcard, StarsBacktrack) {
  struct Case {
    const char* pattern;
    const char* name;
    bool matches;
  };
  const Case cases[] = {
      {"*A*B", "xAyAzB", true}, {"*A*B", "xAyAzBq", false},
      {"A*", "A", true},        {"?", "", false},
      {"", "", true},           {"*", "", true},
      {"a?c", "ABC", true},     {"*.*", "NODOT", true},
      {"*.C", "NODOT", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MatchesWildcard(c.pattern, c.name), c.matches) << c.pattern << " / " << c.name;
  }
}

}  // namespace

}  // namespace morvit
