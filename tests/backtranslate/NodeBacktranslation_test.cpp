// The node runs through the manager: the results with one or both node domains missing or
// damaged, the library check's stop after a CNOD mismatch, and a node's files packed and
// restored byte for byte into a fresh project directory.
#include "backtranslate/NodeBacktranslation.h"

#include <filesystem>
#include <map>

#include "fixtures/DomainFiles.h"
#include "fixtures/NodeFiles.h"
#include "morvit/VManager.h"

namespace morvit {

using namespace testutil;
namespace fs = std::filesystem;

namespace {

constexpr std::uint16_t kCnod = 1;
constexpr std::uint16_t kRnod = 44;

// Deterministic bytes that do not compress.
Bytes NoiseBytes(std::size_t count, std::uint32_t seed) {
  Bytes bytes(count);
  for (std::uint8_t& b : bytes) {
    seed = seed * 1103515245u + 12345u;
    b = static_cast<std::uint8_t>(seed >> 24);
  }
  return bytes;
}

// Every regular file below `root`, relative path to bytes.
std::map<std::string, Bytes> FilesBelow(const std::string& root) {
  std::map<std::string, Bytes> files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (entry.is_regular_file()) {
      files[fs::relative(entry.path(), root).string()] = ReadWholeFile(entry.path().string());
    }
  }
  return files;
}

class NodeRunTest : public DomainTypeTest {
 public:
  // The node lookup makes the data directory current; it goes with the fake host.
  ~NodeRunTest() override { fs::current_path(m_cwd); }

  // A node with its INI file and one library file, generated as `type`.
  void GenerateNode(std::uint16_t type, const std::string& library) {
    PutNodeFile(host, kDirectoryControl, "NODE.INI", TextBytes("[node]"));
    PutNodeFile(host, kDirectoryTcData, library, TextBytes("lib"));
    ASSERT_EQ(GenerateThroughC(type, {NodeRecord({{7, 0, 0}, 7, 0, "", true, "NODE.INI"}),
                                      NodeRecord({{4, 0, 0}, 4, 5, "", true, library})})
                  .finishStatus,
              VBASE_STATUS_OK);
  }

  void RemoveFileList() { fs::remove(DomainFilePath(host, TestParcel(119), 0)); }

  void Damage(std::uint16_t type, std::size_t keep) {
    const std::string path = DomainFilePath(host, TestParcel(type), 0);
    Bytes bytes = ReadWholeFile(path);
    bytes.resize(keep);
    WriteWholeFile(path, bytes);
  }

