// The CODE-mode label sequence of every domain type's header, in both header generations and
// on both sides of the target-code versions that change it, and where each type's element
// body starts: each file ends in one element (AND, length 4), listed as an element line only
// by the types whose body holds elements.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dump/DumpDriver.h"
#include "fixtures/DumpFiles.h"
#include "fixtures/DumpTest.h"

namespace morvit {

using namespace testutil;

namespace {

const std::string kBlank(20, ' ');
const std::string kRun = ".                   ";

struct Labels {
  std::vector<std::string> labels;
  // `label`, then count - 1 lines of the run label.
  Labels& Add(const std::string& label, int count = 1) {
    labels.push_back(label);
    for (int i = 1; i < count; ++i) labels.push_back(kRun);
    return *this;
  }
};

// The common lines: the type line, "Version" and the date block of a file of version
// `tenths` (0: the older header).
Labels Common(const std::string& typeLabel, int tenths) {
  Labels l;
  l.Add("Offset to last Byte ").Add(typeLabel).Add("Version             ");
  if (tenths == 0) {
    l.Add("Year      Month     ").Add("Day       Hour      ").Add("Minute    Second    ");
    l.Add("Millisecond         ");
  } else {
    l.Add("Date          2026/12/7").Add("Time          10:15").Add("Milliseconds  12.345");
    l.Add("Target Code Version   " + std::to_string(tenths / 10) + "." +
          std::to_string(tenths % 10));
  }
  return l;
}

// No date block: the four words after "Version" are plain words of the body.
Labels TypeAndVersion(const std::string& typeLabel) {
  return Labels()
      .Add("Offset to last Byte ")
      .Add(typeLabel)
      .Add("Version             ")
      .Add("", 1)
      .Add("")
      .Add("")
      .Add("");
}

Labels Coda(int tenths, bool withOption) {
  const bool v5 = tenths >= 50;
  Labels l = Common("CODA                ", tenths);
  l.Add("Length of COLO      ").Add("Length of COLE      ");
  if (v5) l.Add("Length of COPM    ");
  l.Add("Offset to COLO INIDA").Add("Offset to COLE INIDA");
  if (v5) l.Add("Offset to COPM INIDA");
  l.Add(v5 ? "Offset to LN700Move " : "Offset to DSMove    ");
  for (const char* label : {"DSExists            ", "Offset to MVIMove   ", "MVIExists           ",
                            "Offset to EVSSend   ", "EVSSendExists       ", "Offset to EVSTrans  ",
                            "EVSTransExists      ", "Offset to CalcEvent ", "CalcEventScanTime   ",
                            "Offset to MVBEvent  ", "MVBEventScanTime    "}) {
    l.Add(label);
  }
  if (v5) l.Add("Offset to DAT     ").Add("Offset to PARDAT  ");
  l.Add("Node Name           ", 10).Add("Config Pitch        ", 4).Add("MA Type and Version ", 10);
  if (v5) l.Add("Target Code Info ", 4);
  l.Add("NoOptionsMinus1     ");
  if (withOption) l.Add("Option Name         ", 9).Add("Option Version      ", 8);
  return l;
}

Labels Rede(int tenths) {
  Labels l = Common("REDE                ", tenths);
  l.Add("Length of RELO      ").Add("Offset to INIDAT    ").Add("Resource Name       ", 10);
  l.Add("Resource Pitch      ", 4).Add("PGMNumber           ").Add("PreProgramFlag      ");
  l.Add("MA Type and Version ", 10);
  if (tenths >= 50) l.Add("Target Code Info ", 4);
  return l;
}

Labels Pode(bool extension) {
  Labels l = Common("PODE, prog_no       ", 50);
  for (const char* label : {"Length of POLO      ", "Offset to INIDAT    ", "ProgramNumber       ",
                            "KindOfProgram       ", "BeginProgramVariabls", "Offset to ProgStart ",
                            "Offset to PreProg   ", "Offset to Prolog    ", "Offset to Orders    ",
                            "Offset to Epilog    ", "Offset to ProgEnd   "}) {
    l.Add(label);
  }
  if (extension) l.Add("Offset to ExtensionSection ");
  return l;
}

Labels Bxd(const std::string& typeLabel, int tenths) {
  Labels l = Common(typeLabel, tenths);
  l.Add("Length of Locally   ");
  if (tenths >= 54) l.Add("DED number          ");
  for (const char* label : {"FBBOGroup10msOffs   ", "FBBOGroup20msOffs   ", "FBBOGroup40msOffs   ",
                            "FBBOGroup80msOffs   ", "FBBOGroup160msOffs  ", "FBBOGroup320msOffs  ",
                            "FBBOGroup640msOffs  ", "FBBOGroup1280msOffs ", "FBBOGroup2560msOffs ",
                            "FBBOGroup5120msOffs ", "FBBOGroup10240msOffs", "FBBOGroup20480msOffs",
                            "FBBOGroup40960msOffs", "FBBOGroup81920msOffs", "FBBOGroup163840msOfs",
                            "FBBOGroup327680msOfs"}) {
    l.Add(label);
  }
  return l;
}

Labels Cbx(const std::string& typeLabel, bool firstFile) {
  Labels l = Common(typeLabel, 50);
  l.Add("Own Domain number y  ").Add("No Domains -1        ").Add("Compress Version     ");
  l.Add("SPARE                ").Add("SPARE                ");
  if (firstFile) {
    l.Add("Structure Version    ").Add("Block1Offs(4 Bytes)  ").Add(std::string(21, ' '));
    l.Add("Block2Offs(4 Bytes)  ").Add(std::string(21, ' ')).Add("SPARE (16 Bytes)     ", 8);
    l.Add("DecodeTableOffs      ").Add("SizeInBytesDBElOffs  ").Add("General Info(8 Bytes)");
  }
  return l;
}

Labels With(Labels l, std::initializer_list<const char*> more) {
  for (const char* label : more) l.Add(label);
  return l;
}

struct Row {
  const char* what;
  std::uint8_t type;
  std::uint16_t majorMinor;          // below 1000: the older header
  std::vector<std::uint16_t> words;  // after the common header's seven words
  Labels expected;                   // without the final element
  bool elementBody;
  const char* name = "XX000001.C01";
};

std::vector<std::uint16_t> Zeros(std::size_t count, std::uint16_t last) {
  std::vector<std::uint16_t> words(count, 0);
  if (count != 0) words.back() = last;
  return words;
}

TEST_F(DumpTest, EveryTypeListsItsHeaderLabelsAndBodyStart) {
  const std::vector<Row> rows = {
      {"CODA 5.0, one option block", 17, 0x0500, Zeros(49 + 17, 0), Coda(50, true), true},
      {"CODA 4.9, no option block", 17, 0x0009, Zeros(41, 0xFFFF), Coda(0, false), true},
      {"CODC 5.0", 18, 0x0500, Zeros(3, 0),
       With(Common("CODC                ", 50),
            {"COLOChangeStartOffs ", "COLEChangeStartOffs ", "COPMChangeStartOffs "}),
       true},
      {"CODC 4.9", 18, 0x0409, Zeros(2, 0),
       With(Common("CODC                ", 49), {"COLOChangeStartOffs ", "COLEChangeStartOffs "}),
       true},
      {"COLO", 19, 0x0500, {}, TypeAndVersion("COLO                "), false},
      {"COLE", 20, 0x0500, {}, TypeAndVersion("COLE                "), false},
      {"CODY", 22, 0x0500, Zeros(2, 0),
       With(Common("CODY                ", 50), {"Offset to Force     ", "Offset to Display   "}),
       true},
      {"CODU", 23, 0x0500, {}, Common("CODU                ", 50), false},
      {"REDE 5.0", 33, 0x0500, Zeros(32, 0), Rede(50), true},
      {"REDE 4.9", 33, 0x0001, Zeros(28, 0), Rede(0), true},
      {"REDC", 34, 0x0500, {}, Common("REDC                ", 50), true},
      {"RELO", 35, 0x0500, {}, TypeAndVersion("RELO                "), false},
      {"PODE with extension", 65, 0x0500, Zeros(12, 0), Pode(true), true},
      {"PODE before progInitStart",
       65,
       0x0500,
       {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 568, 4},
       With(Pode(false), {"progInitStart       ", ""}),
       true},
      {"PODC", 66, 0x0500, {}, Common("PODC, prog_no       ", 50), true},
      {"POLO", 67, 0x0500, {}, TypeAndVersion("POLO, prog_no       "), false},
      {"PODY", 70, 0x0500, Zeros(2, 0),
       With(Common("PODY, prog_no       ", 50), {"Length of PODU      ", "Offset to Start     "}),
       true},
      {"PODU", 71, 0x0500, {}, Common("PODU, prog_no       ", 50), false},
      {"POFO", 74, 0x0500, Zeros(5, 0),
       With(Common("POFO, prog_no       ", 50),
            {"Length of POFT      ", "Offset to PreOverIn ", "Offset to PreOverOu ",
             "Offset to OverIn    ", "Offset to OverOu    "}),
       true},
      {"BAID 5.4", 96, 0x0504, Zeros(18, 0), Bxd("BAID                ", 54), true},
      {"BAOD 5.3", 97, 0x0503, Zeros(17, 0), Bxd("BAOD                ", 53), true},
      {"BDID", 98, 0x0504, Zeros(18, 0), Bxd("BDID                ", 54), true},
      {"BDOD", 99, 0x0504, Zeros(18, 0), Bxd("BDOD                ", 54), true},
      {"BMBD", 100, 0x0504, Zeros(18, 0), Bxd("BMBD                ", 54), true},
      {"BMID", 101, 0x0504, Zeros(18, 0), Bxd("BMID                ", 54), true},
      {"BMLD", 102, 0x0504, Zeros(18, 0), Bxd("BMLD                ", 54), true},
      {"BMRD", 103, 0x0504, Zeros(18, 0), Bxd("BMRD                ", 54), true},
      {"BOBC", 112, 0x0500, Zeros(2, 0),
       With(Common("BOBC                ", 50), {"DeletedBOsOffs      ", "ChangedOrNewBOsOffs "}),
       true},
      {"CBAD first file", 114, 0x0500, Zeros(21, 0), Cbx("CBAD                ", true), false,
       "AD000001.C01"},
      {"CBAP later file", 115, 0x0500, Zeros(5, 0), Cbx("CBAP                ", false), false,
       "AD010001.C01"},
      {"COIC 5.0",
       27,
       0x0500,
       {0, 0, 0, 1, 2, 0xFFFF},
       With(Common("COIC                ", 50),
            {"DeletedModulesOffs  ", "ChangedOrNewModulesO", "NoDeletedModulesMin1",
             "Bus          Station", "Cluster     Position", "NoChangedOrNewMoMin1"}),
       false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    Reset();
    CodeFile file = CodeFile::Header(row.type, row.majorMinor);
    file.words.insert(file.words.end(), row.words.begin(), row.words.end());
    file.Words({24, 4});
    std::vector<std::string> expected = row.expected.labels;
    for (std::string& label : expected) {
      if (label.empty()) label = kBlank;
    }
    // COIC lists no words after its module lists.
    if (row.type != 27) {
      expected.push_back(row.elementBody ? "AND                 " : kBlank);
      expected.push_back(kBlank);
    }
    const std::string listing = Dump(row.name, file.Build());
    EXPECT_EQ(WordLabels(ReadLines(dir.File(DumpOutputName(row.name))), true), expected);
  }
}

TEST_F(DumpTest, OlderHeaderKeepsTheVersionOfTheFileBefore) {
  // A 5.0 CODC, then an older-header CODC: listed under 5.0, with the COPM line.
  Dump("XX000001.C01", CodeFile::Header(18, 0x0500).Words({0, 0, 0}).Build());
  Dump("XX000002.C01", CodeFile::Header(18, 0x0001).Words({0, 0, 0}).Build());
  const auto labels = WordLabels(ReadLines(dir.File("XX000002.D01")), true);
  ASSERT_EQ(labels.size(), 10u);
  EXPECT_EQ(labels[3], "Year      Month     ");
  EXPECT_EQ(labels[9], "COPMChangeStartOffs ");
}

TEST_F(DumpTest, EveryTypeWithADateBlockReadsBothHeaderGenerations) {
  for (const std::uint8_t type : {17, 18, 22, 23, 26, 27,  33,  34,  49,  65,  66,  70, 71,
                                  74, 96, 97, 98, 99, 100, 101, 102, 103, 112, 114, 115}) {
    SCOPED_TRACE(static_cast<int>(type));
    for (const bool older : {true, false}) {
      Dump("XX000001.C01", CodeFile::Header(type, older ? 0x0001 : 0x0504).Repeat(0, 30).Build());
      const auto labels = WordLabels(ReadLines(dir.File("XX000001.D01")), true);
      ASSERT_GT(labels.size(), 7u);
      EXPECT_EQ(labels[3], older ? "Year      Month     " : "Date          2026/12/7");
      EXPECT_EQ(labels[6], older ? "Millisecond         " : "Target Code Version   5.4");
    }
  }
}

TEST_F(DumpTest, UnknownTypeGetsItsTypeByteAndPlainWords) {
  const std::string listing = Dump("XX000001.C01", CodeFile::Header(0xC8, 0x0500).Build());
  EXPECT_NE(listing.find("Offset to last Byte \n  C8\n    2:   C800"), std::string::npos);
  const auto labels = WordLabels(ReadLines(dir.File("XX000001.D01")), true);
  EXPECT_EQ(labels, std::vector<std::string>(
                        {"Offset to last Byte ", kBlank, kBlank, kBlank, kBlank, kBlank, kBlank}));
}

}  // namespace

}  // namespace morvit
