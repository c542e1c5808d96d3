// The move-block exports: signature keys, lookups, the shape registry, activation, and records
// whose counts would make the library read outside them.
#include "interface/MoveBlocks.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "morvit/VBase.h"

namespace morvit {

namespace {

TMoveBlock Record(std::uint16_t fbKey, std::uint16_t a, std::uint16_t b, std::int32_t value) {
  TMoveBlock record{};
  record.value = value;
  record.functionBlockKey = fbKey;
  record.extraValue = static_cast<std::int16_t>(value + 1);
  for (std::uint16_t i = 0; i < 4; ++i) record.firstList[i] = static_cast<std::uint16_t>(0x100 + i);
  for (std::uint16_t i = 0; i < 2; ++i)
    record.secondList[i] = static_cast<std::uint16_t>(0x200 + i);
  record.firstCount = a;
  record.secondCount = b;
  record.shapeValue = static_cast<std::int16_t>(fbKey * 3);
  record.lastValue = 0x1234;
  return record;
}

// Each test starts with an empty, inactive registry and no shapes.
class MoveBlockExports : public ::testing::Test {
 protected:
  void SetUp() override { Reset(); }
  void TearDown() override { Reset(); }
  static void Reset() {
    VBase_ActivateMoveBlockList(0);
    VBase_DeleteFuncBlockList();
  }
};

TEST_F(MoveBlockExports, KeyLayout) {
  const TMoveBlock record = Record(0x0A0B, 2, 1, 7);
  const std::vector<std::uint8_t> key = BuildMoveBlockKey(record);
  ASSERT_EQ(key.size(), 10u);
  EXPECT_EQ(key[0], 10);
  // The key's bytes lie as in the record: the function-block key, two first-list values, one
  // second-list value, then the low byte of the last value.
  std::vector<std::uint8_t> expected(1, 10);
  const auto* raw = reinterpret_cast<const std::uint8_t*>(&record);
  expected.insert(expected.end(), raw + 4, raw + 6);
  expected.insert(expected.end(), raw + 8, raw + 12);
  expected.insert(expected.end(), raw + 16, raw + 18);
  expected.push_back(0x34);
  EXPECT_EQ(key, expected);

  struct Length {
    std::uint16_t a, b;
    std::size_t length;
  };
  for (const Length& l : {Length{0, 0, 4}, Length{4, 2, 16}, Length{4, 0, 12}, Length{0, 2, 8}}) {
    EXPECT_EQ(BuildMoveBlockKey(Record(1, l.a, l.b, 0)).size(), l.length) << l.a << "," << l.b;
  }
}

TEST_F(MoveBlockExports, InsertedRecordsAreFoundBySignature) {
  VBase_ActivateMoveBlockList(1);
  std::vector<TMoveBlock> records;
  for (std::uint16_t fb = 1; fb <= 20; ++fb) {
    for (std::uint16_t a = 0; a <= 4; a += 2)
      records.push_back(Record(fb, a, fb % 3, fb * 100 + a));
  }
  for (const TMoveBlock& r : records) ASSERT_EQ(VBase_InsertMoveBlock(&r), 1);
  for (const TMoveBlock& r : records) {
    const std::vector<std::uint8_t> key = BuildMoveBlockKey(r);
    TMoveBlock out = Record(999, 1, 1, -5);
    const TMoveBlock before = out;
    ASSERT_EQ(VBase_GetMoveBlock(0, key.data(), &out), 1);
    EXPECT_EQ(out.value, r.value);
    EXPECT_EQ(out.extraValue, r.extraValue);
    // Nothing but the two values is touched.
    EXPECT_EQ(std::memcmp(reinterpret_cast<const char*>(&out) + 8,
                          reinterpret_cast<const char*>(&before) + 8, sizeof out - 8),
              0);
    EXPECT_EQ(out.functionBlockKey, before.functionBlockKey);
  }
  TMoveBlock out{};
  std::vector<std::uint8_t> unknown = BuildMoveBlockKey(Record(21, 2, 1, 0));
  EXPECT_EQ(VBase_GetMoveBlock(0, unknown.data(), &out), -1);
  const std::uint8_t empty[1] = {0};
  EXPECT_EQ(VBase_GetMoveBlock(0, empty, &out), -1);  // a zero length matches nothing
  EXPECT_EQ(VBase_GetMoveBlock(0, nullptr, &out), -1);
  EXPECT_EQ(VBase_GetMoveBlock(0, unknown.data(), nullptr), -1);
}

TEST_F(MoveBlockExports, RecordsDifferingOnlyInValueShareTheirSignature) {
  VBase_ActivateMoveBlockList(1);
  const TMoveBlock first = Record(5, 2, 1, 111);
  const TMoveBlock second = Record(5, 2, 1, 222);
  EXPECT_EQ(BuildMoveBlockKey(first), BuildMoveBlockKey(second));
  EXPECT_EQ(VBase_InsertMoveBlock(&first), 1);
  EXPECT_EQ(VBase_InsertMoveBlock(&second), 0);  // the signature is filed already
  TMoveBlock out{};
  EXPECT_EQ(VBase_GetMoveBlock(0, BuildMoveBlockKey(second).data(), &out), 1);
  EXPECT_EQ(out.value, 111);
}

TEST_F(MoveBlockExports, ShapeOfTheFirstRecordIsKept) {
  std::uint16_t first = 9, second = 9;
  std::int16_t shape = 9;
  EXPECT_EQ(VBase_GetMoveBlockStructure(7, &first, &second, &shape), -1);
  EXPECT_EQ(first, 0);
  EXPECT_EQ(second, 0);
  EXPECT_EQ(shape, 0);

  VBase_ActivateMoveBlockList(1);
  TMoveBlock record = Record(7, 3, 1, 1);
  record.shapeValue = -4;
  ASSERT_EQ(VBase_InsertMoveBlock(&record), 1);
  const TMoveBlock other = Record(7, 1, 2, 2);
  ASSERT_EQ(VBase_InsertMoveBlock(&other), 1);
  EXPECT_EQ(VBase_GetMoveBlockStructure(7, &first, &second, &shape), 1);
  EXPECT_EQ(first, 6);
  EXPECT_EQ(second, 2);
  EXPECT_EQ(shape, -4);
  EXPECT_EQ(VBase_GetMoveBlockStructure(7, nullptr, &second, &shape), -1);

  // Switching the signature registry off keeps the shapes; deleting them does not need it.
  VBase_ActivateMoveBlockList(0);
  EXPECT_EQ(VBase_GetMoveBlockStructure(7, &first, &second, &shape), 1);
  VBase_DeleteFuncBlockList();
  EXPECT_EQ(VBase_GetMoveBlockStructure(7, &first, &second, &shape), -1);
  VBase_DeleteFuncBlockList();  // on an empty shape registry: nothing happens
  EXPECT_EQ(VBase_GetMoveBlockStructure(7, &first, &second, &shape), -1);
}

TEST_F(MoveBlockExports, NothingIsFiledWhileInactive) {
  const TMoveBlock record = Record(3, 2, 1, 5);
  EXPECT_EQ(VBase_InsertMoveBlock(&record), 0);
  std::uint16_t first, second;
  std::int16_t shape;
  EXPECT_EQ(VBase_GetMoveBlockStructure(3, &first, &second, &shape), -1);
  TMoveBlock out{};
  EXPECT_EQ(VBase_GetMoveBlock(0, BuildMoveBlockKey(record).data(), &out), -1);

  // Switching off frees the records; switching on again starts empty.
  VBase_ActivateMoveBlockList(1);
  ASSERT_EQ(VBase_InsertMoveBlock(&record), 1);
  VBase_ActivateMoveBlockList(0);
  EXPECT_EQ(VBase_GetMoveBlock(0, BuildMoveBlockKey(record).data(), &out), -1);
  VBase_ActivateMoveBlockList(1);
  EXPECT_EQ(VBase_GetMoveBlock(0, BuildMoveBlockKey(record).data(), &out), -1);
  // Activating an active registry also starts it empty (the old records are freed).
  ASSERT_EQ(VBase_InsertMoveBlock(&record), 1);
  VBase_ActivateMoveBlockList(1);
  EXPECT_EQ(VBase_GetMoveBlock(0, BuildMoveBlockKey(record).data(), &out), -1);
}

TEST_F(MoveBlockExports, OversizedCountsAndNullRecordsAreRefused) {
  VBase_ActivateMoveBlockList(1);
  struct Counts {
    std::uint16_t a, b;
  };
  for (const Counts& c : {Counts{5, 0}, Counts{0, 3}, Counts{0xFFFF, 0xFFFF}, Counts{4, 0x8000}}) {
    const TMoveBlock record = Record(8, c.a, c.b, 1);
    EXPECT_TRUE(BuildMoveBlockKey(record).empty());
    EXPECT_EQ(VBase_InsertMoveBlock(&record), 0) << c.a << "," << c.b;
  }
  std::uint16_t first, second;
  std::int16_t shape;
  EXPECT_EQ(VBase_GetMoveBlockStructure(8, &first, &second, &shape), -1);  // no shape either
  EXPECT_EQ(VBase_InsertMoveBlock(nullptr), 0);
}

TEST(MoveBlockKeys, OrderByLengthThenBytes) {
  const std::uint8_t shortKey[4] = {4, 0xFF, 0xFF, 0xFF};
  const std::uint8_t longKey[6] = {6, 0, 0, 0, 0, 0};
  const std::uint8_t longKey2[6] = {6, 0, 0, 0, 1, 0};
  EXPECT_GT(CompareMoveBlockKeys(shortKey, longKey), 0);  // the other is greater
  EXPECT_LT(CompareMoveBlockKeys(longKey, shortKey), 0);
  EXPECT_GT(CompareMoveBlockKeys(longKey, longKey2), 0);
  EXPECT_EQ(CompareMoveBlockKeys(longKey2, longKey2), 0);
}

}  // namespace

}  // namespace morvit
