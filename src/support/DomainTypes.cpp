// The table of domain types and the data-set name rule's parser: the one list of what types a
// data set may hold, read by the library, its runs and every command of the tool.
#include <algorithm>
#include <cctype>
#include <iterator>

#include "morvit/VDataSet.h"

namespace morvit {
namespace {

using enum VDomainArea;
using enum VPartNaming;

// In ascending type order. Codes are two letters or digits, unique, never "PL" (the dump's PC
// data tables). Node: the node descriptions and their file lists. Configuration: what the
// database run reads and the configuration data around it. Program: a PC program's resource and
// tasks, its texts and basic objects. The scope of a task's domains (TADE, PODE, POBA) is the
// task; the compressed types spread one imploded stream over parts; the decoder tables continue
// over files of their own.
constexpr VDomainType kTypes[] = {
    {1, "CN", "CNOD", node, single, true},
    {3, "NB", "NOBA", program, split, true},
    {17, "CA", "CODA", configuration, single, false},
    {18, "CC", "CODC", configuration, single, false},
    {19, "CL", "COLO", configuration, single, false},
    {20, "CE", "COLE", configuration, single, false},
    {22, "CY", "CODY", configuration, single, false},
    {23, "CU", "CODU", configuration, single, false},
    {26, "CI", "COIO", configuration, single, false},
    {27, "CK", "COIC", configuration, single, false},
    {33, "RD", "REDE", program, single, false},
    {34, "RC", "REDC", program, single, false},
    {35, "RL", "RELO", program, single, false},
    {44, "RN", "RNOD", node, single, true},
    {46, "RB", "REBA", program, split, true},
    {49, "TD", "TADE", program, single, false},
    {65, "PD", "PODE", program, single, false},
    {66, "PC", "PODC", program, single, false},
    {67, "PO", "POLO", program, single, false},
    {70, "PY", "PODY", program, single, false},
    {71, "PU", "PODU", program, single, false},
    {74, "PF", "POFO", program, single, false},
    {78, "PB", "POBA", program, single, true},
    {96, "AI", "BAID", configuration, single, false},
    {97, "AO", "BAOD", configuration, single, false},
    {98, "DI", "BDID", configuration, single, false},
    {99, "DO", "BDOD", configuration, single, false},
    {100, "MB", "BMBD", configuration, single, false},
    {101, "MI", "BMID", configuration, single, false},
    {102, "ML", "BMLD", configuration, single, false},
    {103, "MR", "BMRD", configuration, single, false},
    {112, "BC", "BOBC", program, single, false},
    {114, "AD", "CbD", configuration, continued, true},
    {115, "AP", "CbP", configuration, continued, true},
    {116, "B1", "BOBA", program, split, true},
    {117, "B2", "BOBA", program, split, true},
    {118, "B3", "BOBA", program, split, true},
    {119, "XC", "XBFI", node, split, true},
    {120, "XR", "XBFI", node, split, true},
};

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

std::span<const VDomainType> VDomainTypes() { return morvit::kTypes; }

const VDomainType* VFindDomainType(std::uint16_t number) {
  const auto* found =
      std::lower_bound(std::begin(morvit::kTypes), std::end(morvit::kTypes), number,
                       [](const VDomainType& row, std::uint16_t n) { return row.number < n; });
  return found != std::end(morvit::kTypes) && found->number == number ? found : nullptr;
}

const VDomainType* VFindDomainTypeByCode(std::string_view code) {
  if (code.size() != 2) return nullptr;
  const char upper[2] = {morvit::Upper(code[0]), morvit::Upper(code[1])};
  for (const VDomainType& type : morvit::kTypes) {
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
