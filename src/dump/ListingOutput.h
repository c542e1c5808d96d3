// The writing end of the dump driver: text is gathered with right-aligned numbers in fields of a
// given width, and handed to the listing's sink as a field (the text gathered is that field's
// listing text) or as plain text, between structure events.
#ifndef MORVIT_DUMP_LISTINGOUTPUT_H
#define MORVIT_DUMP_LISTINGOUTPUT_H

#include <cstdint>
#include <string>
#include <string_view>

#include "dump/ListingText.h"
#include "morvit/VListingEvents.h"

namespace morvit {

// Digits written backwards so that they end before `end`, hexadecimal in upper case; each
// returns where the digits (and a minus sign) start.
inline char* DecimalBefore(char* end, std::uint32_t value) {
  do {
    *--end = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  return end;
}

inline char* SignedBefore(char* end, std::int32_t value) {
  if (value >= 0) return DecimalBefore(end, static_cast<std::uint32_t>(value));
  char* start = DecimalBefore(end, 0u - static_cast<std::uint32_t>(value));
  *--start = '-';
  return start;
}

inline char* HexBefore(char* end, std::uint32_t value) {
  do {
    *--end = "0123456789ABCDEF"[value & 0xF];
    value >>= 4;
  } while (value != 0);
  return end;
}

class ListingOutput {
 public:
  explicit ListingOutput(morvit::VListingSink& sink);
  ListingOutput(const ListingOutput&) = delete;
  ListingOutput& operator=(const ListingOutput&) = delete;

  void Text(std::string_view text) { m_text->append(text); }
  void Char(char c) { m_text->push_back(c); }
  void Spaces(std::size_t count) { m_text->append(count, ' '); }
  void LineEnd() { m_text->push_back('\n'); }
  // Numbers right-aligned in `width` columns, space-filled; a wider number takes the room it
  // needs. Hexadecimal digits are upper case.
  void Unsigned(std::uint32_t value, unsigned width);
  void Signed(std::int32_t value, unsigned width);
  void Hex(std::uint32_t value, unsigned width);

  // Whether the sink takes events beyond the text (the text rendering takes the text alone).
  bool WantsEvents() const { return m_direct == nullptr; }

  // Hands the text gathered to the sink as the text of `field`.
  void Field(morvit::VListingField field);
  // A column of a host-side table row: the text gathered becomes the field of `width` bytes
  // at `offset` of the table file, a number in the host's byte order.
  void Column(std::int64_t offset, const std::uint8_t* bytes, std::uint32_t width,
              std::uint32_t value, std::string_view label);
  // Hands the text gathered to the sink as plain text, then the event.
  void Begin(const morvit::VListingBegin& begin);
  // Hands the text gathered to the sink as plain text, then the value (a text rendering takes
  // no values).
  void Value(const morvit::VListingValue& value);
  // A truth value over the `width` bytes at `offset` (the row shows it as 'T' or 'F').
  void Flag(std::int64_t offset, std::uint32_t width, std::string_view label, bool on);
  void End(morvit::VListingPlace kind);
  void File(std::string_view name, std::uint32_t part, std::uint64_t size);
  void Stop(std::int64_t offset, std::string_view reason);
  // Why the listing stopped short, "" while it is whole.
  const std::string& StopReason() const { return m_stopReason; }
  // Hands the text gathered to the sink as plain text.
  void Flush() {
    if (m_direct != nullptr) {
      m_direct->Gathered();
    } else {
      FlushPending();
    }
  }

 private:
  void Digits(const char* digits, std::size_t count, unsigned width);
  void FlushPending();

  morvit::VListingSink& m_sink;
  std::string m_pending;
  std::string m_stopReason;
  // The text rendering takes only the text: it is gathered straight into the rendering's
  // buffer (m_text), and its fields and structure events, which it ignores, are not passed.
  ListingText* m_direct;
  std::string* m_text;
};

}  // namespace morvit

#endif  // MORVIT_DUMP_LISTINGOUTPUT_H
