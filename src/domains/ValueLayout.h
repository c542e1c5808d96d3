// What the bytes of an element mean, described once as data: a table of items (label and
// encoding) that a listing reads back from the element to tell each item's value beside the
// element's words. The words themselves are listed as they are; the values only add meaning.
#ifndef MORVIT_DOMAINS_VALUELAYOUT_H
#define MORVIT_DOMAINS_VALUELAYOUT_H

#include <cstdint>
#include <span>

#include "morvit/platform.h"

namespace morvit {

enum class ValueEncoding : std::uint8_t {
  Cardinal,  // 16-bit unsigned number
  Integer,   // 16-bit signed number
  LongInt,   // 32-bit signed number over two words
  LongCard,  // 32-bit unsigned number over two words
  Real,      // the controller's 32-bit real
  Boolean,   // a 16-bit truth word
  BString,   // 16-bit length, the characters, a pad byte to an even position
  Terminal,  // a type code and the value of the kind it names
  Key,       // the element's key: a 16-bit unsigned number
  Name,      // the element's name: a BString
};

struct ValueItem {
  const char* label;
  ValueEncoding encoding;
};

// How an element of a section reads: its first items once, then its repeated items for as long
// as bytes remain (parts added to the element later).
struct ElementValueLayout {
  std::span<const ValueItem> first;
  std::span<const ValueItem> repeated;
};

// Tells the listing's sink the values of `element` (read from its start) whose bytes stand in
// the file from `offset` on. An element that ends inside an item tells the items before it.
void ListElementValues(CFile& element, const ElementValueLayout& layout, std::int64_t offset);

}  // namespace morvit

#endif  // MORVIT_DOMAINS_VALUELAYOUT_H
