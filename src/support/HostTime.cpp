// The base run time's date-time conversions between RTime and the compact date-time.
#include "support/HostTime.h"

#include <stdexcept>
#include <string>

namespace morvit::hosttime {
namespace {

// Widths of the Date word's fields: year offset 7 bits, month 4 bits, day 5 bits.
constexpr unsigned kYearShift = 9;
constexpr unsigned kMonthShift = 5;
constexpr unsigned kYearOffsetMax = 0x7F;
constexpr unsigned kMonthMax = 0x0F;
constexpr unsigned kDayMax = 0x1F;
constexpr unsigned kWordMax = 0xFFFF;

constexpr unsigned kCenturyStart = 2000;
constexpr unsigned kPreviousCenturyStart = 1900;
constexpr unsigned kMinutesPerHour = 60;
constexpr unsigned kMillisecondsPerSecond = 1000;

[[noreturn]] void ThrowOutOfRange(const char* field, unsigned value) {
  throw std::out_of_range(std::string("date-time field out of range for the compact form: ") +
                          field + " " + std::to_string(value));
}

// `value` if it is at most `max`; otherwise the field does not fit and packing fails.
unsigned Fitting(unsigned value, unsigned max, const char* field) {
  if (value > max) ThrowOutOfRange(field, value);
  return value;
}

}  // namespace

CompactDateTime PackDateTime(const RTime& time) {
  const unsigned year = time.year;
  if (year < kPreviousCenturyStart) ThrowOutOfRange("year", year);
  const unsigned offset =
      Fitting(year - (year >= kCenturyStart ? kCenturyStart : kPreviousCenturyStart),
              kYearOffsetMax, "year");
  const unsigned month = Fitting(time.month, kMonthMax, "month");
  const unsigned day = Fitting(time.day, kDayMax, "day");
  const unsigned minutes =
      Fitting(unsigned{time.hour} * kMinutesPerHour + time.minute, kWordMax, "hour and minute");
  const unsigned milliseconds =
      Fitting(unsigned{time.second} * kMillisecondsPerSecond + time.millisecond, kWordMax,
              "second and millisecond");
  return CompactDateTime{
      static_cast<std::uint16_t>((offset << kYearShift) | (month << kMonthShift) | day),
      static_cast<std::uint16_t>(minutes), static_cast<std::uint16_t>(milliseconds)};
}

RTime UnpackDateTime(const CompactDateTime& packed) {
  const unsigned offset = packed.date >> kYearShift;
  const unsigned century =
      packed.date < kDateCenturyThreshold ? kCenturyStart : kPreviousCenturyStart;
  RTime time{};
  time.year = static_cast<std::uint16_t>(century + offset);
  time.month = static_cast<std::uint16_t>((packed.date >> kMonthShift) & kMonthMax);
  time.day = static_cast<std::uint16_t>(packed.date & kDayMax);
  time.hour = static_cast<std::uint16_t>(packed.time / kMinutesPerHour);
  time.minute = static_cast<std::uint16_t>(packed.time % kMinutesPerHour);
  time.second = static_cast<std::uint16_t>(packed.milliSec / kMillisecondsPerSecond);
  time.millisecond = static_cast<std::uint16_t>(packed.milliSec % kMillisecondsPerSecond);
  return time;
}

}  // namespace morvit::hosttime
