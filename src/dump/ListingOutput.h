// The writing end of the dump driver: text is gathered with right-aligned numbers in fields of a
// given width, and handed to the listing's sink as a field (the text gathered is that field's
// listing text) or as plain text, between structure events.
#ifndef MORVIT_DUMP_LISTINGOUTPUT_H
#define MORVIT_DUMP_LISTINGOUTPUT_H

#include <cstdint>
#include <string>
#include <string_view>

#include "morvit/VListingEvents.h"

class ListingOutput {
 public:
  explicit ListingOutput(morvit::VListingSink& sink);
  ListingOutput(const ListingOutput&) = delete;
  ListingOutput& operator=(const ListingOutput&) = delete;

  void Text(std::string_view text) { m_pending.append(text); }
  void Char(char c) { m_pending.push_back(c); }
  void Spaces(std::size_t count) { m_pending.append(count, ' '); }
  void LineEnd() { m_pending.push_back('\n'); }
  // Numbers right-aligned in `width` columns, space-filled; a wider number takes the room it
  // needs. Hexadecimal digits are upper case.
  void Unsigned(std::uint32_t value, unsigned width);
  void Signed(std::int32_t value, unsigned width);
  void Hex(std::uint32_t value, unsigned width);

  // Hands the text gathered to the sink as the text of `field`.
  void Field(morvit::VListingField field);
  // A column of a host-side table row: the text gathered becomes the field of `width` bytes
  // at `offset` of the table file, a number in the host's byte order.
  void Column(std::int64_t offset, const std::uint8_t* bytes, std::uint32_t width,
              std::uint32_t value, std::string_view label);
  // Hands the text gathered to the sink as plain text, then the event.
  void Begin(const morvit::VListingBegin& begin);
  void End(morvit::VListingPlace kind);
  void File(std::string_view name, std::uint32_t part, std::uint64_t size);
  void Stop(std::int64_t offset, std::string_view reason);
  // Hands the text gathered to the sink as plain text.
  void Flush();

 private:
  void Digits(const char* digits, std::size_t count, unsigned width);

  morvit::VListingSink& m_sink;
  std::string m_pending;
};

#endif  // MORVIT_DUMP_LISTINGOUTPUT_H
