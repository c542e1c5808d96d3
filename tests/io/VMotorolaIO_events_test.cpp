// The class listings as events: each writer in listing mode gives one field per value (a long
// or a real one field of two lines), with the value it was given, its bytes and its label; the
// first byte of a pair gives none; the date-time words are marked as time stamps. Beside the
// fields, each item with a meaning gives one value over all its bytes.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <span>
#include <string>

#include "io/ListingEvents.h"
#include "morvit/VMotorolaIO.h"

namespace morvit {

namespace {

class FieldOutline : public morvit::VListingSink {
 public:
  void Field(const morvit::VListingField& field) override {
    std::string hex;
    for (std::uint32_t i = 0; i < field.width; ++i) {
      char digits[3];
      std::snprintf(digits, sizeof digits, "%02x", field.bytes[i]);
      hex += digits;
    }
    const auto lines = std::count(field.text.begin(), field.text.end(), '\n');
    text += std::to_string(field.offset) + " " + hex + " " +
            std::to_string(static_cast<int>(field.kind)) + " " +
            (field.kind == morvit::VFieldKind::real ? std::to_string(field.real)
                                                    : std::to_string(field.number)) +
            " " + std::string(field.label) + (field.timeStamp ? " time" : "") + " lines " +
            std::to_string(lines) + "\n";
  }
  std::string text;
};

// What each case writes in listing mode, and what `Outline` (a sink) makes of its events.
struct Case {
  const char* name;
  std::function<void(VMotorolaIO&, CFile&)> write;
  const char* expected;
};

template <class Outline>
void ExpectListed(std::span<const Case> cases) {
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    VMotorolaIO::Reset();
    Outline outline;
    CMemFile file;
    {
      const events::SinkScope scope(outline);
      VMotorolaIO io;
      c.write(io, file);
    }
    EXPECT_EQ(outline.text, c.expected);
  }
  VMotorolaIO::Reset();
}

TEST(VMotorolaIOEvents, OneFieldPerValue) {
  const Case cases[] = {
      {"cardinal", [](VMotorolaIO& io, CFile& f) { io.WriteCardinal(f, 0x1234, 1, "A  "); },
       "0 1234 0 4660 A lines 1\n"},
      {"integer", [](VMotorolaIO& io, CFile& f) { io.WriteInteger(f, -2, 1, "I"); },
       "0 fffe 1 -2 I lines 1\n"},
      {"long", [](VMotorolaIO& io, CFile& f) { io.WriteLongCard(f, 0x12345678, 1, "L"); },
       "0 12345678 2 305419896 L lines 2\n"},
      {"real keeps its own bytes", [](VMotorolaIO& io, CFile& f) { io.WriteReal(f, -2.5, 1, "R"); },
       "0 c0200000 4 -2.500000 R lines 2\n"},
      {"byte pair",
       [](VMotorolaIO& io, CFile& f) {
         io.WriteByte(f, 0x12, 1, "first");
         io.WriteByte(f, 0x34, 1, "second");
       },
       "0 1234 0 4660 second lines 1\n"},
      {"date-time",
       [](VMotorolaIO& io, CFile& f) {
         io.WriteRTime(f, {2026, 12, 7, 8, 30, 0, 0}, 1, nullptr, 0);
       },
       "0 3587 0 13703 Date time lines 1\n2 01fe 0 510 Time time lines 1\n"
       "4 0000 0 0 MilliSec time lines 1\n"},
      {"data mode says nothing", [](VMotorolaIO& io, CFile& f) { io.WriteCardinal(f, 1, 0, "A"); },
       ""},
  };
  ExpectListed<FieldOutline>(cases);
}

// Values as "offset width kind label = value (length)", one line each.
class ValueOutline : public morvit::VListingSink {
 public:
  void Value(const morvit::VListingValue& value) override {
    text += std::to_string(value.offset) + " " + std::to_string(value.width) + " " +
            std::to_string(static_cast<int>(value.kind)) + " " + std::string(value.label) + " = " +
            (value.kind == morvit::VValueKind::real ? std::to_string(value.real)
                                                    : std::to_string(value.number)) +
            " '" + std::string(value.text) + "'" +
            (value.length >= 0 ? " (" + std::to_string(value.length) + ")" : "") +
            (value.timeStamp ? " time" : "") + "\n";
  }
  std::string text;
};

TBATerminal Terminal(std::int32_t code, double real = 0.0, const char* text = "") {
  TBATerminal terminal{};
  terminal.typeCode = code;
  if (code == 3) std::memcpy(terminal.value.bytes, &real, sizeof real);
  if (code == 4) {
    terminal.length = static_cast<std::uint16_t>(std::strlen(text));
    std::memcpy(terminal.value.bytes, text, terminal.length);
  }
  return terminal;
}

// Kinds: 0 text, 1 real, 2 number, 3 dateTime, 4 boolean. A value spans all the bytes of its
// item (a BString's length word and pad byte, a terminal value's type code), and is told once.
TEST(VMotorolaIOEvents, OneValuePerItem) {
  const Case cases[] = {
      {"BString with its pad",
       [](VMotorolaIO& io, CFile& f) { io.WriteBString(f, 3, "ABC", 1, "T"); },
       "0 6 0 T = 0 'ABC' (3)\n"},
      {"zero-filled text",
       [](VMotorolaIO& io, CFile& f) { io.WriteString(f, 4, "AB\0\0", 0, 1, "Name"); },
       "0 4 0 Name = 0 'AB' (4)\n"},
      {"real", [](VMotorolaIO& io, CFile& f) { io.WriteReal(f, -2.5, 1, "R"); },
       "0 4 1 R = -2.500000 ''\n"},
      {"long", [](VMotorolaIO& io, CFile& f) { io.WriteLongInt(f, -70000, 1, "L"); },
       "0 4 2 L = -70000 ''\n"},
      {"boolean", [](VMotorolaIO& io, CFile& f) { io.WriteBoolean(f, 1, 1, "B"); },
       "0 2 4 B = 1 'true'\n"},
      {"date-time",
       [](VMotorolaIO& io, CFile& f) {
         io.WriteRTime(f, {2026, 12, 7, 8, 30, 5, 250}, 1, nullptr, 0);
       },
       "0 6 3 Date = 0 '2026-12-07 08:30:05.250' time\n"},
      {"terminal real",
       [](VMotorolaIO& io, CFile& f) { io.WriteTerminalValue(f, Terminal(3, 43.5), 1, "V"); },
       "0 2 5 TypeInfo = 3 'real'\n0 6 1 V = 43.500000 ''\n"},
      {"terminal text",
       [](VMotorolaIO& io, CFile& f) { io.WriteTerminalValue(f, Terminal(4, 0.0, "rpm"), 1, "V"); },
       "0 2 5 TypeInfo = 4 'BString'\n0 8 0 V = 0 'rpm' (3)\n"},
      {"terminal of an unknown type",
       [](VMotorolaIO& io, CFile& f) { io.WriteTerminalValue(f, Terminal(9), 1, "V"); },
       "0 2 2 TypeInfo = 9 ''\n"},
      {"data mode says nothing", [](VMotorolaIO& io, CFile& f) { io.WriteReal(f, 1.0, 0, "R"); },
       ""},
  };
  ExpectListed<ValueOutline>(cases);
}

}  // namespace

}  // namespace morvit
