// The controller's value encodings: the only code that knows byte order. Every multi-byte value
// of a domain file is stored most significant byte first; these conversions turn such bytes into
// host values and back, and the controller's 4-byte real into a double and back.
#ifndef MORVIT_SUPPORT_CONTROLLERTYPES_H
#define MORVIT_SUPPORT_CONTROLLERTYPES_H

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace morvit {

// None of these conversions checks bounds: each reads or writes exactly the byte count in its
// name at the pointer it is given, which must have that many bytes. Checked readers (VMotorolaIO,
// the dump) make sure of that before they call them.
namespace controller {

inline constexpr std::size_t kWordSize = 2;  // cardinal, integer, boolean
inline constexpr std::size_t kLongSize = 4;  // long cardinal, long integer, real

// Format code of the controller real: IEEE 754 single precision, most significant byte first.
inline constexpr int kRealFormatIeeeSingle = 3;

// The 16-bit words that stand for the truth values; any non-zero word reads as true.
inline constexpr std::uint16_t kFalseWord = 0x0000;
inline constexpr std::uint16_t kTrueWord = 0x0001;

// A 16-bit word's high byte and low byte, and the word of a high and a low byte.
inline void CardinalToHighLow(std::uint16_t word, std::uint8_t& high, std::uint8_t& low) {
  high = static_cast<std::uint8_t>(word >> 8);
  low = static_cast<std::uint8_t>(word);
}
inline std::uint16_t HighLowToCardinal(std::uint8_t high, std::uint8_t low) {
  return static_cast<std::uint16_t>((high << 8) | low);
}

// Two bytes to a host value (integer: two's complement).
inline std::uint16_t BytesToCardinal(const std::uint8_t* bytes) {
  return HighLowToCardinal(bytes[0], bytes[1]);
}
inline std::int16_t BytesToInteger(const std::uint8_t* bytes) {
  return static_cast<std::int16_t>(BytesToCardinal(bytes));
}
// 1 for any non-zero word, 0 for the zero word.
inline std::uint8_t BytesToBoolean(const std::uint8_t* bytes) {
  return BytesToCardinal(bytes) != kFalseWord ? 1 : 0;
}

// Four bytes to a host value (long integer: two's complement).
inline std::uint32_t BytesToLongCard(const std::uint8_t* bytes) {
  return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) |
         (std::uint32_t{bytes[2]} << 8) | std::uint32_t{bytes[3]};
}
inline std::int32_t BytesToLongInt(const std::uint8_t* bytes) {
  return static_cast<std::int32_t>(BytesToLongCard(bytes));
}

// A host value to two bytes.
inline void CardinalToBytes(std::uint16_t value, std::uint8_t* bytes) {
  CardinalToHighLow(value, bytes[0], bytes[1]);
}
inline void IntegerToBytes(std::int16_t value, std::uint8_t* bytes) {
  CardinalToBytes(static_cast<std::uint16_t>(value), bytes);
}
// The word that stands for `value`: kTrueWord for any non-zero value, kFalseWord for 0.
inline std::uint16_t BooleanToWord(std::uint8_t value) {
  return value != 0 ? kTrueWord : kFalseWord;
}
inline void BooleanToBytes(std::uint8_t value, std::uint8_t* bytes) {
  CardinalToBytes(BooleanToWord(value), bytes);
}

// A host value to four bytes.
inline void LongCardToBytes(std::uint32_t value, std::uint8_t* bytes) {
  bytes[0] = static_cast<std::uint8_t>(value >> 24);
  bytes[1] = static_cast<std::uint8_t>(value >> 16);
  bytes[2] = static_cast<std::uint8_t>(value >> 8);
  bytes[3] = static_cast<std::uint8_t>(value);
}
inline void LongIntToBytes(std::int32_t value, std::uint8_t* bytes) {
  LongCardToBytes(static_cast<std::uint32_t>(value), bytes);
}

// The controller real (format code 3) in its four file bytes, to a double. Every single-precision
// value, including infinities and NaN, is exact as a double.
double RealToDouble(const std::uint8_t* bytes);
// A double to the controller real's four file bytes. Rounding and range:
// - finite values round to the nearest single-precision value, ties to even;
// - values whose magnitude rounds beyond the largest single (3.4028235e38) become infinity of
//   their sign, as IEEE 754 overflow does; infinities stay infinities;
// - values too small for a normal single become subnormal singles or a zero of their sign;
// - every NaN becomes the quiet NaN 0x7FC00000 (payload and sign are not kept).
void DoubleToReal(double value, std::uint8_t* bytes);

// Values of the tables the host side writes (the dump's data and move tables), stored in the
// host's own byte order.
inline std::uint16_t HostBytesToCardinal(const std::uint8_t* bytes) {
  std::uint16_t value;
  std::memcpy(&value, bytes, sizeof value);
  return value;
}
inline std::uint32_t HostBytesToLongCard(const std::uint8_t* bytes) {
  std::uint32_t value;
  std::memcpy(&value, bytes, sizeof value);
  return value;
}

// Bytes and characters: the same 8 bits, no code-page translation.
inline char ByteToChar(std::uint8_t byte) { return static_cast<char>(byte); }
inline std::uint8_t CharToByte(char character) { return static_cast<std::uint8_t>(character); }
inline void BytesToChars(const std::uint8_t* bytes, std::size_t count, char* chars) {
  for (std::size_t i = 0; i < count; ++i) chars[i] = ByteToChar(bytes[i]);
}

}  // namespace controller

}  // namespace morvit

#endif  // MORVIT_SUPPORT_CONTROLLERTYPES_H
