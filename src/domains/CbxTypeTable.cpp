// The element-type table of the decoder-table domains, as data.
#include "domains/CbxTypeTable.h"

#include <iterator>

namespace morvit {

namespace {

// Terminals of all element types: per address type a run of this table, names in byte order.
constexpr CbxTerminal kTerminals[] = {
    // 0 DAT(B)
    {"VALID", 0, 0x60, 1, 2},
    {"VALUE", 16, 0xE0, 10, 1},
    {"VALUE10", 25, 0xE0, 10, 1},
    {"VALUE11", 26, 0xE0, 10, 1},
    {"VALUE12", 27, 0xE0, 10, 1},
    {"VALUE13", 28, 0xE0, 10, 1},
    {"VALUE14", 29, 0xE0, 10, 1},
    {"VALUE15", 30, 0xE0, 10, 1},
    {"VALUE16", 31, 0xE0, 10, 1},
    {"VALUE17", 32, 0xE0, 10, 1},
    {"VALUE18", 33, 0xE0, 10, 1},
    {"VALUE19", 34, 0xE0, 10, 1},
    {"VALUE2", 17, 0xE0, 10, 1},
    {"VALUE20", 35, 0xE0, 10, 1},
    {"VALUE21", 36, 0xE0, 10, 1},
    {"VALUE22", 37, 0xE0, 10, 1},
    {"VALUE23", 38, 0xE0, 10, 1},
    {"VALUE24", 39, 0xE0, 10, 1},
    {"VALUE25", 40, 0xE0, 10, 1},
    {"VALUE26", 41, 0xE0, 10, 1},
    {"VALUE27", 42, 0xE0, 10, 1},
    {"VALUE28", 43, 0xE0, 10, 1},
    {"VALUE29", 44, 0xE0, 10, 1},
    {"VALUE3", 18, 0xE0, 10, 1},
    {"VALUE30", 45, 0xE0, 10, 1},
    {"VALUE31", 46, 0xE0, 10, 1},
    {"VALUE32", 47, 0xE0, 10, 1},
    {"VALUE4", 19, 0xE0, 10, 1},
    {"VALUE5", 20, 0xE0, 10, 1},
    {"VALUE6", 21, 0xE0, 10, 1},
    {"VALUE7", 22, 0xE0, 10, 1},
    {"VALUE8", 23, 0xE0, 10, 1},
    {"VALUE9", 24, 0xE0, 10, 1},
    // 1 DAT(I)
    {"VALID", 0, 0x60, 1, 2},
    {"VALUE", 2, 0xE0, 2, 2},
    // 2 DAT(II)
    {"SCA_FTR", 0, 0x00, 8, 2},
    {"SCA_FTR2", 0, 0x00, 8, 2},
    {"VALID", 0, 0x60, 1, 2},
    {"VALUE", 2, 0xE0, 2, 2},
    {"VALUE2", 4, 0xE0, 2, 2},
    // 3 DAT(IL)
    {"VALID", 0, 0x60, 1, 2},
    {"VALUE", 2, 0xE0, 3, 4},
    // 4 DAT(R)
    {"VALID", 0, 0x60, 1, 2},
    {"VALUE", 2, 0xE0, 4, 4},
    // 5 DAT(NI)
    {"VALID", 0, 0x60, 1, 2},
    {"VALUE", 2, 0xE0, 3, 4},
    // 6 DATS(NI)
    {"SCA_FTR", 0, 0x00, 8, 2},
    {"VALUE", 0, 0x60, 2, 2},
    // 7 PARDAT(B)
    {"INIVAL", 0, 0x00, 10, 1},
    {"INIVAL10", 9, 0x80, 10, 1},
    {"INIVAL11", 10, 0x80, 10, 1},
    {"INIVAL12", 11, 0x80, 10, 1},
    {"INIVAL13", 12, 0x80, 10, 1},
    {"INIVAL14", 13, 0x80, 10, 1},
    {"INIVAL15", 14, 0x80, 10, 1},
    {"INIVAL16", 15, 0x80, 10, 1},
    {"INIVAL17", 16, 0x80, 10, 1},
    {"INIVAL18", 17, 0x80, 10, 1},
    {"INIVAL19", 18, 0x80, 10, 1},
    {"INIVAL2", 1, 0x80, 10, 1},
    {"INIVAL20", 19, 0x80, 10, 1},
    {"INIVAL21", 20, 0x80, 10, 1},
    {"INIVAL22", 21, 0x80, 10, 1},
    {"INIVAL23", 22, 0x80, 10, 1},
    {"INIVAL24", 23, 0x80, 10, 1},
    {"INIVAL25", 24, 0x80, 10, 1},
    {"INIVAL26", 25, 0x80, 10, 1},
    {"INIVAL27", 26, 0x80, 10, 1},
    {"INIVAL28", 27, 0x80, 10, 1},
    {"INIVAL29", 28, 0x80, 10, 1},
    {"INIVAL3", 2, 0x80, 10, 1},
    {"INIVAL30", 29, 0x80, 10, 1},
    {"INIVAL31", 30, 0x80, 10, 1},
    {"INIVAL32", 31, 0x80, 10, 1},
    {"INIVAL4", 3, 0x80, 10, 1},
    {"INIVAL5", 4, 0x80, 10, 1},
    {"INIVAL6", 5, 0x80, 10, 1},
    {"INIVAL7", 6, 0x80, 10, 1},
    {"INIVAL8", 7, 0x80, 10, 1},
    {"INIVAL9", 8, 0x80, 10, 1},
    {"VALUE", 0, 0x60, 10, 1},
    {"VALUE10", 9, 0xE0, 10, 1},
    {"VALUE11", 10, 0xE0, 10, 1},
    {"VALUE12", 11, 0xE0, 10, 1},
    {"VALUE13", 12, 0xE0, 10, 1},
    {"VALUE14", 13, 0xE0, 10, 1},
    {"VALUE15", 14, 0xE0, 10, 1},
    {"VALUE16", 15, 0xE0, 10, 1},
    {"VALUE17", 16, 0xE0, 10, 1},
    {"VALUE18", 17, 0xE0, 10, 1},
    {"VALUE19", 18, 0xE0, 10, 1},
    {"VALUE2", 1, 0xE0, 10, 1},
    {"VALUE20", 19, 0xE0, 10, 1},
    {"VALUE21", 20, 0xE0, 10, 1},
    {"VALUE22", 21, 0xE0, 10, 1},
    {"VALUE23", 22, 0xE0, 10, 1},
    {"VALUE24", 23, 0xE0, 10, 1},
    {"VALUE25", 24, 0xE0, 10, 1},
    {"VALUE26", 25, 0xE0, 10, 1},
    {"VALUE27", 26, 0xE0, 10, 1},
    {"VALUE28", 27, 0xE0, 10, 1},
    {"VALUE29", 28, 0xE0, 10, 1},
    {"VALUE3", 2, 0xE0, 10, 1},
    {"VALUE30", 29, 0xE0, 10, 1},
    {"VALUE31", 30, 0xE0, 10, 1},
    {"VALUE32", 31, 0xE0, 10, 1},
    {"VALUE4", 3, 0xE0, 10, 1},
    {"VALUE5", 4, 0xE0, 10, 1},
    {"VALUE6", 5, 0xE0, 10, 1},
    {"VALUE7", 6, 0xE0, 10, 1},
    {"VALUE8", 7, 0xE0, 10, 1},
    {"VALUE9", 8, 0xE0, 10, 1},
    // 8 PARDAT(NB)
    {"VALUE", 0, 0x60, 3, 4},
    // 9 PARDATS(NB)
    {"INIT_VAL", 0, 0x00, 10, 1},
    {"VALUE", 0, 0x60, 10, 1},
    // 10 PARDAT(I)
    {"INIT_VAL", 0, 0x00, 2, 2},
    {"VALUE", 0, 0x60, 2, 2},
    // 11 PARDAT(NI)
    {"VALUE", 0, 0x60, 3, 4},
    // 12 PARDATS(NI)
    {"INIT_VAL", 0, 0x00, 2, 2},
    {"VALUE", 0, 0x60, 2, 2},
    // 13 PARDAT(II)
    {"INITVAL2", 2, 0x80, 2, 2},
    {"INIT_VAL", 0, 0x00, 2, 2},
    {"VALUE", 0, 0x60, 2, 2},
    {"VALUE2", 2, 0xE0, 2, 2},
    // 14 PARDAT(IL)
    {"INIT_VAL", 0, 0x00, 3, 4},
    {"VALUE", 0, 0x60, 3, 4},
    // 15 PARDAT(R)
    {"INIT_VAL", 0, 0x00, 4, 4},
    {"VALUE", 0, 0x60, 4, 4},
};

// Address types of all element types: code, first terminal, terminal count.
constexpr CbxAddressType kAddressTypes[] = {
    {1, 0, 33},   // DAT(B)
    {1, 33, 2},   // DAT(I)
    {0, 35, 2},   // DAT(II)
    {1, 37, 3},   // DAT(II)
    {1, 40, 2},   // DAT(IL)
    {1, 42, 2},   // DAT(R)
    {1, 44, 2},   // DAT(NI)
    {0, 46, 1},   // DATS(NI)
    {1, 47, 1},   // DATS(NI)
    {7, 48, 32},  // PARDAT(B)
    {5, 80, 32},  // PARDAT(B)
    {5, 112, 1},  // PARDAT(NB)
    {8, 113, 1},  // PARDATS(NB)
    {6, 114, 1},  // PARDATS(NB)
    {7, 115, 1},  // PARDAT(I)
    {5, 116, 1},  // PARDAT(I)
    {5, 117, 1},  // PARDAT(NI)
    {7, 118, 1},  // PARDATS(NI)
    {5, 119, 1},  // PARDATS(NI)
    {7, 120, 2},  // PARDAT(II)
    {5, 122, 2},  // PARDAT(II)
    {7, 124, 1},  // PARDAT(IL)
    {5, 125, 1},  // PARDAT(IL)
    {7, 126, 1},  // PARDAT(R)
    {5, 127, 1},  // PARDAT(R)
};

// The element types: name, item designation, first address type, address type count.
constexpr CbxElementType kElementTypes[] = {
    {"DAT(B)", "DAT#", 0, 1},      {"DAT(I)", "DAT#", 1, 1},     {"DAT(II)", "DAT#", 2, 2},
    {"DAT(IL)", "DAT#", 4, 1},     {"DAT(R)", "DAT#", 5, 1},     {"DAT(NI)", "DAT#", 6, 1},
    {"DATS(NI)", "DAT#", 7, 2},    {"PARDAT(B)", "PD#", 9, 2},   {"PARDAT(NB)", "PD#", 11, 1},
    {"PARDATS(NB)", "PD#", 12, 2}, {"PARDAT(I)", "PD#", 14, 2},  {"PARDAT(NI)", "PD#", 16, 1},
    {"PARDATS(NI)", "PD#", 17, 2}, {"PARDAT(II)", "PD#", 19, 2}, {"PARDAT(IL)", "PD#", 21, 2},
    {"PARDAT(R)", "PD#", 23, 2},
};

static_assert(std::size(kElementTypes) == kCbxElementTypeCount);

constexpr std::uint16_t EntrySize(std::size_t t) {
  std::uint32_t size = kEntryBaseSize;
  const CbxElementType& type = kElementTypes[t];
  for (std::size_t a = 0; a < type.addressTypeCount; ++a) {
    size +=
        kAddressTypeSize + kTerminalSize * kAddressTypes[type.firstAddressType + a].terminalCount;
  }
  return static_cast<std::uint16_t>(size);
}

constexpr std::uint32_t TableSize(std::size_t first, std::size_t end) {
  std::uint32_t size = 0;
  for (std::size_t t = first; t < end; ++t) size += EntrySize(t);
  return size;
}

// The DAT types' decoder table (CbD) and the PARDAT types' (CbP).
static_assert(TableSize(0, 7) == 932 && TableSize(7, 16) == 1472);
// An element record has room for two enumeration texts.
constexpr bool EnumTextsFitTheRecord() {
  for (const CbxAddressType& a : kAddressTypes) {
    if (a.code == kEnumTextsAddress && a.terminalCount > kMaxEnumTexts) return false;
  }
  return true;
}
static_assert(EnumTextsFitTheRecord());
static_assert(EntrySize(0) == 498 && EntrySize(7) == 936 && EntrySize(13) == 96);

}  // namespace

const CbxElementType& CbxType(std::size_t t) { return kElementTypes[t]; }

std::span<const CbxAddressType> CbxAddressTypes(std::size_t t) {
  return {kAddressTypes + kElementTypes[t].firstAddressType, kElementTypes[t].addressTypeCount};
}

std::span<const CbxTerminal> CbxTerminals(const CbxAddressType& addressType) {
  return {kTerminals + addressType.firstTerminal, addressType.terminalCount};
}

std::uint16_t CbxEntrySize(std::size_t t) { return EntrySize(t); }

const CbxAreaLabels& CbxArea(std::uint8_t code) {
  static constexpr CbxAreaLabels kAreas[] = {
      {"ByteOffsetInCOLO", "Bit-OffsetInCOLO"},
      {"ByteOffsetInCOLE", "Bit-OffsetInCOLE"},
      {"ByteOffsetInCOPM", "Bit-OffsetInCOPM"},
      {"ByteOffsetInCODA", "Bit-OffsetInCODA"},
  };
  return kAreas[(code - 1) / 2];
}

}  // namespace morvit
