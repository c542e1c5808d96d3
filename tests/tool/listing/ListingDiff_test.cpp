// The comparison of two listings, on trees built by hand: what pairs with what when elements
// are inserted, removed or changed, how labels pair within a place, and time stamps.
#include "listing/ListingDiff.h"

#include <gtest/gtest.h>

#include <span>
#include <string>
#include <vector>

namespace morvit {

namespace {

using morvit::VListingPlace;
using morvit::tool::CompareListings;
using morvit::tool::Difference;
using morvit::tool::DiffListing;
using morvit::tool::DiffListingBuilder;

// Builds a listing from events, as the library hands them over.
class Events {
 public:
  Events() : m_builder(m_listing) {}
  Events& Begin(VListingPlace kind, const char* name, std::int32_t code = -1,
                std::int64_t index = -1) {
    m_builder.Begin({kind, name, code, {}, index, m_offset});
    return *this;
  }
  Events& End(VListingPlace kind) {
    m_builder.End(kind);
    return *this;
  }
  Events& Word(const char* label, std::uint16_t word, bool timeStamp = false) {
    const std::uint8_t bytes[2] = {static_cast<std::uint8_t>(word >> 8),
                                   static_cast<std::uint8_t>(word)};
    morvit::VListingField field;
    field.offset = m_offset;
    field.width = 2;
    field.bytes = bytes;
    field.number = word;
    field.label = label;
    field.timeStamp = timeStamp;
    m_builder.Field(field);
    m_offset += 2;
    return *this;
  }
  // A value over the last `words` words.
  Events& Value(const char* label, morvit::VValueKind kind, std::int64_t number,
                const char* text = "", int words = 1, double real = 0.0) {
    morvit::VListingValue value;
    value.offset = m_offset - 2 * words;
    value.width = 2 * static_cast<std::uint32_t>(words);
    value.kind = kind;
    value.label = label;
    value.number = number;
    value.text = text;
    value.real = real;
    m_builder.Value(value);
    return *this;
  }
  DiffListing Done() {
    m_builder.Finish();
    return std::move(m_listing);
  }

 private:
  DiffListing m_listing;
  DiffListingBuilder m_builder;
  std::int64_t m_offset = 0;
};

// A listing: a header with a version and a date, a section of elements (their words each).
DiffListing Listing(std::uint16_t version, std::uint16_t date,
                    const std::vector<std::vector<std::uint16_t>>& elements) {
  Events events;
  events.Begin(VListingPlace::header, "common header")
      .Word("Version", version)
      .Word("Date", date, true)
      .End(VListingPlace::header)
      .Begin(VListingPlace::section, "ElementStart");
  std::int64_t index = 0;
  for (const auto& words : elements) {
    events.Begin(VListingPlace::element, "", 46, index++);
    for (const std::uint16_t word : words) events.Word("", word);
    events.End(VListingPlace::element);
  }
  return events.End(VListingPlace::section).Done();
}

// Each difference as "kind place [label] a->b" (the sides as they read).
std::string Outline(const std::vector<Difference>& differences) {
  std::string text;
  for (const Difference& d : differences) {
    text += d.kind == Difference::Kind::changed ? "~ "
            : d.kind == Difference::Kind::added ? "+ "
                                                : "- ";
    text += d.place;
    if (!d.whole) {
      text += " [" + d.label + "] " + (d.a ? d.a->text : "") + "->" + (d.b ? d.b->text : "");
    }
    text += "\n";
  }
  return text;
}

// A listing compared with `base`, and the differences expected.
struct Case {
  const char* name;
  DiffListing other;
  bool noTimes;
  const char* expected;
};

void ExpectDifferences(const DiffListing& base, std::span<const Case> cases) {
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Outline(CompareListings(base, c.other, {c.noTimes})), c.expected);
  }
}

