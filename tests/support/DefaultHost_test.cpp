// The default host services (settings from the environment, no window, own texts) and the
// installation of other hosts, nested as the test fake does it.
#include "support/DefaultHost.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "fixtures/FakeHost.h"
#include "fixtures/TestPlatform.h"
#include "support/Texts.h"

namespace morvit {

namespace fs = std::filesystem;

namespace {

// Sets or clears an environment variable for one scope.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : m_name(name) {
    if (const char* old = std::getenv(name)) m_old = old, m_had = true;
    testutil::SetEnvironment(name, value);
  }
  ~ScopedEnv() { testutil::SetEnvironment(m_name, m_had ? m_old.c_str() : nullptr); }

 private:
  const char* m_name;
  std::string m_old;
  bool m_had = false;
};

TEST(DefaultHost, DirectoriesComeFromTheEnvironmentMadeAbsolute) {
  testutil::ScratchDir scratch;
  const std::string cwd = testutil::CurrentDirectory();
  const std::string dir = scratch.path().string();
  const std::string doubled = dir + "//";
  struct Case {
    const char* what;
    const char* data;
    const char* project;
    std::string expectedData;
    std::string expectedProject;
  };
  const Case cases[] = {
      {"nothing set: the current directory", nullptr, nullptr, cwd + "/", cwd + "/"},
      {"empty counts as unset", "", "", cwd + "/", cwd + "/"},
      {"data set, project follows it", dir.c_str(), nullptr, dir + "/", dir + "/"},
      {"trailing separators collapse", doubled.c_str(), nullptr, dir + "/", dir + "/"},
      {"relative, with backslashes", "rel\\data", "proj", cwd + "/rel/data/", cwd + "/proj/"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScopedEnv data("MORVIT_DATA_DIR", c.data);
    ScopedEnv project("MORVIT_PROJECT_DIR", c.project);
    DefaultHost host;
    EXPECT_EQ(host.ProjectDirectory(), c.expectedProject);
    EXPECT_EQ(host.DataDirectory(), c.expectedData);
    EXPECT_EQ(host.DataSetDirectory(ObjParcelType{}), c.expectedData);
  }
}

TEST(DefaultHost, SettingsFixedAtFirstUseUnlessSetThroughTheInterface) {
  using testutil::OnCurrentDrive;
  ScopedEnv data("MORVIT_DATA_DIR", "/first");
  DefaultHost host;
  EXPECT_EQ(host.DataDirectory(), OnCurrentDrive("/first/"));
  ScopedEnv later("MORVIT_DATA_DIR", "/second");
  EXPECT_EQ(host.DataDirectory(), OnCurrentDrive("/first/"));
  host.SetDataDirectory("/third/x/..");
  EXPECT_EQ(host.DataDirectory(), OnCurrentDrive("/third/"));
  host.SetProjectDirectory("/proj");
  EXPECT_EQ(host.ProjectDirectory(), OnCurrentDrive("/proj/"));
}

TEST(DefaultHost, NoWindowAndOwnTexts) {
  DefaultHost host;
  EXPECT_EQ(host.SendMessageToUI(kMessageCancelQuery, 0, ""), 0);
  EXPECT_EQ(host.SendMessageToUI(kMessageProgress, 50, "NB000001.C01"), 0);
  EXPECT_FALSE(host.GetText(kTextLibraryObjectMissing).empty());
  EXPECT_NE(host.GetText(kTextLibraryObjectMissing), host.GetText(kMessageLibraryMismatch));
  EXPECT_EQ(host.GetText(1), "");
  ObjParcelType parcel{};
  parcel.domainType = 3;
  parcel.version = 2;
  parcel.objectNumber = 4;
  EXPECT_EQ(host.DataSetName(parcel), "NB000002.C04");
  testing::internal::CaptureStderr();
  host.ShowMessage(kMessageLibraryMismatch, "LIB.PE_");
  const std::string shown = testing::internal::GetCapturedStderr();
  EXPECT_NE(shown.find("2455"), std::string::npos) << shown;
  EXPECT_NE(shown.find("LIB.PE_"), std::string::npos) << shown;
}

TEST(HostInstallation, NestsAndFallsBackToTheDefault) {
  EXPECT_EQ(&Host(), &GetDefaultHost());
  testutil::FakeHost outer, inner;
  {
    testutil::ScopedHost installOuter(outer);
    EXPECT_EQ(&Host(), &outer);
    {
      testutil::ScopedHost installInner(inner);
      EXPECT_EQ(&Host(), &inner);
    }
    EXPECT_EQ(&Host(), &outer);
  }
  EXPECT_EQ(&Host(), &GetDefaultHost());
}

TEST(FakeHost, RecordsMessagesAndCancelsAtTheKthQuery) {
  testutil::FakeHost host;
  host.CancelAtQuery(3);
  std::vector<int> answers;
  for (int i = 0; i < 4; ++i) {
    host.SendMessageToUI(kMessageProgress, i * 25, "F");
    host.PumpMessages();
    answers.push_back(host.SendMessageToUI(kMessageCancelQuery, 0, ""));
  }
  EXPECT_EQ(answers, (std::vector<int>{0, 0, 1, 1}));
  ASSERT_EQ(host.sent.size(), 8u);
  EXPECT_EQ(host.sent[2].number, kMessageProgress);
  EXPECT_EQ(host.sent[2].value, 25);
  EXPECT_EQ(host.sent[2].text, "F");
  EXPECT_EQ(host.pumps, 4);
  host.ShowMessage(kMessageLibraryMismatch, "X");
  ASSERT_EQ(host.shown.size(), 1u);
  EXPECT_EQ(host.shown[0].text, "X");
  host.SetText(kTextLibraryObjectMissing, "own");
  EXPECT_EQ(host.GetText(kTextLibraryObjectMissing), "own");
  EXPECT_TRUE(fs::is_directory(host.DataDirectory()));
  EXPECT_EQ(host.DataDirectory().back(), '/');
}

}  // namespace

