// Filling the domains of a PC program from the writers' content: sections from element lists,
// single-record sections from their bytes, and the refusal of content that has no place in the
// format.
#ifndef MORVIT_DOMAINS_PROGRAMCONTENT_H
#define MORVIT_DOMAINS_PROGRAMCONTENT_H

#include <cstdint>
#include <string_view>
#include <vector>

#include "domains/VDomainSection.h"
#include "morvit/VProgramWriters.h"

namespace morvit {

// Refuses content that cannot make a valid file (cause invalidFile).
[[noreturn]] void RefuseContent();

// Refuses a text longer than its field.
void CheckFits(std::string_view text, std::size_t width);

// Appends one element per entry to the section and counts their blocks. An element longer than
// a block can carry, or one with the section's end code (a reader would end the section there
// and take the rest for the next section), is refused.
void FillSection(VDomainSection& section, const std::vector<VProgramElement>& elements);

// A single-record section (start code = end code): its one block carries `bytes`.
void FillRecord(VDomainSection& section, const std::vector<std::uint8_t>& bytes);

}  // namespace morvit

#endif  // MORVIT_DOMAINS_PROGRAMCONTENT_H
