// Block codes that open and close domain sections, with the names under which the listing of a
// section shows them.
#ifndef MORVIT_DOMAINS_SECTIONCODES_H
#define MORVIT_DOMAINS_SECTIONCODES_H

#include <cstdint>

namespace morvit {

// The markers of the element and page-break sections.
inline constexpr std::uint16_t kElementStartCode = 0x1090;
inline constexpr std::uint16_t kElementEndCode = 0x1094;
inline constexpr std::uint16_t kPageBreakStartCode = 0x10A0;
inline constexpr std::uint16_t kPageBreakEndCode = 0x10A4;

// Label of a code that has no name of its own.
inline constexpr const char* kUnnamedSectionCode = "TypCode FB";

// The listing label of a section block code: its name, or "TypCode FB" for any other code.
const char* SectionCodeName(std::uint16_t code);

}  // namespace morvit

#endif  // MORVIT_DOMAINS_SECTIONCODES_H
