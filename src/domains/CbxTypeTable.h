// The element-type table of the decoder-table domains (CbD, CbP): for each of the 16 element
// types its name, item designation, address types and terminals. The domains write it as the
// decoder table at the head of their first file, and it fixes which fields an element
// description carries.
#ifndef MORVIT_DOMAINS_CBXTYPETABLE_H
#define MORVIT_DOMAINS_CBXTYPETABLE_H

#include <cstddef>
#include <cstdint>
#include <span>

namespace morvit {

struct CbxTerminal {
  const char* name;  // written as 8 bytes
  std::uint8_t number;
  std::uint8_t flags;  // bits 7, 6 and 5
  std::uint8_t dataType;
  std::uint8_t dataLength;  // bytes
};

// Address type codes: 0 the enumeration texts (one per terminal), 1 to 8 the byte offset (odd
// codes) or the byte and bit offsets (even codes) in COLO, COLE, COPM, CODA in turn.
struct CbxAddressType {
  std::uint8_t code;
  std::uint16_t firstTerminal;
  std::uint16_t terminalCount;
};

struct CbxElementType {
  const char* name;             // "DAT(B)" ...; written as 12 bytes
  const char* itemDesignation;  // written as 8 bytes
  std::uint16_t firstAddressType;
  std::uint16_t addressTypeCount;
};

inline constexpr std::size_t kCbxElementTypeCount = 16;
// A CbD declares the DAT types 0 to 6, a CbP the PARDAT types from 7 on.
inline constexpr std::size_t kCbxFirstPardatType = 7;
inline constexpr std::uint8_t kEnumTextsAddress = 0;
// Most enumeration texts an element description carries (the record has room for two).
inline constexpr std::size_t kMaxEnumTexts = 2;

// Decoder-table entry: TypeOfElement, SizeOfEntry, NoOfAddressTypes-1 (2 each), ElementType
// (12), ItemDesignation (8), three reserved words; per address type: code and terminals - 1
// (1 + 1), a reserved word; per terminal: flags and number (1 + 1), data type and length
// (1 + 1), a reserved word, the name (8).
inline constexpr std::uint16_t kEntryBaseSize = 2 + 2 + 2 + 12 + 8 + 3 * 2;
inline constexpr std::uint16_t kAddressTypeSize = 1 + 1 + 2;
inline constexpr std::uint16_t kTerminalSize = 1 + 1 + 1 + 1 + 2 + 8;
static_assert(kEntryBaseSize == 32 && kAddressTypeSize == 4 && kTerminalSize == 14);
inline constexpr std::uint16_t kElementTypeNameWidth = 12;
inline constexpr std::uint16_t kItemDesignationWidth = 8;
inline constexpr std::uint16_t kTerminalNameWidth = 8;

// Address codes 1 to 8 name the areas COLO, COLE, COPM, CODA in pairs: an odd code carries the
// area's byte offset, an even code its byte and bit offsets. Their labels; the highest code.
inline constexpr std::uint8_t kLastAddressCode = 8;
struct CbxAreaLabels {
  const char* byteLabel;
  const char* bitLabel;
};
const CbxAreaLabels& CbxArea(std::uint8_t code);
inline bool CbxCarriesBitOffset(std::uint8_t code) { return code % 2 == 0; }

// Row t (0 to 15) of the table.
const CbxElementType& CbxType(std::size_t t);
std::span<const CbxAddressType> CbxAddressTypes(std::size_t t);
std::span<const CbxTerminal> CbxTerminals(const CbxAddressType& addressType);
// The decoder-table entry size of element type t.
std::uint16_t CbxEntrySize(std::size_t t);

}  // namespace morvit

#endif  // MORVIT_DOMAINS_CBXTYPETABLE_H
