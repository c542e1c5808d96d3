// Domain type numbers of the configuration domains, shared by their writers and the database
// back-translation.
#ifndef MORVIT_DOMAINS_CONFIGDOMAINTYPES_H
#define MORVIT_DOMAINS_CONFIGDOMAINTYPES_H

#include <cstdint>

#include "support/DomainTypes.h"

namespace morvit {

inline constexpr std::uint16_t kCodaType = DomainTypeOf("CA");
inline constexpr std::uint16_t kCoioType = DomainTypeOf("CI");
inline constexpr std::uint16_t kFirstBxdType = DomainTypeOf("AI");  // BAID
inline constexpr std::uint16_t kLastBxdType = DomainTypeOf("MR");   // BMRD
inline constexpr std::uint16_t kCbdType = DomainTypeOf("AD");
inline constexpr std::uint16_t kCbpType = DomainTypeOf("AP");

}  // namespace morvit

#endif  // MORVIT_DOMAINS_CONFIGDOMAINTYPES_H
