// The base run time's date-time conversions: the seven-field RTime and the compact date-time
// (Date, Time, MilliSec) that domain files store in three 16-bit words.
#ifndef MORVIT_SUPPORT_HOSTTIME_H
#define MORVIT_SUPPORT_HOSTTIME_H

#include <cstdint>

#include "morvit/VBase.h"

namespace morvit {

// The compact date-time:
//   Date      bits 15..9 year offset (year - 2000 from 2000 on, year - 1900 before),
//             bits 8..5 month, bits 4..0 day;
//   Time      minutes since midnight (hour * 60 + minute);
//   MilliSec  milliseconds within the minute (second * 1000 + millisecond).
struct CompactDateTime {
  std::uint16_t date;
  std::uint16_t time;
  std::uint16_t milliSec;
};

namespace hosttime {

// A Date word below this (year offset below 90) is a year from 2000 on; at or above it, a year
// of the 1900s.
inline constexpr std::uint16_t kDateCenturyThreshold = 46080;

// Packs `time`. Every field must fit its place: year 1900 to 2127 (year offsets 0 to 127),
// month up to 15, day up to 31, hour * 60 + minute and second * 1000 + millisecond up to 65535.
// A field that does not fit raises std::out_of_range rather than being cut to its width.
// What UnpackDateTime yields packs back to the same three words, except Date words with a year
// offset above 99 (which unpack to 2000 to 2027 and pack back with offsets 0 to 27).
CompactDateTime PackDateTime(const RTime& time);

// Unpacks the three words; the year by the century threshold above.
RTime UnpackDateTime(const CompactDateTime& packed);

}  // namespace hosttime

}  // namespace morvit

#endif  // MORVIT_SUPPORT_HOSTTIME_H
