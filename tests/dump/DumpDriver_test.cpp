// The dump driver's choices and its handling of damaged input: mode and listing name from the
// data-set name, the element lines' body-start arithmetic, files that end early or announce
// impossible lengths, tables whose counts point past their files, COIO bodies that break off.
#include "dump/DumpDriver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "fixtures/DumpFiles.h"
#include "fixtures/DumpTest.h"

namespace morvit {

using namespace testutil;

namespace {

const std::string kBlank(20, ' ');

// Word lines of a CODE listing with line numbers (offset, ":   "), or rows of a table listing
// (an index right-aligned in five columns).
std::size_t CountLines(const std::string& text, bool wordLines) {
  std::size_t count = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    if (wordLines) {
      count += line.size() > 9 && line[5] == ':' && line.compare(6, 3, "   ") == 0 &&
               line[4] >= '0' && line[4] <= '9';
    } else {
      count +=
          line.size() > 4 && line.compare(0, 4, "    ") == 0 && line[4] >= '0' && line[4] <= '9';
    }
    start = end + 1;
  }
  return count;
}
std::size_t WordLines(const std::string& text) { return CountLines(text, true); }
std::size_t TableRows(const std::string& text) { return CountLines(text, false); }

TEST(DumpDriverNames, ModeAndListingNameComeFromTheDataSetName) {
  const struct {
    const char* name;
    DumpMode mode;
    const char* output;
  } rows[] = {
      {"RB000012.C03", DumpMode::code, "RB000012.D03"},
      {"XXLO0001.C01", DumpMode::data, "XXLO0001.D01"},
      {"XXLE0001.C01", DumpMode::data, "XXLE0001.D01"},
      {"xxlo0001.c01", DumpMode::data, "xxlo0001.D01"},
      {"PLLO0001.C01", DumpMode::pcData, "PLLO0001.D01"},
      {"XXA00001.C01", DumpMode::move, "XXA00001.D01"},
      {"XXBI0001.C01", DumpMode::wideMove, "XXBI0001.D01"},
      {"BOBC0001.C01", DumpMode::code, "BOBC0001.D01"},
      {"BMBD0001.C01", DumpMode::code, "BMBD0001.D01"},
      {"AB", DumpMode::code, ""},
      {"ABL", DumpMode::code, ""},
      {"X.", DumpMode::code, "X.D"},
      {"X.D01", DumpMode::code, ""},
      {"X1.B.C", DumpMode::code, "X1.D.C"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(SelectDumpMode(row.name), row.mode);
    EXPECT_EQ(DumpOutputName(row.name), row.output);
  }
}

TEST_F(DumpTest, ElementLinesFollowTheLengthWords) {
  // REDC: the body starts right after the common header (word 7).
  const struct {
    const char* what;
    std::vector<std::uint16_t> body;
    std::vector<std::string> labels;
  } rows[] = {
      {"length 0: no further element lines", {24, 0, 28, 4}, {"AND", "", "", ""}},
      {"length 1: as 0", {24, 1, 28, 4}, {"AND", "", "", ""}},
      {"length 2: the length word is the next code", {24, 2, 4}, {"AND", "Typcode FB", ""}},
      {"length 3: as 2", {160, 3, 4}, {"TON", "Typcode FB", ""}},
      {"odd length 7: three words on", {24, 7, 0, 28, 4}, {"AND", "", "", "OR", ""}},
      {"lengths chain elements",
       {24, 6, 9, 1000, 4, 4184, 4},
       {"AND", "", "", "moveBLocalToCOPM", "", "DATDataType", ""}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    CodeFile file = CodeFile::Header(34, 0x0500);
    file.words.insert(file.words.end(), row.body.begin(), row.body.end());
    Dump("RC000001.C01", file.Build());
    auto labels = WordLabels(ReadLines(dir.File("RC000001.D01")), true);
    ASSERT_EQ(labels.size(), 7 + row.labels.size());
    for (std::size_t i = 0; i < row.labels.size(); ++i) {
      std::string expected = row.labels[i];
      expected.resize(std::max<std::size_t>(expected.size(), 20), ' ');
      EXPECT_EQ(labels[7 + i], expected) << i;
    }
  }
}

TEST_F(DumpTest, FilesThatEndEarlyAreListedFromWhatWasRead) {
  const Bytes tade = CodeFile::Header(49, 0x0500).Words({1, 2, 3}).Build();
  const struct {
    const char* what;
    Bytes file;
    const char* resultLine;  // null: none
    std::size_t wordLines;
  } rows[] = {
      {"no file", {}, "return from file_read (CODE):  -702", 1},
      {"empty file", {}, "return from file_read (CODE):   -20", 1},
      {"length 0", {0x00, 0x00, 0x31, 0x00}, nullptr, 12},
      {"length 3", {0x00, 0x03, 0x31, 0x00}, nullptr, 12},
      {"length 65535, 4 bytes",
       {0xFF, 0xFF, 0x31, 0x00},
       "return from file_read (CODE):   -20",
       32768},
      {"length beyond the bytes", Bytes(tade.begin(), tade.end() - 2),
       "return from file_read (CODE):   -20", 19},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    std::string listing;
    if (std::string(row.what) == "no file") {
      EXPECT_EQ(RunDumpDriver(Dir(), "TD000009.C01"), 0);
      listing = Text("TD000009.D01");
    } else {
      listing = Dump("TD000001.C01", row.file);
    }
    EXPECT_EQ(listing.find("return from file_read") != std::string::npos,
              row.resultLine != nullptr);
    if (row.resultLine) {
      EXPECT_NE(listing.find(std::string(row.resultLine) + "\n\n"), std::string::npos);
    }
    EXPECT_EQ(WordLines(listing), row.wordLines);
  }
}

TEST_F(DumpTest, CountsBeyondTheFileEndWithIt) {
  // A CODA (4.9) whose option count asks for 30000 blocks in a file of 60 words.
  const Bytes coda =
      CodeFile::Header(17, 0x0001).Repeat(0, 40).Words({30000}).Repeat(0, 12).Build();
  EXPECT_EQ(WordLines(Dump("CA000001.C01", coda)), 60u);
  // A COIO whose device record breaks off, and one whose object-type count is 0xFFFF.
  const Bytes broken = CodeFile::Header(26, 0x0500).Words({1, 2, 848, 4, 868, 40, 7, 7}).Build();
  const std::string brokenListing = Dump("CI000001.C01", broken);
  EXPECT_NE(brokenListing.find("Data corrupted!     \n"), std::string::npos);
  const Bytes noTypes = CodeFile::Header(26, 0x0500)
                            .Words({1, 2, 848, 4, 1792, 40})
                            .Repeat(0, 17)
                            .Words({0xFFFF, 852, 4})
                            .Build();
  const auto labels = [&] {
    Dump("CI000002.C01", noTypes);
    return WordLabels(ReadLines(dir.File("CI000002.D01")), true);
  }();
  ASSERT_GE(labels.size(), 3u);
  EXPECT_EQ(labels[labels.size() - 3], "NoObjTypeBlocksMin1 ");
  EXPECT_EQ(labels[labels.size() - 2], "configurationHWInitE");
  // A COIO body that does not open with a section start.
  const Bytes noStart = CodeFile::Header(26, 0x0500).Words({1, 2, 24, 4}).Build();
  const auto startLabels = [&] {
    Dump("CI000003.C01", noStart);
    return WordLabels(ReadLines(dir.File("CI000003.D01")), true);
  }();
  EXPECT_EQ(startLabels[9], "Data corrupted!     ");
  // Tables whose heads count more records than they hold.
  const std::string data =
      Dump("XXLO0001.C01", DataTable({{9, 0, 0, 0, 0, 0, 0, 0, 0}, {1, 0, 0, 0, 0, 0, 0, 0, 0}}));
  EXPECT_EQ(TableRows(data), 2u);
  Write("XXB00001.C01", MoveBTable({{1, 2, 1, {}, 0, 0, {{5, 5, 5, 5, 5}}}}));
  const std::string move = Dump("XXA00001.C01", MoveATable({{1, 1, 1}, {2, 2, 2}}, 1, 400));
  EXPECT_EQ(TableRows(move), 3u);  // A records 0 and 1, B block 0 (of the one B record)
  // An A count past the table's room lists the 3749 records it has room for.
  const std::string manyA = Dump("XXA00003.C01", MoveATable({}, 50000, 0));
  EXPECT_NE(manyA.find("\n 3748      0"), std::string::npos);
  EXPECT_EQ(manyA.find("\n 3749"), std::string::npos);
  const std::string shortA = Dump("XXA00002.C01", Bytes(29999, 0));
  EXPECT_NE(shortA.find("return from file_read (MOVE):  -714\n"), std::string::npos);
  const std::string noTable = [&] {
    EXPECT_EQ(RunDumpDriver(Dir(), "XXLO0009.C01"), 0);
    return Text("XXLO0009.D01");
  }();
  EXPECT_NE(noTable.find("return from file_read (DATA):   -11\n"), std::string::npos);
}

TEST_F(DumpTest, NamesWithoutAListingNameOrOfAnyLengthAreSafe) {
  Write("NODOT", CodeFile::Header(49, 0x0500).Build());
  EXPECT_EQ(RunDumpDriver(Dir(), "NODOT"), -703);
  EXPECT_EQ(Text("NODOT").size(), 14u);  // never overwritten by its own listing
  const std::string longName = std::string(90, 'Q') + ".C01";
  const std::string listing = Dump(longName, CodeFile::Header(49, 0x0500).Build());
  EXPECT_NE(listing.find(std::string(kDataSetLabel) + longName + "\n"), std::string::npos);
  EXPECT_NE(listing.find("TADE, task_no"), std::string::npos);
}

}  // namespace

}  // namespace morvit
