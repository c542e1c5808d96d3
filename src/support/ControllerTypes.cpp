// The controller real (format code 3): IEEE 754 single precision, most significant byte first,
// to and from the host's double.
#include "support/ControllerTypes.h"

#include <bit>
#include <cmath>
#include <limits>

namespace morvit::controller {

static_assert(std::numeric_limits<float>::is_iec559 && sizeof(float) == kLongSize,
              "the controller real is carried in the host's IEEE 754 single");

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

}  // namespace morvit::controller
