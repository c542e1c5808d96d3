// The element-code name tables through the public lookups: names, the listing labels with
// their widths, and the shape of both tables.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "morvit/VNameTables.h"

namespace morvit {

namespace {

TEST(NameTables, CodesAreNamedAsTheListingLabelsThem) {
  const struct {
    std::uint16_t code;
    const char* name;
    const char* label;
  } rows[] = {
      {0, "SEQ / SEQ_A(IEC)", "SEQ / SEQ_A(IEC)    "},
      {24, "AND", "AND                 "},
      {160, "TON", "TON                 "},
      {764, "configForceStart", "configForceStart    "},
      {2440, "LN700StatusToPolo", "LN700StatusToPolo\t"},
      {2448, "PID", "PID                 "},
      {384, "fbBOAIS", "fbBOAIS              "},
      {416, "fbBOMR", "fbBOMR               "},
      {448, "fbBOOrdersStart", "fbBOOrdersStart     "},
      {1000, "moveBLocalToCOPM", "moveBLocalToCOPM    "},
      {1852, "GetJ460AN315Value", "GetJ460AN315Value    "},
      {4184, "DATDataType", "DATDataType         "},
      {5048, "mVICPUMoveStart", "mVICPUMoveStart        "},
      {5080, "mVINodeCPU", "mVINodeCPU             "},
      {404, "Typcode FB", "Typcode FB          "},
      {5084, "Typcode FB", "Typcode FB          "},
      {2, "Typcode FB", "Typcode FB          "},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.code);
    EXPECT_STREQ(morvit::ElementName(row.code), row.name);
    EXPECT_EQ(morvit::ElementLabel(row.code), row.label);
  }
  EXPECT_STREQ(morvit::FunctionBlockName(24), "AND");
  EXPECT_EQ(morvit::FunctionBlockName(1000), nullptr);
  EXPECT_STREQ(morvit::OrderName(1000), "moveBLocalToCOPM");
  EXPECT_EQ(morvit::OrderName(24), nullptr);
}

TEST(NameTables, TablesAreSortedDisjointAndOfCodesOfFour) {
  std::set<std::uint16_t> seen;
  for (const auto table : {morvit::FunctionBlockNameTable(), morvit::OrderNameTable()}) {
    std::uint16_t previous = 0;
    for (const morvit::VNameEntry& entry : table) {
      EXPECT_EQ(entry.code % 4, 0) << entry.name;
      EXPECT_TRUE(&entry == table.data() || entry.code > previous) << entry.name;
      EXPECT_TRUE(seen.insert(entry.code).second) << entry.name;
      EXPECT_LE(std::string(entry.name).size(), entry.labelWidth) << entry.name;
      previous = entry.code;
    }
  }
  EXPECT_EQ(morvit::FunctionBlockNameTable().size(), 164u);
  EXPECT_EQ(morvit::OrderNameTable().size(), 246u);
}

}  // namespace

}  // namespace morvit
