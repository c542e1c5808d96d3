// VElement: codes, growth, and GetBuffer's copy-out that continues where the last one ended.
#include "morvit/VElement.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace morvit {

namespace {

TEST(Element, NewElementIsEmptyAndGivesATerminatedEmptyBuffer) {
  VElement element(0x1090);
  EXPECT_EQ(element.GetLength(), 0u);
  EXPECT_EQ(element.GetCode(), 0x1090);
  element.SetCode(4);
  EXPECT_EQ(element.GetCode(), 4);
  const auto buffer = element.GetBuffer(0);
  EXPECT_EQ(buffer[0], 0);
}

TEST(Element, GetBufferCopiesOutFromThePositionAndAdvancesIt) {
  std::vector<std::uint8_t> bytes(100);
  std::iota(bytes.begin(), bytes.end(), std::uint8_t{1});
  VElement element;
  element.Write(bytes.data(), 100);
  EXPECT_EQ(element.GetLength(), 100u);

  element.SeekToBegin();
  const auto first = element.GetBuffer(60);
  const auto rest = element.GetBuffer(40);
  for (int i = 0; i < 60; ++i) ASSERT_EQ(first[i], i + 1) << i;
  EXPECT_EQ(first[60], 0);
  for (int i = 0; i < 40; ++i) ASSERT_EQ(rest[i], 61 + i) << i;
  EXPECT_EQ(rest[40], 0);
  // The element keeps its bytes: read again from the start, they are all there.
  element.SeekToBegin();
  EXPECT_EQ(element.GetBuffer(100)[99], 100);
}

TEST(Element, AskingBeyondTheEndGivesZerosForTheMissingBytes) {
  VElement element;
  const std::uint8_t bytes[] = {7, 8, 9};
  element.Write(bytes, 3);
  element.Seek(1, CFile::begin);
  const auto buffer = element.GetBuffer(6);
  const std::uint8_t expected[] = {8, 9, 0, 0, 0, 0, 0};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(buffer[i], expected[i]) << i;
}

}  // namespace

}  // namespace morvit
