// The class listings as events: each writer in listing mode gives one field per value (a long
// or a real one field of two lines), with the value it was given, its bytes and its label; the
// first byte of a pair gives none; the date-time words are marked as time stamps.
#include <gtest/gtest.h>

#include <functional>
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

TEST(VMotorolaIOEvents, OneFieldPerValue) {
  struct Case {
    const char* name;
    std::function<void(VMotorolaIO&, CFile&)> write;
    const char* expected;
  };
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
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    VMotorolaIO::Reset();
    FieldOutline outline;
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

}  // namespace

}  // namespace morvit
