// The controller value conversions: golden big-endian bytes, the truth word, and the controller
// real's rounding, overflow, subnormal and NaN behaviour.
#include "support/ControllerTypes.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>

namespace morvit {

namespace {

using Four = std::array<std::uint8_t, 4>;
using Two = std::array<std::uint8_t, 2>;

// Integers in both directions; values whose halves differ catch a swapped byte or word.
TEST(ControllerTypes, IntegersAreMostSignificantByteFirst) {
  const std::pair<std::int16_t, Two> words[] = {
      {0x1234, {0x12, 0x34}}, {-32768, {0x80, 0x00}}, {-2, {0xFF, 0xFE}}};
  for (const auto& [value, bytes] : words) {
    Two out{};
    controller::IntegerToBytes(value, out.data());
    EXPECT_EQ(out, bytes) << value;
    EXPECT_EQ(controller::BytesToInteger(bytes.data()), value);
    EXPECT_EQ(controller::BytesToCardinal(bytes.data()), static_cast<std::uint16_t>(value));
  }
  const std::pair<std::int32_t, Four> longs[] = {{0x12345678, {0x12, 0x34, 0x56, 0x78}},
                                                 {-2147483647 - 1, {0x80, 0x00, 0x00, 0x00}},
                                                 {-2, {0xFF, 0xFF, 0xFF, 0xFE}}};
  for (const auto& [value, bytes] : longs) {
    Four out{};
    controller::LongIntToBytes(value, out.data());
    EXPECT_EQ(out, bytes) << value;
    controller::LongCardToBytes(static_cast<std::uint32_t>(value), out.data());
    EXPECT_EQ(out, bytes) << value;
    EXPECT_EQ(controller::BytesToLongInt(bytes.data()), value);
    EXPECT_EQ(controller::BytesToLongCard(bytes.data()), static_cast<std::uint32_t>(value));
  }
}

TEST(ControllerTypes, TruthWordIsOneAndAnyNonZeroWordIsTrue) {
  const std::pair<std::uint8_t, Two> written[] = {
      {0, {0x00, 0x00}}, {1, {0x00, 0x01}}, {0xFF, {0x00, 0x01}}};
  for (const auto& [value, bytes] : written) {
    Two out{};
    controller::BooleanToBytes(value, out.data());
    EXPECT_EQ(out, bytes) << int{value};
  }
  const std::pair<Two, std::uint8_t> read[] = {
      {{0x00, 0x00}, 0}, {{0x00, 0x01}, 1}, {{0x01, 0x00}, 1}, {{0xFF, 0xFF}, 1}};
  for (const auto& [bytes, value] : read) {
    EXPECT_EQ(controller::BytesToBoolean(bytes.data()), value);
  }
}

TEST(ControllerTypes, RealIsIeeeSingleMostSignificantByteFirst) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  struct Row {
    const char* name;
    double value;
    Four bytes;
  };
  const Row rows[] = {
      {"one", 1.0, {0x3F, 0x80, 0x00, 0x00}},
      {"minus two and a half", -2.5, {0xC0, 0x20, 0x00, 0x00}},
      {"one tenth rounds to nearest", 0.1, {0x3D, 0xCC, 0xCC, 0xCD}},
      {"tie rounds to even", 1.0 + 0x1p-24, {0x3F, 0x80, 0x00, 0x00}},
      {"tie rounds up to even", 1.0 + 3 * 0x1p-24, {0x3F, 0x80, 0x00, 0x02}},
      {"minus zero keeps its sign", -0.0, {0x80, 0x00, 0x00, 0x00}},
      {"largest single", 0x1.fffffep+127, {0x7F, 0x7F, 0xFF, 0xFF}},
      {"just below the overflow point", 0x1.fffffefffffffp+127, {0x7F, 0x7F, 0xFF, 0xFF}},
      {"at the overflow point", 0x1.ffffffp+127, {0x7F, 0x80, 0x00, 0x00}},
      {"beyond the range", 1e39, {0x7F, 0x80, 0x00, 0x00}},
      {"beyond the range, negative", -1e300, {0xFF, 0x80, 0x00, 0x00}},
      {"infinity", kInf, {0x7F, 0x80, 0x00, 0x00}},
      {"minus infinity", -kInf, {0xFF, 0x80, 0x00, 0x00}},
      {"smallest subnormal", 0x1p-149, {0x00, 0x00, 0x00, 0x01}},
      {"below half the smallest subnormal", 1e-50, {0x00, 0x00, 0x00, 0x00}},
      {"negative underflow keeps its sign", -1e-50, {0x80, 0x00, 0x00, 0x00}},
      {"NaN", std::nan(""), {0x7F, 0xC0, 0x00, 0x00}},
      {"negative NaN", -std::nan("5"), {0x7F, 0xC0, 0x00, 0x00}},
  };
  for (const Row& row : rows) {
    Four out{};
    controller::DoubleToReal(row.value, out.data());
    EXPECT_EQ(out, row.bytes) << row.name;
  }
}

TEST(ControllerTypes, RealReadsBackWhatWasWritten) {
  const double values[] = {0.0,      1.0,
                           -2.5,     0.15625,
                           123456.0, 0x1.fffffep+127,
                           0x1p-149, -std::numeric_limits<double>::infinity()};
  for (double value : values) {
    Four bytes{};
    controller::DoubleToReal(value, bytes.data());
    EXPECT_EQ(controller::RealToDouble(bytes.data()), value) << value;
  }
  // A double with more precision than a single reads back as its nearest single.
  Four bytes{};
  controller::DoubleToReal(0.1, bytes.data());
  EXPECT_EQ(controller::RealToDouble(bytes.data()), static_cast<double>(0.1f));
  const Four nan = {0x7F, 0xC0, 0x00, 0x00};
  EXPECT_TRUE(std::isnan(controller::RealToDouble(nan.data())));
}

TEST(ControllerTypes, BytesAndCharactersAreTheSameBits) {
  const std::uint8_t bytes[] = {'A', 0x00, 0xE9, 0x7F};
  char chars[4];
  controller::BytesToChars(bytes, 4, chars);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(controller::CharToByte(chars[i]), bytes[i]);
    EXPECT_EQ(controller::ByteToChar(bytes[i]), chars[i]);
  }
  EXPECT_EQ(chars[0], 'A');
}

}  // namespace

}  // namespace morvit
