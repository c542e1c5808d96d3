// The table of named section block codes, kept sorted by code for a binary search.
#include "domains/SectionCodes.h"

#include <algorithm>
#include <iterator>

namespace morvit {

namespace {

struct NamedCode {
  std::uint16_t code;
  const char* name;
};

constexpr NamedCode kSectionCodes[] = {
    {0x0200, "Init COLO start"},   {0x0204, "MoveDconstToCOLO"}, {0x0208, "Init COLO end"},
    {0x0218, "ResourceInitStart"}, {0x0220, "ResourceInitEnd"},  {0x0230, "MoveWconstToPOLO"},
    {0x0234, "MoveDconstToPOLO"},  {0x0238, "ProgInitStart"},    {0x023C, "ProgInitEnd"},
    {0x0244, "PreProStart"},       {0x0258, "PreProEnd"},        {0x025C, "PrologStart"},
    {0x0288, "PrologEnd"},         {0x0344, "MoveWconstToCOLO"}, {0x0350, "Config HWInitStart"},
    {0x0354, "Config HWInitEnd"},  {0x03A8, "Init COLE start"},  {0x03B4, "Init COLE end"},
    {0x03B8, "MVI MoveStart"},     {0x03BC, "MVI MoveEnd"},      {0x0700, "HwInitJ260"},
    {0x1000, "EVS SendStart"},     {0x100C, "EVS SendEnd"},      {0x1010, "EVS TransStart"},
    {0x1018, "EVS TransEnd"},      {0x101C, "EVS CalcStart"},    {0x1028, "EVS CalcEnd"},
    {0x102C, "EVS MFBStart"},      {0x103C, "EVS MFBEnd"},       {0x1040, "Init COPM start"},
    {0x104C, "Init COPM end"},     {0x1050, "LN700 MoveStart"},  {0x1054, "LN700 MoveEnd"},
    {0x1090, "ElementStart"},      {0x1094, "ElementEnd"},       {0x1098, "PageBreakBlock"},
    {0x109C, "ElementBlock"},      {0x10A0, "PageBreakStart"},   {0x10A4, "PageBreakEnd"},
};

constexpr bool SortedByCode() {
  for (std::size_t i = 1; i < std::size(kSectionCodes); ++i) {
    if (kSectionCodes[i - 1].code >= kSectionCodes[i].code) return false;
  }
  return true;
}
static_assert(SortedByCode(), "the section code table must stay sorted for the search");

}  // namespace

const char* SectionCodeName(std::uint16_t code) {
  const auto* it =
      std::lower_bound(std::begin(kSectionCodes), std::end(kSectionCodes), code,
                       [](const NamedCode& entry, std::uint16_t c) { return entry.code < c; });
  if (it == std::end(kSectionCodes) || it->code != code) return kUnnamedSectionCode;
  return it->name;
}

}  // namespace morvit
