// The table of domain types and the data-set name rule's parser: the one list of what types a
// data set may hold, read by the library, its runs and every command of the tool.
#include "support/DomainTypes.h"

#include <algorithm>
#include <cctype>
#include <iterator>

namespace morvit {
namespace {

char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

bool Digits(std::string_view text, std::uint16_t& value) {
  value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
    value = static_cast<std::uint16_t>(value * 10 + (c - '0'));
  }
  return true;
}

}  // namespace
}  // namespace morvit

std::span<const VDomainType> VDomainTypes() { return morvit::kDomainTypes; }

const VDomainType* VFindDomainType(std::uint16_t number) {
  const auto* found =
      std::lower_bound(std::begin(morvit::kDomainTypes), std::end(morvit::kDomainTypes), number,
                       [](const VDomainType& row, std::uint16_t n) { return row.number < n; });
  return found != std::end(morvit::kDomainTypes) && found->number == number ? found : nullptr;
}

const VDomainType* VFindDomainTypeByCode(std::string_view code) {
  if (code.size() != 2) return nullptr;
  const char upper[2] = {morvit::Upper(code[0]), morvit::Upper(code[1])};
  for (const VDomainType& type : morvit::kDomainTypes) {
    if (type.code[0] == upper[0] && type.code[1] == upper[1]) return &type;
  }
  return nullptr;
}

const char* VDomainAreaName(VDomainArea area) {
  switch (area) {
    case VDomainArea::node:
      return "node";
    case VDomainArea::configuration:
      return "configuration";
    case VDomainArea::program:
      return "program";
  }
  return "program";
}

std::optional<VDataSetName> VParseDataSetName(std::string_view name) {
  if (name.size() != 12 || name[8] != '.' || morvit::Upper(name[9]) != 'C') return std::nullopt;
  VDataSetName parsed;
  for (int i = 0; i < 2; ++i) {
    if (!std::isalnum(static_cast<unsigned char>(name[i]))) return std::nullopt;
    parsed.code[i] = morvit::Upper(name[i]);
  }
  if (!morvit::Digits(name.substr(2, 2), parsed.scope) ||
      !morvit::Digits(name.substr(4, 4), parsed.version) ||
      !morvit::Digits(name.substr(10, 2), parsed.object)) {
    return std::nullopt;
  }
  parsed.type = VFindDomainTypeByCode(std::string_view(parsed.code, 2));
  return parsed;
}
