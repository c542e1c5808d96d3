// The domain type table of the site: numbers, names and data-set codes as the data-set names
// use them (README, "Data-set names"), and the area each type belongs to.
#include "dataset/DomainTypes.h"

#include <algorithm>
#include <iterator>

namespace morvit::tool {
namespace {

using enum DomainArea;

// Node: the node descriptions, their file lists. Configuration: what the database run reads and
// the configuration data around it. Program: a PC program's resource and tasks, its texts and
// basic objects.
constexpr DomainType kTypes[] = {
    {1, "CNOD", "CN", node},
    {3, "NOBA", "NB", program},
    {17, "CODA", "CA", configuration},
    {18, "CODC", "CC", configuration},
    {19, "COLO", "CL", configuration},
    {20, "COLE", "CE", configuration},
    {22, "CODY", "CY", configuration},
    {23, "CODU", "CU", configuration},
    {26, "COIO", "CI", configuration},
    {27, "COIC", "CK", configuration},
    {33, "REDE", "RD", program},
    {34, "REDC", "RC", program},
    {35, "RELO", "RL", program},
    {44, "RNOD", "RN", node},
    {46, "REBA", "RB", program},
    {49, "TADE", "TD", program},
    {65, "PODE", "PD", program},
    {66, "PODC", "PC", program},
    {67, "POLO", "PO", program},
    {70, "PODY", "PY", program},
    {71, "PODU", "PU", program},
    {74, "POFO", "PF", program},
    {78, "POBA", "PB", program},
    {96, "BAID", "AI", configuration},
    {97, "BAOD", "AO", configuration},
    {98, "BDID", "DI", configuration},
    {99, "BDOD", "DO", configuration},
    {100, "BMBD", "MB", configuration},
    {101, "BMID", "MI", configuration},
    {102, "BMLD", "ML", configuration},
    {103, "BMRD", "MR", configuration},
    {112, "BOBC", "BC", program},
    {114, "CbD", "AD", configuration},
    {115, "CbP", "AP", configuration},
    {116, "BOBA", "B1", program},
    {117, "BOBA", "B2", program},
    {118, "BOBA", "B3", program},
    {119, "XBFI", "XC", node},
    {120, "XBFI", "XR", node},
};

}  // namespace

const DomainType* FindDomainType(std::uint16_t number) {
  const auto found =
      std::find_if(std::begin(kTypes), std::end(kTypes),
                   [number](const DomainType& type) { return type.number == number; });
  return found == std::end(kTypes) ? nullptr : found;
}

const DomainType* FindDomainTypeByCode(const std::string& code) {
  const auto found = std::find_if(std::begin(kTypes), std::end(kTypes),
                                  [&code](const DomainType& type) { return code == type.code; });
  return found == std::end(kTypes) ? nullptr : found;
}

const char* AreaName(DomainArea area) {
  switch (area) {
    case node:
      return "node";
    case configuration:
      return "configuration";
    case program:
      return "program";
  }
  return "program";
}

}  // namespace morvit::tool
