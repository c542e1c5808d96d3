// The names of the target-code element codes: the function-block table (function-block types
// and the structural markers of a program) and the order table (orders that move data between
// the controller's areas). These are the names the dump gives the element lines of a listing;
// a client (the command-line tool, for one) uses them to name an element code.
//
// Element codes are multiples of 4. The two tables have no code in common. A code is looked up
// in the function-block table first, then in the order table; a code in neither is named
// "Typcode FB".
#ifndef MORVIT_VNAMETABLES_H
#define MORVIT_VNAMETABLES_H

#include <cstdint>
#include <span>
#include <string>

#include "morvit/platform.h"

namespace morvit {

// One entry of a name table. In a listing the name stands in a label of `labelWidth`
// characters, filled up with `labelFill` (space for all but one name, which a tab follows).
struct VNameEntry {
  std::uint16_t code;
  const char* name;
  std::uint8_t labelWidth = 20;
  char labelFill = ' ';
};

// The name of a function-block code, or null when the code is not in that table.
MORVIT_API const char* FunctionBlockName(std::uint16_t code);
// The name of an order code, or null when the code is not in that table.
MORVIT_API const char* OrderName(std::uint16_t code);
// The name of any element code: the function-block name, else the order name, else
// "Typcode FB". Never null.
MORVIT_API const char* ElementName(std::uint16_t code);
// The element code's name as a listing label: padded to its width ("Typcode FB" to 20).
MORVIT_API std::string ElementLabel(std::uint16_t code);

// The whole tables, in ascending code order (164 and 246 entries).
MORVIT_API std::span<const VNameEntry> FunctionBlockNameTable();
MORVIT_API std::span<const VNameEntry> OrderNameTable();

}  // namespace morvit

#endif  // MORVIT_VNAMETABLES_H
