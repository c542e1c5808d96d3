// Domain type numbers of the configuration domains, shared by their writers and the database
// back-translation.
#ifndef MORVIT_DOMAINS_CONFIGDOMAINTYPES_H
#define MORVIT_DOMAINS_CONFIGDOMAINTYPES_H

#include <cstdint>

namespace morvit {

inline constexpr std::uint16_t kCodaType = 17;
inline constexpr std::uint16_t kCoioType = 26;
inline constexpr std::uint16_t kFirstBxdType = 96;
inline constexpr std::uint16_t kLastBxdType = 103;
inline constexpr std::uint16_t kCbdType = 114;
inline constexpr std::uint16_t kCbpType = 115;

}  // namespace morvit

#endif  // MORVIT_DOMAINS_CONFIGDOMAINTYPES_H