namespace {

TEST(DefaultHost, DirectoryKindsLieUnderTheProjectDirectory) {
  DefaultHost host;
  host.SetProjectDirectory("/proj");
  const std::pair<int, const char*> kinds[] = {
      {0, ""},
      {1, "/proj/TOOL/"},
      {2, "/proj/TOOL/PC/"},
      {3, "/proj/TOOL/DB/"},
      {4, "/proj/TCDATA/"},
      {5, "/proj/DBDATA/"},
      {6, "/proj/PCDATA/"},
      {7, "/proj/CONTROL/"},
      {8, "/proj/MODE/"},
      {9, "/proj/"},
      {10, "/proj/ENVIRONMENT/"},
      {11, "/proj/LIBDATA/SRC_LIB/"},
      {12, "/proj/TOOL/SOURCE/"},
      {13, ""},
      {-1, ""},
  };
  for (const auto& [kind, expected] : kinds) {
    EXPECT_EQ(host.Directory(kind), *expected ? testutil::OnCurrentDrive(expected) : "") << kind;
  }
}

// The store's three lists, in order; what a list leaves out is empty or zero.
TEST(DefaultHost, ObjectDatabaseReadsTheJsonStore) {
  testutil::ScratchDir scratch;
  DefaultHost host;
  host.SetProjectDirectory(scratch.path().string());
  EXPECT_EQ(host.ObjectDatabasePath(), scratch.File("objects.json"));
  for (VLibraryList list : {VLibraryList::kPcLibraries, VLibraryList::kTargetOptions}) {
    EXPECT_TRUE(host.LibraryObjects(list).empty()) << "a missing store holds empty lists";
  }
  const std::string store = R"({
    "pcLibraries": [ {"name": "MATH", "description": "math blocks", "version": 7},
                     {"name": "io", "version": 4294967295} ],
    "targetOptions": [ {"name": "OPT", "description": "", "version": 0} ] })";
  testutil::WriteWholeFile(host.ObjectDatabasePath(),
                           std::vector<std::uint8_t>(store.begin(), store.end()));
  auto text = [](const std::vector<VLibraryObject>& objects) {
    std::string out;
    for (const VLibraryObject& o : objects) {
      out += o.name + "|" + o.description + "|" + std::to_string(o.version) + ";";
    }
    return out;
  };
  EXPECT_EQ(text(host.LibraryObjects(VLibraryList::kPcLibraries)),
            "MATH|math blocks|7;io||4294967295;");
  EXPECT_EQ(text(host.LibraryObjects(VLibraryList::kDatabaseLibraries)), "");
  EXPECT_EQ(text(host.LibraryObjects(VLibraryList::kTargetOptions)), "OPT||0;");
  ScopedEnv setting("MORVIT_OBJECT_DATABASE", "/elsewhere/odb.json");
  EXPECT_EQ(DefaultHost().ObjectDatabasePath(), "/elsewhere/odb.json");
}

