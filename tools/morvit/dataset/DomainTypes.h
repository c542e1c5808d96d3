// The domain types the site knows by name: type number, name, the two-character code of their
// data-set names and the area of the controller's data they belong to.
#ifndef MORVIT_TOOL_DOMAINTYPES_H
#define MORVIT_TOOL_DOMAINTYPES_H

#include <cstdint>
#include <string>

namespace morvit::tool {

// The three areas a data set holds, as the back-translation runs take them apart.
enum class DomainArea { node, configuration, program };

struct DomainType {
  std::uint16_t number;
  const char* name;
  const char* code;  // places 0 and 1 of the data-set name
  DomainArea area;
};

// The type of a number, or null for one this tool does not know.
const DomainType* FindDomainType(std::uint16_t number);
// The type of a data-set name's two-character code, or null.
const DomainType* FindDomainTypeByCode(const std::string& code);

const char* AreaName(DomainArea area);

}  // namespace morvit::tool

#endif  // MORVIT_TOOL_DOMAINTYPES_H
