// The element-code name tables inside the library: the public lookups, and the table entry
// that the listing turns into an element line's label.
#ifndef MORVIT_DUMP_NAMETABLES_H
#define MORVIT_DUMP_NAMETABLES_H

#include <cstdint>

#include "morvit/VNameTables.h"

namespace morvit {

// The entry that names `code`: function-block table, then order table, else the entry of
// "Typcode FB" (label width 20).
const VNameEntry& ElementNameEntry(std::uint16_t code);

}  // namespace morvit

#endif  // MORVIT_DUMP_NAMETABLES_H
