// Domain sections: the exact bytes of a written section, reading it back, the equal-code and
// wrong-start cases, the listing labels, and damaged sections.
#include "domains/VDomainSection.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "domains/SectionCodes.h"
#include "fixtures/TestUtil.h"

namespace morvit {

namespace {

constexpr std::uint16_t kElementStart = 0x1090;  // 4240
constexpr std::uint16_t kElementEnd = 0x1094;    // 4244
constexpr std::uint16_t kElementBlock = 0x109C;

std::vector<std::uint8_t> Bytes(const CMemFile& file) {
  return {file.Data(), file.Data() + file.GetLength()};
}

// The section of the format description: an element of ten payload bytes and an empty one.
void AddTwoElements(VDomainSection& section) {
  VElement& first = section.AppendElement(kElementBlock);
  const std::uint8_t payload[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  first.Write(payload, sizeof payload);
  section.AppendElement(0x0700);
}

const std::vector<std::uint8_t> kTwoElementBytes = {
    0x10, 0x90, 0x00, 0x04,                                 // start block
    0x10, 0x9C, 0x00, 0x0E, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10,  // ten-byte element
    0x07, 0x00, 0x00, 0x04,                                 // empty element
    0x10, 0x94, 0x00, 0x04,                                 // end block
};

TEST(DomainSection, WritesBlocksBetweenMarkers) {
  VDomainSection section(kElementStart, kElementEnd);
  AddTwoElements(section);
  CMemFile file;
  section.Write(file, 0);
  EXPECT_EQ(Bytes(file), kTwoElementBytes);
}

TEST(DomainSection, ReadsBackElementsAndLength) {
  CMemFile file(kTwoElementBytes.data(), kTwoElementBytes.size());
  VDomainSection section;
  section.Read(file, kElementStart, kElementEnd, 0);
  ASSERT_EQ(section.GetElements().size(), 2u);
  EXPECT_EQ(section.GetLength(), 26);
  EXPECT_EQ(section.GetStartCode(), kElementStart);
  EXPECT_EQ(section.GetEndCode(), kElementEnd);
  EXPECT_EQ(section.GetElements()[0]->GetCode(), kElementBlock);
  EXPECT_EQ(section.GetElements()[0]->GetLength(), 10u);
  EXPECT_EQ(section.GetElements()[1]->GetCode(), 0x0700);
  EXPECT_EQ(section.GetElements()[1]->GetLength(), 0u);
  EXPECT_EQ(file.GetPosition(), kTwoElementBytes.size());
  // Written again, the section gives the same bytes.
  CMemFile again;
  section.Write(again, 0);
  EXPECT_EQ(Bytes(again), kTwoElementBytes);
}

TEST(DomainSection, MovesWithItsElements) {
  VDomainSection section(kElementStart, kElementEnd);
  AddTwoElements(section);
  std::vector<VDomainSection> sections;
  sections.push_back(std::move(section));
  CMemFile file;
  sections[0].Write(file, 0);
  EXPECT_EQ(Bytes(file), kTwoElementBytes);
}

TEST(DomainSection, ReadsAtAGivenPosition) {
  std::vector<std::uint8_t> bytes = {0xAA, 0xBB, 0xCC};
  bytes.insert(bytes.end(), kTwoElementBytes.begin(), kTwoElementBytes.end());
  CMemFile file(bytes.data(), bytes.size());
  VDomainSection section;
  section.Read(file, kElementStart, kElementEnd, 3);
  EXPECT_EQ(section.GetElements().size(), 2u);
  EXPECT_EQ(section.GetLength(), 26);
}

TEST(DomainSection, EqualCodesWriteTheStartBlockOnly) {
  VDomainSection section(kElementStart, kElementStart);
  section.AppendElement(kElementBlock).Write("abcd", 4);
  CMemFile file;
  section.Write(file, 0);
  EXPECT_EQ(Bytes(file), (std::vector<std::uint8_t>{0x10, 0x90, 0x00, 0x04}));

  CMemFile again(file.Data(), file.GetLength());
  VDomainSection read;
  read.Read(again, kElementStart, kElementStart, 0);
  EXPECT_TRUE(read.GetElements().empty());
  EXPECT_EQ(read.GetLength(), 4);
  EXPECT_EQ(read.GetEndCode(), kElementStart);
}

TEST(DomainSection, StartBlockWithPayloadBecomesAnElement) {
  const std::vector<std::uint8_t> bytes = {0x10, 0x90, 0x00, 0x06, 0xAB,
                                           0xCD, 0x10, 0x94, 0x00, 0x04};
  CMemFile file(bytes.data(), bytes.size());
  VDomainSection section;
  section.Read(file, kElementStart, kElementEnd, 0);
  ASSERT_EQ(section.GetElements().size(), 1u);
  EXPECT_EQ(section.GetElements()[0]->GetCode(), kElementStart);
  EXPECT_EQ(section.GetElements()[0]->GetLength(), 2u);
  // The length is what the section takes when written again: the start block with its bytes
  // and the end block.
  EXPECT_EQ(section.GetLength(), 6 + 4);
}

TEST(DomainSection, WrongFirstCodeReadsAsEmpty) {
  CMemFile file(kTwoElementBytes.data(), kTwoElementBytes.size());
  VDomainSection section;
  section.Read(file, 0x0200, 0x0208, 0);
  EXPECT_TRUE(section.GetElements().empty());
  EXPECT_EQ(section.GetLength(), 4);
  EXPECT_EQ(file.GetPosition(), 4u);
}

TEST(DomainSection, ListingLabelsBlocksByCodeName) {
  VDomainSection section(kElementStart, kElementEnd);
  AddTwoElements(section);
  section.AppendElement(0x0001);
  CMemFile file;
  section.Write(file, 1);
  const std::string text(reinterpret_cast<const char*>(file.Data()), file.GetLength());
  // Labels in the order written; code 0x0001 has no name of its own.
  const char* labels[] = {"ElementStart", "FBSize",     "ElementBlock", "BlockSize",  "HwInitJ260",
                          "BlockSize",    "TypCode FB", "BlockSize",    "ElementEnd", "FBSize"};
  std::size_t at = 0;
  for (const char* label : labels) {
    at = text.find(std::string("  ") + label + "\n", at);
    ASSERT_NE(at, std::string::npos) << label << " missing in\n" << text;
  }
}

TEST(SectionCodes, NamesTableCodesAndLabelsTheRest) {
  const struct {
    std::uint16_t code;
    const char* name;
  } rows[] = {
      {0x0200, "Init COLO start"}, {0x0344, "MoveWconstToCOLO"}, {0x10A4, "PageBreakEnd"},
      {0x109C, "ElementBlock"},    {0x0201, "TypCode FB"},       {0x0000, "TypCode FB"},
      {0xFFFF, "TypCode FB"},      {0x10A8, "TypCode FB"},
  };
  for (const auto& row : rows) EXPECT_STREQ(SectionCodeName(row.code), row.name) << row.code;
}

// Damaged sections: each row is the bytes of a section that does not fit its file.
TEST(DomainSection, DamagedSectionsReportEndOfFile) {
  const struct {
    const char* name;
    std::vector<std::uint8_t> bytes;
    std::size_t elementsKept;
  } rows[] = {
      {"start block cut short", {0x10, 0x90, 0x00}, 0},
      {"block size below 4", {0x10, 0x90, 0x00, 0x04, 0x10, 0x9C, 0x00, 0x02, 0x10, 0x94, 0, 4}, 0},
      {"block size 0", {0x10, 0x90, 0x00, 0x04, 0x10, 0x9C, 0x00, 0x00}, 0},
      {"block longer than the file", {0x10, 0x90, 0x00, 0x04, 0x10, 0x9C, 0xFF, 0xFF, 1, 2}, 1},
      {"end block missing", {0x10, 0x90, 0x00, 0x04, 0x10, 0x9C, 0x00, 0x06, 0xAB, 0xCD}, 1},
  };
  for (const auto& row : rows) {
    CMemFile file(row.bytes.data(), row.bytes.size());
    VDomainSection section;
    EXPECT_CAUSE(section.Read(file, kElementStart, kElementEnd, 0), CFileException::endOfFile);
    EXPECT_EQ(section.GetElements().size(), row.elementsKept) << row.name;
  }
}

}  // namespace

namespace {

// A start block that carries bytes (a single-record section is such a block) is written back
// with them: neither dropped nor moved into a block of its own.
TEST(DomainSection, StartBlockBytesSurviveAReadAndWrite) {
  const struct {
    const char* name;
    std::uint16_t start, end;
    std::vector<std::uint8_t> bytes;
  } rows[] = {
      {"single record", 0x0240, 0x0240, {0x02, 0x40, 0x00, 0x08, 1, 2, 3, 4}},
      {"start block with bytes",
       kElementStart,
       kElementEnd,
       {0x10, 0x90, 0x00, 0x06, 7, 8, 0x10, 0x9C, 0x00, 0x05, 9, 0x10, 0x94, 0x00, 0x04}},
  };
  for (const auto& row : rows) {
    CMemFile file(row.bytes.data(), row.bytes.size());
    VDomainSection section;
    section.Read(file, row.start, row.end, 0);
    EXPECT_EQ(section.GetLength(), row.bytes.size()) << row.name;
    CMemFile again;
    section.Write(again, 0);
    EXPECT_EQ(Bytes(again), row.bytes) << row.name;
  }
}

}  // namespace

}  // namespace morvit
