// The one table of domain types (public through morvit/VDataSet.h) and the type number of a
// data-set code at compile time: the library's code names a type by its code, never by a number
// of its own.
#ifndef MORVIT_SUPPORT_DOMAINTYPES_H
#define MORVIT_SUPPORT_DOMAINTYPES_H

#include <cstdint>
#include <string_view>

#include "morvit/VDataSet.h"

namespace morvit {

// In ascending type order. Codes are two letters or digits, unique, never "PL" (the dump's PC
// data tables). Node: the node descriptions and their file lists. Configuration: what the
// database run reads and the configuration data around it. Program: a PC program's resource and
// tasks, its texts and basic objects. The scope of a task's domains (TADE, PODE, POBA) is the
// task; the compressed types spread one imploded stream over parts; the decoder tables continue
// over files of their own.
inline constexpr VDomainType kDomainTypes[] = {
    {1, "CN", "CNOD", VDomainArea::node, VPartNaming::single, true},
    {3, "NB", "NOBA", VDomainArea::program, VPartNaming::split, true},
    {17, "CA", "CODA", VDomainArea::configuration, VPartNaming::single, false},
    {18, "CC", "CODC", VDomainArea::configuration, VPartNaming::single, false},
    {19, "CL", "COLO", VDomainArea::configuration, VPartNaming::single, false},
    {20, "CE", "COLE", VDomainArea::configuration, VPartNaming::single, false},
    {22, "CY", "CODY", VDomainArea::configuration, VPartNaming::single, false},
    {23, "CU", "CODU", VDomainArea::configuration, VPartNaming::single, false},
    {26, "CI", "COIO", VDomainArea::configuration, VPartNaming::single, false},
    {27, "CK", "COIC", VDomainArea::configuration, VPartNaming::single, false},
    {33, "RD", "REDE", VDomainArea::program, VPartNaming::single, false},
    {34, "RC", "REDC", VDomainArea::program, VPartNaming::single, false},
    {35, "RL", "RELO", VDomainArea::program, VPartNaming::single, false},
    {44, "RN", "RNOD", VDomainArea::node, VPartNaming::single, true},
    {46, "RB", "REBA", VDomainArea::program, VPartNaming::split, true},
    {49, "TD", "TADE", VDomainArea::program, VPartNaming::single, false},
    {65, "PD", "PODE", VDomainArea::program, VPartNaming::single, false},
    {66, "PC", "PODC", VDomainArea::program, VPartNaming::single, false},
    {67, "PO", "POLO", VDomainArea::program, VPartNaming::single, false},
    {70, "PY", "PODY", VDomainArea::program, VPartNaming::single, false},
    {71, "PU", "PODU", VDomainArea::program, VPartNaming::single, false},
    {74, "PF", "POFO", VDomainArea::program, VPartNaming::single, false},
    {78, "PB", "POBA", VDomainArea::program, VPartNaming::single, true},
    {96, "AI", "BAID", VDomainArea::configuration, VPartNaming::single, false},
    {97, "AO", "BAOD", VDomainArea::configuration, VPartNaming::single, false},
    {98, "DI", "BDID", VDomainArea::configuration, VPartNaming::single, false},
    {99, "DO", "BDOD", VDomainArea::configuration, VPartNaming::single, false},
    {100, "MB", "BMBD", VDomainArea::configuration, VPartNaming::single, false},
    {101, "MI", "BMID", VDomainArea::configuration, VPartNaming::single, false},
    {102, "ML", "BMLD", VDomainArea::configuration, VPartNaming::single, false},
    {103, "MR", "BMRD", VDomainArea::configuration, VPartNaming::single, false},
    {112, "BC", "BOBC", VDomainArea::program, VPartNaming::single, false},
    {114, "AD", "CbD", VDomainArea::configuration, VPartNaming::continued, true},
    {115, "AP", "CbP", VDomainArea::configuration, VPartNaming::continued, true},
    {116, "B1", "BOBA", VDomainArea::program, VPartNaming::split, true},
    {117, "B2", "BOBA", VDomainArea::program, VPartNaming::split, true},
    {118, "B3", "BOBA", VDomainArea::program, VPartNaming::split, true},
    {119, "XC", "XBFI", VDomainArea::node, VPartNaming::split, true},
    {120, "XR", "XBFI", VDomainArea::node, VPartNaming::split, true},
};

// The type number of the two-character data-set code `code` ("RB" gives 46); a code of no type
// does not compile.
consteval std::uint16_t DomainTypeOf(std::string_view code) {
  for (const VDomainType& type : kDomainTypes) {
    if (code == std::string_view(type.code, 2)) return type.number;
  }
  throw "no domain type has this code";
}

}  // namespace morvit

#endif  // MORVIT_SUPPORT_DOMAINTYPES_H
