// The code tables derived from code lengths, checked against code words of the published
// tables and against the number of codes of each length.
#include "files/DclFormat.h"

#include <gtest/gtest.h>

namespace morvit {

namespace {

using morvit::dcl::CodeWord;

struct Word {
  unsigned symbol;
  unsigned value;  // LSB-first value as tabled
  unsigned bits;
};

template <std::size_t N>
void ExpectWords(const std::array<CodeWord, N>& words, std::initializer_list<Word> expected) {
  for (const Word& w : expected) {
    EXPECT_EQ(words[w.symbol].value, w.value) << "symbol " << w.symbol;
    EXPECT_EQ(words[w.symbol].bits, w.bits) << "symbol " << w.symbol;
  }
}

TEST(DclFormat, LengthCodesMatchTable) {
  ExpectWords(morvit::dcl::kLengthCodes, {{0, 0x03, 2},
                                          {1, 0x05, 3},
                                          {2, 0x01, 3},
                                          {3, 0x06, 3},
                                          {4, 0x0A, 4},
                                          {5, 0x02, 4},
                                          {6, 0x0C, 4},
                                          {7, 0x14, 5},
                                          {8, 0x04, 5},
                                          {9, 0x18, 5},
                                          {10, 0x08, 5},
                                          {11, 0x30, 6},
                                          {12, 0x10, 6},
                                          {13, 0x20, 6},
                                          {14, 0x40, 7},
                                          {15, 0x00, 7}});
}

TEST(DclFormat, DistanceCodesMatchTable) {
  ExpectWords(morvit::dcl::kDistanceCodes, {{0, 0x03, 2},
                                            {1, 0x0D, 4},
                                            {2, 0x05, 4},
                                            {3, 0x19, 5},
                                            {6, 0x01, 5},
                                            {7, 0x3E, 6},
                                            {21, 0x22, 6},
                                            {22, 0x42, 7},
                                            {31, 0x0C, 7},
                                            {47, 0x08, 7},
                                            {48, 0xF0, 8},
                                            {55, 0x10, 8},
                                            {62, 0x80, 8},
                                            {63, 0x00, 8}});
}

TEST(DclFormat, LiteralCodesMatchTable) {
  ExpectWords(morvit::dcl::kLiteralCodes, {{0x00, 0x0490, 11},
                                           {0x01, 0x0FE0, 12},
                                           {0x09, 0x00B8, 8},
                                           {0x0A, 0x0062, 7},
                                           {0x0D, 0x0022, 7},
                                           {0x1A, 0x1240, 13},
                                           {0x20, 0x000F, 4},
                                           {0x2D, 0x0029, 6},
                                           {0x45, 0x0017, 5},
                                           {0x61, 0x0007, 5},
                                           {0x7C, 0x0010, 11},
                                           {0x80, 0x0240, 13},
                                           {0xAF, 0x1300, 13},
                                           {0xB0, 0x0DA0, 12},
                                           {0xE1, 0x0D40, 12},
                                           {0xFE, 0x1000, 13},
                                           {0xFF, 0x0000, 13}});
}

// Number of codes of each length 2..13, as tabled for the format; catches a mistyped length.
TEST(DclFormat, CodeLengthCounts) {
  auto counts = [](const auto& lengths) {
    std::array<unsigned, 14> c{};
    for (auto l : lengths) ++c[l];
    return std::vector<unsigned>(c.begin() + 2, c.end());
  };
  EXPECT_EQ(counts(morvit::dcl::kLiteralCodeBits),
            (std::vector<unsigned>{0, 0, 1, 11, 20, 21, 16, 7, 5, 10, 91, 74}));
  EXPECT_EQ(counts(morvit::dcl::kLengthCodeBits),
            (std::vector<unsigned>{1, 3, 3, 4, 3, 2, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(counts(morvit::dcl::kDistanceCodeBits),
            (std::vector<unsigned>{1, 0, 2, 4, 15, 26, 16, 0, 0, 0, 0, 0}));
}

TEST(DclFormat, LengthSymbolRanges) {
  struct Row {
    unsigned length, symbol;
  };
  for (Row r : {Row{2, 1}, Row{3, 0}, Row{9, 7}, Row{10, 8}, Row{11, 8}, Row{15, 9}, Row{16, 10},
                Row{23, 10}, Row{24, 11}, Row{135, 13}, Row{136, 14}, Row{263, 14}, Row{264, 15},
                Row{519, 15}})
    EXPECT_EQ(morvit::dcl::LengthSymbolOf(r.length), r.symbol) << "length " << r.length;
}

}  // namespace

}  // namespace morvit
