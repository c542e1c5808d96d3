// The element of a domain section as the writers of other tools' domains take it: its block
// code and its bytes (big-endian domain data, at most 65531 bytes), as the database receives
// them on back-translation.
#ifndef MORVIT_VSECTIONELEMENT_H
#define MORVIT_VSECTIONELEMENT_H

#include <cstdint>
#include <vector>

struct VSectionElement {
  std::uint16_t code = 0;
  std::vector<std::uint8_t> bytes;
};

#endif  // MORVIT_VSECTIONELEMENT_H
