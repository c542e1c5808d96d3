// Block codes that open and close domain sections, with the names under which the listing of a
// section shows them.
#ifndef MORVIT_DOMAINS_SECTIONCODES_H
#define MORVIT_DOMAINS_SECTIONCODES_H

#include <cstdint>

// Label of a code that has no name of its own.
inline constexpr const char* kUnnamedSectionCode = "TypCode FB";

// The listing label of a section block code: its name, or "TypCode FB" for any other code.
const char* SectionCodeName(std::uint16_t code);

#endif  // MORVIT_DOMAINS_SECTIONCODES_H
