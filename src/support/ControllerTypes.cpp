// The controller's value encodings: big-endian words and longs, the truth word, and the
// controller real (IEEE 754 single precision, most significant byte first).
#include "support/ControllerTypes.h"

#include <bit>
#include <cmath>
#include <limits>

namespace controller {

static_assert(std::numeric_limits<float>::is_iec559 && sizeof(float) == kLongSize,
              "the controller real is carried in the host's IEEE 754 single");

std::uint16_t BytesToCardinal(const std::uint8_t* bytes) {
  return HighLowToCardinal(bytes[0], bytes[1]);
}

std::int16_t BytesToInteger(const std::uint8_t* bytes) {
  return static_cast<std::int16_t>(BytesToCardinal(bytes));
}

std::uint8_t BytesToBoolean(const std::uint8_t* bytes) {
  return BytesToCardinal(bytes) != kFalseWord ? 1 : 0;
}

std::uint32_t BytesToLongCard(const std::uint8_t* bytes) {
  return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) |
         (std::uint32_t{bytes[2]} << 8) | std::uint32_t{bytes[3]};
}

std::int32_t BytesToLongInt(const std::uint8_t* bytes) {
  return static_cast<std::int32_t>(BytesToLongCard(bytes));
}

void CardinalToBytes(std::uint16_t value, std::uint8_t* bytes) {
  CardinalToHighLow(value, bytes[0], bytes[1]);
}

void IntegerToBytes(std::int16_t value, std::uint8_t* bytes) {
  CardinalToBytes(static_cast<std::uint16_t>(value), bytes);
}

std::uint16_t BooleanToWord(std::uint8_t value) { return value != 0 ? kTrueWord : kFalseWord; }

void BooleanToBytes(std::uint8_t value, std::uint8_t* bytes) {
  CardinalToBytes(BooleanToWord(value), bytes);
}

void LongCardToBytes(std::uint32_t value, std::uint8_t* bytes) {
  bytes[0] = static_cast<std::uint8_t>(value >> 24);
  bytes[1] = static_cast<std::uint8_t>(value >> 16);
  bytes[2] = static_cast<std::uint8_t>(value >> 8);
  bytes[3] = static_cast<std::uint8_t>(value);
}

void LongIntToBytes(std::int32_t value, std::uint8_t* bytes) {
  LongCardToBytes(static_cast<std::uint32_t>(value), bytes);
}

double RealToDouble(const std::uint8_t* bytes) {
  return static_cast<double>(std::bit_cast<float>(BytesToLongCard(bytes)));
}

void DoubleToReal(double value, std::uint8_t* bytes) {
  constexpr std::uint32_t kQuietNaN = 0x7FC00000;
  constexpr std::uint32_t kPlusInfinity = 0x7F800000;
  constexpr std::uint32_t kMinusInfinity = 0xFF800000;
  // Halfway between the largest single (0x1.fffffep+127) and 2^128: from here on, rounding to
  // nearest (ties to even; the largest single's significand is odd) gives infinity. Converting
  // such a double to float directly is undefined in C++, so overflow is decided here.
  constexpr double kOverflowFrom = 0x1.ffffffp+127;
  std::uint32_t pattern;
  if (std::isnan(value)) {
    pattern = kQuietNaN;
  } else if (std::fabs(value) >= kOverflowFrom) {
    pattern = std::signbit(value) ? kMinusInfinity : kPlusInfinity;
  } else {
    pattern = std::bit_cast<std::uint32_t>(static_cast<float>(value));
  }
  LongCardToBytes(pattern, bytes);
}

void CardinalToHighLow(std::uint16_t word, std::uint8_t& high, std::uint8_t& low) {
  high = static_cast<std::uint8_t>(word >> 8);
  low = static_cast<std::uint8_t>(word);
}

std::uint16_t HighLowToCardinal(std::uint8_t high, std::uint8_t low) {
  return static_cast<std::uint16_t>((high << 8) | low);
}

char ByteToChar(std::uint8_t byte) { return static_cast<char>(byte); }

std::uint8_t CharToByte(char character) { return static_cast<std::uint8_t>(character); }

void BytesToChars(const std::uint8_t* bytes, std::size_t count, char* chars) {
  for (std::size_t i = 0; i < count; ++i) chars[i] = ByteToChar(bytes[i]);
}

}  // namespace controller
