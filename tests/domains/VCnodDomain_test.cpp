// The CNOD and RNOD node domains: entries from file searches (the three kinds and the "TPX"
// fallback), the entry element byte by byte, the listing, the INI name with and without node
// mode, and the library check's outcomes with the messages the host receives.
#include "domains/VCnodDomain.h"

#include <unistd.h>

#include <string>

#include "domains/VRnodDomain.h"
#include "fixtures/DomainFiles.h"
#include "fixtures/NodeFiles.h"
#include "morvit/VManager.h"

namespace morvit {

using namespace testutil;

namespace {

constexpr std::uint16_t kCnod = 1;
constexpr std::uint16_t kRnod = 44;

class NodeTest : public DomainTypeTest {
 protected:
  // The entries of the test node read back, as "name|value|text" lines.
  std::string Entries(const VCnodDomain& node) {
    std::string out;
    for (const VNodeEntry& e : node.GetEntries()) {
      out += e.GetFileName() + "|" + std::to_string(e.GetValue()) + "|" + e.GetText() + "\n";
    }
    return out;
  }
};

// Two files found in the first kind's directory make two entries; the same name in the second
// kind's directory is not taken. Golden bytes of the node file and of its file list's body.
TEST_F(NodeTest, FirstKindFindsTwoFiles) {
  PutNodeFile(host, kDirectoryTcData, "A.PE_", TextBytes("xyz"));
  PutNodeFile(host, kDirectoryTcData, "B.PE_", {});
  PutNodeFile(host, kDirectoryControl, "C.PE_", TextBytes("not taken"));
  const Generation g =
      GenerateThroughC(kCnod, {NodeRecord({{4, 7, 0}, 4, 7, "lib", true, "dir\\*.PE_"})});
  ASSERT_EQ(g.finishStatus, VBASE_STATUS_OK);
  ASSERT_EQ(g.parcels.size(), 2u);
  EXPECT_EQ(g.parcels[0].domainType, kCnod);
  EXPECT_EQ(g.parcels[1].domainType, 119);

  const Bytes node = ReadWholeFile(DomainFilePath(host, TestParcel(kCnod), 0));
  ASSERT_EQ(node.size(), 1024u);
  EXPECT_EQ(WordAt(node, 0), 104 - 1);
  EXPECT_EQ(Bytes(node.begin() + 50, node.begin() + 104),
            (Bytes{0x00, 0x02,                                            // NoEntries
                   0x10, 0x90, 0x00, 0x04,                                // ElementStart
                   0x00, 0x01, 0x00, 0x2C,                                // code 1, size 44
                   0x00, 0x04, 0x00, 0x05, 'A',  '.',  'P', 'E', '_', 0,  // kind, name
                   0x00, 0x00, 0x00, 0x07, 0x00, 0x03, 'l', 'i', 'b', 0,  // value, text
                   0x00, 0x04, 0x00, 0x05, 'B',  '.',  'P', 'E', '_', 0,  //
                   0x00, 0x00, 0x00, 0x07, 0x00, 0x03, 'l', 'i', 'b', 0,  //
                   0x10, 0x94, 0x00, 0x04}));                             // ElementEnd
  EXPECT_TRUE(std::all_of(node.begin() + 104, node.end(), [](auto b) { return b == 0; }));

  auto read = ReadNode<VCnodDomain>(kCnod, 0);
  EXPECT_EQ(Entries(*read), "A.PE_|7|lib\nB.PE_|7|lib\n");
  const Bytes body = OnlyFile('X');
  EXPECT_EQ(Bytes(body.begin() + 50, body.end()), (Bytes{0, 0, 0, 3, 'x', 'y', 'z', 0, 0, 0, 0}));
}

// A node never finished takes its file list with it when the manager goes.
TEST_F(NodeTest, UnfinishedNodeLeavesNoFiles) {
  VManager* manager = VBase_CreateManager();
  ASSERT_EQ(VBase_PutStart(manager, kRnod, TestParcel(kRnod)), VBASE_STATUS_OK);
  const std::string staged = "~" + std::to_string(getpid());
  EXPECT_EQ(DataFileNames(host),
            (std::vector<std::string>{"RN000001.C01" + staged, "XR000001.C01" + staged}))
      << "staged while generated";
  VBase_DeleteManager(&manager);
  EXPECT_EQ(DataFileNames(host), std::vector<std::string>{});
}

// A "TPX" pattern that finds nothing goes on to the next kind; any other pattern stops at
// the first kind. A kind without a directory searches nothing.
TEST_F(NodeTest, TpxPatternFallsBackOverTheThreeKinds) {
  PutNodeFile(host, kDirectoryMode, "M.TPX", {});
  PutNodeFile(host, kDirectoryMode, "M.TPY", {});
  PutNodeFile(host, kDirectoryPcData, "P.TPX", {});
  const struct {
    const char* what;
    NodeFiles files;
    const char* expected;
  } rows[] = {
      {"found in the third kind", {{4, 5, 8}, 8, 1, "t", false, "*.TPX"}, "M.TPX|1|t\n"},
      {"found in the second kind", {{4, 6, 8}, 6, 1, "t", false, "*.TPX"}, "P.TPX|1|t\n"},
      {"unknown kinds skipped", {{0, 13, 8}, 8, 1, "t", false, "*.TPX"}, "M.TPX|1|t\n"},
      {"only TPX falls back", {{4, 8, 8}, 8, 1, "t", false, "*.TPY"}, ""},
      {"compared exactly", {{4, 8, 8}, 8, 1, "t", false, "*.tpx"}, ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    ASSERT_EQ(GenerateThroughC(kCnod, {NodeRecord(row.files)}).finishStatus, VBASE_STATUS_OK);
    EXPECT_EQ(Entries(*ReadNode<VCnodDomain>(kCnod, 0, false)), row.expected);
  }
}

// The INI file names the node; with node mode its directory becomes CONTROL and every kind but
// CONTROL and TCDATA is recreated under its bare name. Kind 0 carries no file.
TEST_F(NodeTest, IniNameAndNodeMode) {
  PutNodeFile(host, kDirectoryProject, "node.ini", TextBytes("i"));
  PutNodeFile(host, kDirectoryTcData, "T.DAT", TextBytes("t"));
  PutNodeFile(host, kDirectoryPcData, "P.DAT", TextBytes("p"));
  PutNodeFile(host, kDirectoryDbData, "Z.DAT", TextBytes("z"));
  ASSERT_EQ(GenerateThroughC(kRnod, {NodeRecord({{9, 0, 0}, 9, 0, "", true, "*.ini"}),
                                     NodeRecord({{4, 0, 0}, 4, 0, "", true, "T.DAT"}),
                                     NodeRecord({{6, 0, 0}, 6, 0, "", true, "P.DAT"}),
                                     NodeRecord({{5, 0, 0}, 0, 0, "", false, "Z.DAT"})})
                .finishStatus,
            VBASE_STATUS_OK);
  const std::string project = host.ProjectDirectory();
  for (int nodeMode : {0, 1}) {
    SCOPED_TRACE(nodeMode);
    auto node = ReadNode<VRnodDomain>(kRnod, nodeMode);
    CString name = "unchanged";
    node->GetName(name);
    EXPECT_EQ(name, "node.ini");
    ASSERT_NE(node->GetFileList(), nullptr);
    EXPECT_EQ(node->GetFileList()->GetFile().GetFileType(), 120);
    const std::vector<CString> expected =
        nodeMode == 0
            ? std::vector<CString>{project + "node.ini", project + "TCDATA/T.DAT",
                                   project + "PCDATA/P.DAT"}
            : std::vector<CString>{project + "CONTROL/node.ini", project + "TCDATA/T.DAT", "P.DAT"};
    EXPECT_EQ(node->GetFileList()->GetFileList(), expected);
  }
}

// The listing of a node: its headers, "NoEntries" and the section; the file list lists only
// its headers.
TEST_F(NodeTest, ListingShowsEntriesAndTheFileListHeaders) {
  PutNodeFile(host, kDirectoryTcData, "A.PE_", TextBytes("xyz"));
  ASSERT_EQ(
      GenerateThroughC(kCnod, {NodeRecord({{4, 0, 0}, 4, 7, "lib", true, "A.PE_"})}).finishStatus,
      VBASE_STATUS_OK);
  auto node = ReadNode<VCnodDomain>(kCnod, 0);
  node->WriteDomain(1);
  node.reset();
  const Bytes listing = ReadWholeFile(DomainFilePath(host, TestParcel(kCnod), 0, 'D'));
  const std::string text(listing.begin(), listing.end());
  const std::size_t body = text.find("NoEntries");
  ASSERT_NE(body, std::string::npos) << text;
  EXPECT_EQ(text.substr(text.rfind('\n', body) + 1),
            "   50:        1       1   0   1  ..  NoEntries\n"
            "   52:     1090    4240  16 144  ..  ElementStart\n"
            "   54:        4       4   0   4  ..  FBSize\n"
            "   56:        1       1   0   1  ..  TypCode FB\n"
            "   58:       18      24   0  24  ..  BlockSize\n"
            "   60:        4       4   0   4  ..  \n"
            "   62:        5       5   0   5  ..  \n"
            "   64:     412e   16686  65  46  A.  \n"
            "   66:     5045   20549  80  69  PE  \n"
            "   68:     5f00   24320  95   0  _.  \n"
            "   70:        0       0   0   0  ..  \n"
            "   72:        7       7   0   7  ..  \n"
            "   74:        3       3   0   3  ..  \n"
            "   76:     6c69   27753 108 105  li  \n"
            "   78:     6200   25088  98   0  b.  \n"
            "   80:     1094    4244  16 148  ..  ElementEnd\n"
            "   82:        4       4   0   4  ..  FBSize\n");
  const Bytes fileList = ReadWholeFile(DomainFilePath(host, TestParcel(119), 0, 'D'));
  const std::string fileListText(fileList.begin(), fileList.end());
  EXPECT_EQ(fileListText.substr(fileListText.rfind("   48:")).substr(0, 6), "   48:")
      << "the headers end at byte 50";
  EXPECT_EQ(fileListText.find("   50:"), std::string::npos) << "no body is listed";
}

// A library file of the same name and version passes; another version, or no object of its
// name, writes message 2455 with the values the user needs; other extensions are skipped.
TEST_F(NodeTest, LibraryCheckOutcomes) {
  PutNodeFile(host, kDirectoryTcData, "MATH.PE_", {});
  PutNodeFile(host, kDirectoryTcData, "DB.DE_", {});
  PutNodeFile(host, kDirectoryTcData, "OPT.TE_", {});
  PutNodeFile(host, kDirectoryTcData, "OTHER.XE_", {});
  PutNodeFile(host, kDirectoryTcData, "NOEXT", {});
  ASSERT_EQ(GenerateThroughC(kCnod, {NodeRecord({{4, 0, 0}, 4, 7, "math text", false, "M*"}),
                                     NodeRecord({{4, 0, 0}, 4, 3, "db", false, "DB.*"}),
                                     NodeRecord({{4, 0, 0}, 4, 9, "opt", false, "OPT.*"}),
                                     NodeRecord({{4, 0, 0}, 4, 1, "", false, "OTHER.*"}),
                                     NodeRecord({{4, 0, 0}, 4, 1, "", false, "NOEXT"})})
                .finishStatus,
            VBASE_STATUS_OK);
  host.SetText(kTextLibraryObjectMissing, std::string(300, 'm'));
  const std::vector<VLibraryObject> none;
  const std::vector<VLibraryObject> math = {{"other", "x", 1}, {"math", "math blocks v7", 7}};
  const std::vector<VLibraryObject> db = {{"DB", "a description of 23 ch", 4}};
  const std::vector<VLibraryObject> opt = {{"OPT", "", 9}};
  using Message = std::vector<VMessageValue>;
  const struct {
    const char* what;
    std::vector<VLibraryObject> pc, database, options;
    int result;
    std::vector<Message> messages;
  } rows[] = {
      {"all match", math, {{"db", "", 3}}, opt, 1, {}},
      {"another version",
       math,
       db,
       opt,
       0,
       {{CString("DB.DE_"), CString("db"), std::int64_t{3}, CString("a description of"),
         std::int64_t{4}}}},
      {"no object of its name",
       none,
       {{"db", "", 3}},
       opt,
       0,
       {{CString("MATH.PE_"), CString("math text"), std::int64_t{7}, CString(254, 'm'),
         std::int64_t{0}}}},
  };
  auto node = ReadNode<VCnodDomain>(kCnod, 0, false);
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    host.written.clear();
    host.SetLibraryObjects(VLibraryList::kPcLibraries, row.pc);
    host.SetLibraryObjects(VLibraryList::kDatabaseLibraries, row.database);
    host.SetLibraryObjects(VLibraryList::kTargetOptions, row.options);
    EXPECT_EQ(node->CheckLibraryVersions(), row.result);
    ASSERT_EQ(host.written.size(), row.messages.size());
    for (std::size_t i = 0; i < row.messages.size(); ++i) {
      EXPECT_EQ(host.written[i].number, kMessageLibraryMismatch);
      EXPECT_EQ(host.written[i].values, row.messages[i]);
    }
  }
}

// An entry element that would outgrow the node file's 16-bit length is refused; what was
// inserted before stays and the domain still finishes.
TEST_F(NodeTest, EntriesBeyondTheFileLengthAreRefused) {
  const std::string longName(250, 'n');  // an entry of 2 + 2 + 250 + 4 + 2 = 260 bytes
  PutNodeFile(host, kDirectoryTcData, longName, {});
  const std::vector<TSectionInfo> records(300, NodeRecord({{4, 0, 0}, 4, 0, "", false, longName}));
  const Generation g = GenerateThroughC(kCnod, records);
  ASSERT_EQ(g.finishStatus, VBASE_STATUS_OK);
  // 65535 - 50 header bytes - 2 - 8 - 4 leave room for 251 entries.
  const auto taken = std::count(g.insertStatus.begin(), g.insertStatus.end(), VBASE_STATUS_OK);
  EXPECT_EQ(taken, 251);
  EXPECT_EQ(ReadNode<VCnodDomain>(kCnod, 0, false)->GetEntries().size(), 251u);
}

}  // namespace

}  // namespace morvit
