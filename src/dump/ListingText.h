// The text and number output of the dump driver: strings, right-aligned decimal and
// hexadecimal numbers in fields of a given width, and line ends, gathered in memory and
// written to the listing file in large pieces.
#ifndef MORVIT_DUMP_LISTINGTEXT_H
#define MORVIT_DUMP_LISTINGTEXT_H

#include <cstdint>
#include <string>
#include <string_view>

#include "morvit/platform.h"

class ListingText {
 public:
  // Writes to `file`, which stays the caller's.
  explicit ListingText(CFile& file);
  ListingText(const ListingText&) = delete;
  ListingText& operator=(const ListingText&) = delete;
  // Writes what is still gathered; a failure here cannot be reported, so callers Flush first.
  ~ListingText();

  void Text(std::string_view text) { m_buffer.append(text); }
  void Char(char c) { m_buffer.push_back(c); }
  void Spaces(std::size_t count) { m_buffer.append(count, ' '); }
  void LineEnd();
  // Numbers right-aligned in `width` columns, space-filled; a wider number takes the room it
  // needs. Hexadecimal digits are upper case.
  void Unsigned(std::uint32_t value, unsigned width);
  void Signed(std::int32_t value, unsigned width);
  void Hex(std::uint32_t value, unsigned width);

  // Hands everything gathered to the file.
  void Flush();

 private:
  void Digits(const char* digits, std::size_t count, unsigned width);

  CFile& m_file;
  std::string m_buffer;
};

#endif  // MORVIT_DUMP_LISTINGTEXT_H
