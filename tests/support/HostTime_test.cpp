// The compact date-time: packing golden words, the century threshold of the Date word, the
// field limits, and that unpacking and packing agree on every word.
#include "support/HostTime.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace morvit {

namespace {

bool Same(const RTime& a, const RTime& b) {
  return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour &&
         a.minute == b.minute && a.second == b.second && a.millisecond == b.millisecond;
}

TEST(HostTime, PacksIntoDateTimeAndMilliSec) {
  struct Row {
    RTime time;
    CompactDateTime packed;
  };
  const Row rows[] = {
      // 26 << 9 | 12 << 5 | 7; 20 * 60 + 30; 15 * 1000 + 250
      {{2026, 12, 7, 20, 30, 15, 250}, {13703, 1230, 15250}},
      // offset 99 (1999) << 9 | 1 << 5 | 1
      {{1999, 1, 1, 0, 0, 0, 0}, {50721, 0, 0}},
      // offset 95 (2095) << 9 | 3 << 5 | 7; 12 * 60 + 34; 56 * 1000 + 789
      {{2095, 3, 7, 12, 34, 56, 789}, {48743, 754, 56789}},
      {{2000, 1, 1, 23, 59, 59, 999}, {33, 1439, 59999}},
  };
  for (const Row& row : rows) {
    const CompactDateTime packed = hosttime::PackDateTime(row.time);
    EXPECT_EQ(packed.date, row.packed.date) << row.time.year;
    EXPECT_EQ(packed.time, row.packed.time) << row.time.year;
    EXPECT_EQ(packed.milliSec, row.packed.milliSec) << row.time.year;
  }
}

TEST(HostTime, DateWordBelowThresholdIsThisCentury) {
  struct Row {
    std::uint16_t date;
    RTime expected;
  };
  const Row rows[] = {
      {13703, {2026, 12, 7, 0, 0, 0, 0}},
      {46079, {2089, 15, 31, 0, 0, 0, 0}},  // offset 89, the last of this century
      {46080, {1990, 0, 0, 0, 0, 0, 0}},    // offset 90, the first of the 1900s
      {48743, {1995, 3, 7, 0, 0, 0, 0}},    // written for 2095, read as 1995
      {50721, {1999, 1, 1, 0, 0, 0, 0}},
      {0xFFFF, {2027, 15, 31, 0, 0, 0, 0}},  // offset 127
  };
  for (const Row& row : rows) {
    const RTime time = hosttime::UnpackDateTime(CompactDateTime{row.date, 0, 0});
    EXPECT_TRUE(Same(time, row.expected))
        << row.date << " read as " << time.year << "-" << time.month << "-" << time.day;
  }
  const RTime clock = hosttime::UnpackDateTime(CompactDateTime{0, 1439, 59999});
  EXPECT_TRUE(Same(clock, RTime{2000, 0, 0, 23, 59, 59, 999}));
}

TEST(HostTime, EveryWordOfTheCenturiesPacksBack) {
  for (unsigned word = 0; word <= 0xFFFF; ++word) {
    const auto w = static_cast<std::uint16_t>(word);
    const CompactDateTime packed{static_cast<std::uint16_t>(word % (100u << 9)), w, w};
    const CompactDateTime again = hosttime::PackDateTime(hosttime::UnpackDateTime(packed));
    ASSERT_EQ(again.date, packed.date);
    ASSERT_EQ(again.time, packed.time);
    ASSERT_EQ(again.milliSec, packed.milliSec);
  }
}

TEST(HostTime, FieldsBeyondTheirWidthAreRefused) {
  const RTime refused[] = {
      {1899, 1, 1, 0, 0, 0, 0},  {2128, 1, 1, 0, 0, 0, 0},     {2000, 16, 1, 0, 0, 0, 0},
      {2000, 1, 32, 0, 0, 0, 0}, {2000, 1, 1, 1092, 16, 0, 0}, {2000, 1, 1, 0, 0, 65, 536},
  };
  for (const RTime& time : refused) {
    EXPECT_THROW(hosttime::PackDateTime(time), std::out_of_range)
        << time.year << " " << time.month << " " << time.day << " " << time.hour;
  }
  // The largest values that still fit.
  const CompactDateTime edge = hosttime::PackDateTime(RTime{2127, 15, 31, 1092, 15, 65, 535});
  EXPECT_EQ(edge.date, 0xFFFF);
  EXPECT_EQ(edge.time, 0xFFFF);
  EXPECT_EQ(edge.milliSec, 0xFFFF);
}

}  // namespace

}  // namespace morvit