 private:
  fs::path m_cwd = fs::current_path();
};

TEST_F(NodeRunTest, ResultsWithMissingAndDamagedDomains) {
  const struct {
    const char* what;
    std::function<void(NodeRunTest&)> setup;
    int nodeResult;
    const char* nodeName;
    int libraryResult;
  } rows[] = {
      {"no node domains", [](NodeRunTest&) {}, 1, "TESTNODE.INI", 0},
      {"CNOD only", [](NodeRunTest& t) { t.GenerateNode(kCnod, "A.PE_"); }, 0, "NODE.INI", 1},
      {"both",
       [](NodeRunTest& t) {
         t.GenerateNode(kCnod, "A.PE_");
         t.GenerateNode(kRnod, "B.PE_");
       },
       1, "NODE.INI", 1},
      {"CNOD cut inside its entries",
       [](NodeRunTest& t) {
         t.GenerateNode(kCnod, "A.PE_");
         t.GenerateNode(kRnod, "B.PE_");
         t.Damage(kCnod, 60);
       },
       0, "TESTNODE.INI", 0},
      {"CNOD without its file list",
       [](NodeRunTest& t) {
         t.GenerateNode(kCnod, "A.PE_");
         t.RemoveFileList();
       },
       0, "TESTNODE.INI", 1},
      {"RNOD cut inside its headers",
       [](NodeRunTest& t) {
         t.GenerateNode(kCnod, "A.PE_");
         t.GenerateNode(kRnod, "B.PE_");
         t.Damage(kRnod, 20);
       },
       0, "NODE.INI", 1},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    for (const std::string& name : DataFileNames(host)) fs::remove(host.DataDirectory() + name);
    host.SetLibraryObjects(VLibraryList::kPcLibraries, {{"A", "", 5}, {"B", "", 5}});
    row.setup(*this);
    VManager manager;
    CString name = "before";
    EXPECT_EQ(manager.NodeBacktranslate(name, 0), row.nodeResult);
    EXPECT_EQ(name, row.nodeName);
    EXPECT_EQ(manager.LibsODBSuitLibsTarget(), row.libraryResult);
    EXPECT_TRUE(host.written.empty());
  }
}

// The newest node is restored with the file list of its own version: without it, the run
// fails rather than recreate another version's contents.
TEST_F(NodeRunTest, NewestNodeTakesTheFileListOfItsVersion) {
  for (std::uint16_t version : {1, 2}) {
    const std::string contents = "version " + std::to_string(version);
    const std::string path = PutNodeFile(host, kDirectoryTcData, "A.DAT", TextBytes(contents));
    VManager* manager = VBase_CreateManager();
    ASSERT_EQ(VBase_PutStart(manager, kCnod, DomainParcel(kCnod, 1, version)), VBASE_STATUS_OK);
    TSectionInfo record = NodeRecord({{4, 0, 0}, 4, 0, "", true, "A.DAT"});
    ASSERT_EQ(VBase_Insert(manager, kCnod, &record), VBASE_STATUS_OK);
    ObjParcelType parcels[4];
    std::uint16_t count = 0;
    ASSERT_EQ(VBase_PutFinishEx(manager, kCnod, &count, 3, parcels), VBASE_STATUS_OK);
    VBase_DeleteManager(&manager);
  }
  ASSERT_EQ(GenerateThroughC(kRnod, {}).finishStatus, VBASE_STATUS_OK);
  const std::string restored = host.Directory(kDirectoryTcData) + "A.DAT";
  fs::remove(restored);
  CString name;
  EXPECT_EQ(VManager().NodeBacktranslate(name, 0), 1);
  EXPECT_EQ(ReadWholeFile(restored), TextBytes("version 2"));

  fs::remove(restored);
  fs::remove(DomainFilePath(host, DomainParcel(119, 1, 2), 0));
  EXPECT_EQ(VManager().NodeBacktranslate(name, 0), 0);
  EXPECT_FALSE(fs::exists(restored));
}

// A mismatch in the CNOD ends the check: the RNOD's own mismatch is never reported.
TEST_F(NodeRunTest, CnodMismatchStopsTheLibraryCheck) {
  GenerateNode(kCnod, "A.PE_");
  GenerateNode(kRnod, "B.PE_");
  const struct {
    std::vector<VLibraryObject> objects;
    int result;
    const char* reported;  // the library file named in the one message, or null
  } rows[] = {
      {{{"A", "", 6}, {"B", "", 6}}, 0, "A.PE_"},
      {{{"A", "", 5}, {"B", "", 6}}, 0, "B.PE_"},
      {{{"a", "", 5}, {"b", "", 5}}, 1, nullptr},
  };
  for (const auto& row : rows) {
    host.written.clear();
    host.SetLibraryObjects(VLibraryList::kPcLibraries, row.objects);
    EXPECT_EQ(VManager().LibsODBSuitLibsTarget(), row.result);
    ASSERT_EQ(host.written.size(), row.reported ? 1u : 0u);
    if (row.reported) {
      EXPECT_EQ(std::get<CString>(host.written[0].values[0]), row.reported);
    }
  }
}

// A node of a few dozen files in five kinds, one of them larger than a domain part, packed into
// a CNOD and an RNOD and restored into a fresh project directory byte for byte.
TEST_F(NodeRunTest, NodeRestoredByteForByteInAFreshProject) {
  const std::pair<int, const char*> kinds[] = {{kDirectoryControl, "CTL"},
                                               {kDirectoryTcData, "TC"},
                                               {kDirectoryPcData, "PC"},
                                               {kDirectorySourceLibrary, "SRC"},
                                               {kDirectoryProject, "PRJ"}};
  const std::size_t sizes[] = {0, 1, 2, 3, 511, 1024, 1025, 4000};
  PutNodeFile(host, kDirectoryControl, "NODE.INI", TextBytes("[node]\nname=test\n"));
  std::uint32_t seed = 1;
  for (const auto& [kind, prefix] : kinds) {
    for (std::size_t size : sizes) {
      PutNodeFile(host, kind, prefix + std::to_string(size) + ".DAT", NoiseBytes(size, ++seed));
    }
  }
  PutNodeFile(host, kDirectoryPcData, "BIG.DAT", NoiseBytes(100000, 99));
  std::vector<TSectionInfo> cnod, rnod;
  for (const auto& [kind, prefix] : kinds) {
    const NodeFiles files{{kind, 0, 0}, static_cast<std::uint16_t>(kind), 1, "",
                          true,         std::string(prefix) + "*.DAT"};
    (kind == kDirectoryPcData ? rnod : cnod).push_back(NodeRecord(files));
  }
  cnod.push_back(NodeRecord({{7, 0, 0}, 7, 0, "", true, "NODE.INI"}));
  rnod.push_back(NodeRecord({{6, 0, 0}, 6, 0, "", true, "BIG.DAT"}));
  ASSERT_EQ(GenerateThroughC(kCnod, cnod).finishStatus, VBASE_STATUS_OK);
  const Generation r = GenerateThroughC(kRnod, rnod);
  ASSERT_EQ(r.finishStatus, VBASE_STATUS_OK);
  EXPECT_GE(r.parcels.size(), 3u) << "the RNOD's file list is split into parts";

  FakeHost fresh;
  for (const std::string& name : DataFileNames(host)) {
    fs::copy_file(host.DataDirectory() + name, fresh.DataDirectory() + name);
  }
  ScopedHost install(fresh);
  CString nodeName;
  EXPECT_EQ(VManager().NodeBacktranslate(nodeName, 0), 1);
  EXPECT_EQ(nodeName, "NODE.INI");
  const auto packed = FilesBelow(host.ProjectDirectory());
  EXPECT_EQ(packed.size(), 1 + 5 * std::size(sizes) + 1);
  EXPECT_TRUE(FilesBelow(fresh.ProjectDirectory()) == packed);
}

}  // namespace

}  // namespace morvit