TEST(DefaultHost, DamagedObjectDatabaseIsAnInvalidFile) {
  const char* stores[] = {
      "",
      "{ \"pcLibraries\": [",
      "[1, 2]",
      R"({"pcLibraries": {"name": "A", "version": 1}})",
      R"({"pcLibraries": [ {"version": 1} ]})",
      R"({"pcLibraries": [ {"name": 5, "version": 1} ]})",
      R"({"pcLibraries": [ {"name": "A"} ]})",
      R"({"pcLibraries": [ {"name": "A", "version": -1} ]})",
      R"({"pcLibraries": [ {"name": "A", "version": 4294967296} ]})",
      R"({"pcLibraries": [ {"name": "A", "version": 1.5} ]})",
  };
  testutil::ScratchDir scratch;
  DefaultHost host;
  host.SetObjectDatabasePath(scratch.File("odb.json"));
  for (const std::string store : stores) {
    SCOPED_TRACE(store);
    testutil::WriteWholeFile(scratch.File("odb.json"),
                             std::vector<std::uint8_t>(store.begin(), store.end()));
    EXPECT_CAUSE(host.LibraryObjects(VLibraryList::kPcLibraries), CFileException::invalidFile);
  }
}

// A client that answers only the cancel query keeps every other default service, and its
// numbered messages with values reach its ShowMessage as one line.
TEST(HostInstallation, ClientOverridesOnlyWhatItNeeds) {
  struct CancellingClient : VHostServices {
    int SendMessageToUI(int number, int, const CString&) override {
      return number == kMessageCancelQuery ? 1 : 0;
    }
    void ShowMessage(int number, const CString& text) override {
      shown += std::to_string(number) + ":" + text;
    }
    std::string shown;
  } client;
  testutil::ScopedHost install(client);
  ObjParcelType parcel{};
  parcel.domainType = 1;
  parcel.version = 3;
  parcel.objectNumber = 2;
  EXPECT_EQ(Host().DataSetName(parcel), "CN000003.C02");
  EXPECT_EQ(Host().DataSetDirectory(parcel), GetDefaultHost().DataDirectory());
  EXPECT_EQ(Host().Directory(kDirectoryControl), GetDefaultHost().ProjectDirectory() + "CONTROL/");
  EXPECT_EQ(Host().SendMessageToUI(kMessageCancelQuery, 0, ""), 1);
  Host().WriteMessage(kMessageLibraryMismatch,
                      {CString("MATH.PE_"), CString("math"), std::int64_t{7}, std::int64_t{0}});
  EXPECT_EQ(client.shown, "2455:MATH.PE_, math, 7, 0");
}

}  // namespace

}  // namespace morvit