TEST(ListingDiff, PairsByPlaceNotByOffset) {
  const DiffListing base =
      Listing(0x0001, 0x3587, {{0x0001, 0x0010}, {0x0003, 0x0030}, {0x0004, 0x0040}});
  const Case cases[] = {
      {"equal", Listing(0x0001, 0x3587, {{0x0001, 0x0010}, {0x0003, 0x0030}, {0x0004, 0x0040}}),
       false, ""},
      {"inserted in the middle",
       Listing(0x0001, 0x3587,
               {{0x0001, 0x0010}, {0x0002, 0x0020}, {0x0003, 0x0030}, {0x0004, 0x0040}}),
       false, "+ section ElementStart > element 46 #1\n"},
      {"removed at the front", Listing(0x0001, 0x3587, {{0x0003, 0x0030}, {0x0004, 0x0040}}), false,
       "- section ElementStart > element 46 #0\n"},
      {"one value changed, one inserted before it",
       Listing(0x0001, 0x3587,
               {{0x0001, 0x0010}, {0x0002, 0x0020}, {0x0003, 0x0031}, {0x0004, 0x0040}}),
       false,
       "+ section ElementStart > element 46 #1\n"
       "~ section ElementStart > element 46 #2 [] 48 (0030)->49 (0031)\n"},
      {"all different", Listing(0x0001, 0x3587, {{0x0009, 0x0090}}), false,
       "- section ElementStart > element 46 #0\n- section ElementStart > element 46 #1\n"
       "- section ElementStart > element 46 #2\n+ section ElementStart > element 46 #0\n"},
      {"words inserted into an element",
       Listing(0x0001, 0x3587,
               {{0x0001, 0x0010}, {0x0003, 0x00aa, 0x00bb, 0x0030}, {0x0004, 0x0040}}),
       false,
       "+ section ElementStart > element 46 #1 [] ->170 (00aa)\n"
       "+ section ElementStart > element 46 #1 [] ->187 (00bb)\n"},
      {"time stamp only",
       Listing(0x0001, 0x3588, {{0x0001, 0x0010}, {0x0003, 0x0030}, {0x0004, 0x0040}}), false,
       "~ header common header [Date] 13703 (3587)->13704 (3588)\n"},
      {"time stamp ignored",
       Listing(0x0002, 0x3588, {{0x0001, 0x0010}, {0x0003, 0x0030}, {0x0004, 0x0040}}), true,
       "~ header common header [Version] 1 (0001)->2 (0002)\n"},
  };
  ExpectDifferences(base, cases);
}

// Within a place fields align by label and bytes; between aligned ones the n-th field of a
// label pairs with the n-th of that label; a label that only one side has is a field added or
// removed.
TEST(ListingDiff, FieldsPairByLabelAndOrder) {
  DiffListing a = Events().Word("Spare", 0).Word("Spare", 1).Word("Old", 5).Done();
  DiffListing b = Events().Word("New", 7).Word("Spare", 0).Word("Spare", 2).Done();
  EXPECT_EQ(Outline(CompareListings(a, b, {})),
            "+  [New] ->7 (0007)\n~  [Spare] 1 (0001)->2 (0002)\n-  [Old] 5 (0005)->\n");
}

// Where the layout gives words a value, the value is compared and shown, and the words it
// covers are not shown again; an element with a key is named by its key and name.
TEST(ListingDiff, ValuesNameTheirPlaceAndCoverTheirWords) {
  using morvit::VValueKind;
  const auto entry = [](std::uint16_t valueA, const char* name, double real, std::uint16_t stamp) {
    return Events()
        .Begin(VListingPlace::header, "common header")
        .Word("Date", stamp, true)
        .Value("Date", VValueKind::dateTime, 0, stamp == 1 ? "2026-01-01" : "2026-01-02")
        .End(VListingPlace::header)
        .Begin(VListingPlace::section, "ElementStart")
        .Begin(VListingPlace::element, "", 46, 0)
        .Word("", 1234)
        .Value("key", VValueKind::key, 1234)
        .Word("", valueA)
        .Value("value A", VValueKind::number, valueA)
        .Word("", real == 42.0 ? 0x4228 : 0x422e)  // the real's bytes
        .Word("", 0)
        .Value("gain", VValueKind::real, 0, "", 2, real)
        .Word("", 7)
        .Word("", static_cast<std::uint16_t>(name[0] << 8))
        .Value("name", VValueKind::name, 0, name, 2)
        .End(VListingPlace::element)
        .End(VListingPlace::section)
        .Done();
  };
  const DiffListing base = entry(42, "P", 42.0, 1);
  const Case cases[] = {
      {"a number", entry(43, "P", 42.0, 1), false, "~ entry 1234 \"P\" [value A] 42->43\n"},
      {"a real", entry(42, "P", 43.5, 1), false, "~ entry 1234 \"P\" [gain] 42.0->43.5\n"},
      {"the name, named by the new one", entry(42, "Q", 42.0, 1), false,
       "~ entry 1234 \"Q\" [name] \"P\"->\"Q\"\n"},
      {"a date", entry(42, "P", 42.0, 2), false,
       "~ header common header [Date] 2026-01-01->2026-01-02\n"},
      {"a date ignored", entry(42, "P", 42.0, 2), true, ""},
  };
  ExpectDifferences(base, cases);
}

}  // namespace

}  // namespace morvit
