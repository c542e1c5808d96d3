// The CODE listing's reading of a decoder-table body: the entries of the decoder table and the
// element descriptions as elements with their values, and damaged bodies (sizes past the end,
// names longer than their description, unknown types) read no further than their bytes.
#include "dump/CodeValues.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace morvit {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Big-endian words, then characters zero-filled to `width` bytes.
Bytes& Words(Bytes& b, std::initializer_list<std::uint16_t> words) {
  for (const std::uint16_t w : words) {
    b.push_back(static_cast<std::uint8_t>(w >> 8));
    b.push_back(static_cast<std::uint8_t>(w));
  }
  return b;
}
Bytes& Chars(Bytes& b, const std::string& text, std::size_t width) {
  for (std::size_t i = 0; i < width; ++i) b.push_back(i < text.size() ? text[i] : 0);
  return b;
}

// A first file: its headers, the decoder header pointing at one DAT(I) entry (one address
// type, two terminals) and at the descriptions, which follow.
Bytes FirstFile() {
  Bytes b(50, 0);
  Words(b, {62, 126, 0x0100, 1, 0xFFFF, 0xFFFF});
  Words(b, {2, 64, 0});
  Chars(b, "DAT(I)", 12);
  Chars(b, "DAT#", 8);
  Words(b, {0xFFFF, 0xFFFF, 0xFFFF, 0x0101, 0xFFFF});
  for (const char* name : {"VALID", "VALUE"}) Chars(Words(b, {0x6000, 0x0102, 0xFFFF}), name, 8);
  return b;
}

// A description: size, type, name length, the name padded to even, then `tail` words.
Bytes& Description(Bytes& b, std::uint16_t size, std::uint16_t type, const std::string& name,
                   std::initializer_list<std::uint16_t> tail, std::uint16_t nameLength = 0) {
  Words(b, {size, type, nameLength != 0 ? nameLength : static_cast<std::uint16_t>(name.size())});
  Chars(b, name, (name.size() + 1) / 2 * 2);
  return Words(b, tail);
}

std::string Outline(const std::vector<PlannedEvent>& events) {
  std::string out;
  for (const PlannedEvent& e : events) {
    out += std::to_string(e.at) + " ";
    if (e.kind == PlannedEvent::Kind::begin) {
      out += "begin " + std::to_string(e.begin.code) + " " + std::string(e.begin.codeName) + " #" +
             std::to_string(e.begin.index) + " @" + std::to_string(e.begin.offset);
    } else if (e.kind == PlannedEvent::Kind::end) {
      out += "end";
    } else {
      out += std::string(e.value.label) + "@" + std::to_string(e.value.offset) + "+" +
             std::to_string(e.value.width) + " = " + std::to_string(e.value.number) + " '" +
             std::string(e.value.text) + "'";
    }
    out += "\n";
  }
  return out;
}

constexpr const char* kEntry =
    "31 begin 2 DAT(I) #0 @62\n"
    "32 TypeOfElement@62+2 = 2 'DAT(I)'\n"
    "40 ElementType@68+12 = 0 'DAT(I)'\n"
    "44 ItemDesignation@80+8 = 0 'DAT#'\n"
    "48 AddrType@94+1 = 1 'byte offset in COLO'\n"
    "56 TerminalName@104+8 = 0 'VALID'\n"
    "63 TerminalName@118+8 = 0 'VALUE'\n"
    "63 end\n";

TEST(CodeValues, DecoderBodiesReadNoFurtherThanTheirBytes) {
  struct Row {
    const char* name;
    Bytes bytes;
    bool firstFile;
    std::string expected;
  };
  Bytes whole = FirstFile();
  Description(whole, 14, 2, "LEVEL", {16});
  Bytes cut = FirstFile();
  Description(cut, 40, 2, "LEVEL", {16});  // its size reaches past the end
  Bytes longName = FirstFile();
  Description(longName, 14, 2, "LEVEL", {16}, 30);
  Bytes unknownType = FirstFile();
  Description(unknownType, 14, 99, "LEVEL", {16});
  Bytes tableAfterEnd = FirstFile();
  tableAfterEnd[51] = 200;
  Bytes further(24, 0);
  // A DAT(II): its two enumeration texts (a length byte, the characters, a pad byte to an even
  // place), then its byte offset in COLO.
  Description(further, 16, 3, "AB", {0x0241, 0x4200, 0x0143, 0x0007});
  const Row rows[] = {
      {"an entry and a description", whole, true,
       std::string(kEntry) + "63 begin 2 DAT(I) #0 @126\n"
                             "65 TypeOfElement@128+2 = 2 'DAT(I)'\n"
                             "69 name@132+5 = 0 'LEVEL'\n"
                             "70 ByteOffsetInCOLO@138+2 = 16 ''\n"
                             "70 end\n"},
      {"a description past the end", cut, true, kEntry},
      {"a name past its description", longName, true, kEntry},
      {"a type outside the table", unknownType, true,
       std::string(kEntry) + "63 begin 99  #0 @126\n"
                             "65 TypeOfElement@128+2 = 99 ''\n"
                             "69 name@132+5 = 0 'LEVEL'\n"
                             "70 end\n"},
      {"a decoder table past the end", tableAfterEnd, true, ""},
      {"a further file: descriptions after its headers", further, false,
       "12 begin 3 DAT(II) #0 @24\n"
       "14 TypeOfElement@26+2 = 3 'DAT(II)'\n"
       "16 name@30+2 = 0 'AB'\n"
       "18 Enum@32+3 = 0 'AB'\n"
       "19 Enum@36+2 = 0 'C'\n"
       "20 ByteOffsetInCOLO@38+2 = 7 ''\n"
       "20 end\n"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(Outline(PlanDecoderBody(row.bytes, row.firstFile)), row.expected);
  }
}

// What the header steps' words hold: a short-form date's year of two digits read as the long
// form reads its years, a flag's non-zero word as true, a 32-bit number signed, a code by name.
TEST(CodeValues, HeaderStepsByTheirMeaning) {
  using dumplayout::Meaning;
  struct Row {
    Meaning meaning;
    Bytes bytes;
    const char* expected;
  };
  const Row rows[] = {
      {Meaning::shortDate, {99, 12, 31, 23, 59, 58, 0x03, 0xE7}, "3 0 '1999-12-31 23:59:58.999'"},
      {Meaning::shortDate, {26, 1, 2, 3, 4, 5, 0, 0}, "3 0 '2026-01-02 03:04:05.000'"},
      {Meaning::flag, {0, 2}, "4 1 'true'"},
      {Meaning::longNumber, {0xFF, 0xFF, 0xFF, 0xFF}, "2 -1 ''"},
      {Meaning::code, {0, 24}, "6 24 'AND'"},
      {Meaning::name, {'N', '1', 0, 0}, "8 0 'N1' (4)"},
      {Meaning::key, {0x12, 0x34}, "7 4660 ''"},
  };
  for (const Row& row : rows) {
    VListingValue value;
    std::string text;
    ASSERT_TRUE(HeaderStepValue(row.meaning, row.bytes, 14, "Label   ", value, text));
    std::string outline = std::to_string(static_cast<int>(value.kind)) + " " +
                          std::to_string(value.number) + " '" + std::string(value.text) + "'";
    if (value.length >= 0) outline += " (" + std::to_string(value.length) + ")";
    EXPECT_EQ(outline, row.expected);
    EXPECT_EQ(value.label, "Label");
    EXPECT_EQ(value.offset, 14);
    EXPECT_EQ(value.width, row.bytes.size());
  }
}

}  // namespace
}  // namespace morvit
