// The comparison of two listings, on trees built by hand: what pairs with what when elements
// are inserted, removed or changed, how labels pair within a place, and time stamps.
#include "listing/ListingDiff.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace morvit {

namespace {

using morvit::VListingPlace;
using morvit::tool::CompareListings;
using morvit::tool::Difference;
using morvit::tool::DiffField;
using morvit::tool::DiffListing;
using morvit::tool::DiffNode;

DiffField Word(const std::string& label, const std::string& hex, bool timeStamp = false) {
  DiffField field;
  field.width = 2;
  field.hex = hex;
  field.value = std::to_string(std::stoul(hex, nullptr, 16));
  field.label = label;
  field.timeStamp = timeStamp;
  return field;
}

// A content hash as the collector makes it is all the alignment looks at; a stand-in does.
std::uint64_t Hash(const DiffNode& node) {
  std::uint64_t hash = static_cast<std::uint64_t>(node.code) * 31;
  for (const DiffField& field : node.fields) {
    if (!field.timeStamp) hash = hash * 131 + std::hash<std::string>{}(field.label + field.hex);
  }
  for (const DiffNode& child : node.children) hash = hash * 137 + child.hash;
  return hash;
}

// An element of code 46 with its words.
DiffNode Element(const std::vector<std::string>& words) {
  DiffNode node;
  node.kind = VListingPlace::element;
  node.code = 46;
  for (const std::string& word : words) node.fields.push_back(Word("", word));
  node.hash = Hash(node);
  return node;
}

// A listing: a header with a version and a date, a section of elements (their words each).
DiffListing Listing(const std::string& version, const std::string& date,
                    const std::vector<std::vector<std::string>>& elements) {
  DiffListing listing;
  DiffNode& header = listing.top.children.emplace_back();
  header.name = "common header";
  header.fields = {Word("Version", version), Word("Date", date, true)};
  header.hash = Hash(header);
  DiffNode& section = listing.top.children.emplace_back();
  section.kind = VListingPlace::section;
  section.name = "ElementStart";
  for (const auto& words : elements) section.children.push_back(Element(words));
  for (std::size_t i = 0; i < section.children.size(); ++i) {
    section.children[i].index = static_cast<std::int64_t>(i);
  }
  section.hash = Hash(section);
  listing.top.hash = Hash(listing.top);
  return listing;
}

// Each difference as "kind place label a->b".
std::string Outline(const std::vector<Difference>& differences) {
  std::string text;
  for (const Difference& d : differences) {
    text += d.kind == Difference::Kind::changed ? "~ "
            : d.kind == Difference::Kind::added ? "+ "
                                                : "- ";
    text += d.place;
    if (d.node == nullptr) {
      text += " [" + d.label + "] " + (d.a != nullptr ? d.a->hex : "") + "->" +
              (d.b != nullptr ? d.b->hex : "");
    }
    text += "\n";
  }
  return text;
}

TEST(ListingDiff, PairsByPlaceNotByOffset) {
  const DiffListing base =
      Listing("0001", "3587", {{"0001", "0010"}, {"0003", "0030"}, {"0004", "0040"}});
  struct Case {
    const char* name;
    DiffListing other;
    bool noTimes;
    const char* expected;
  };
  const Case cases[] = {
      {"equal", Listing("0001", "3587", {{"0001", "0010"}, {"0003", "0030"}, {"0004", "0040"}}),
       false, ""},
      {"inserted in the middle",
       Listing("0001", "3587",
               {{"0001", "0010"}, {"0002", "0020"}, {"0003", "0030"}, {"0004", "0040"}}),
       false, "+ section ElementStart > element 46 #1\n"},
      {"removed at the front", Listing("0001", "3587", {{"0003", "0030"}, {"0004", "0040"}}), false,
       "- section ElementStart > element 46 #0\n"},
      {"one value changed, one inserted before it",
       Listing("0001", "3587",
               {{"0001", "0010"}, {"0002", "0020"}, {"0003", "0031"}, {"0004", "0040"}}),
       false,
       "+ section ElementStart > element 46 #1\n"
       "~ section ElementStart > element 46 #2 [] 0030->0031\n"},
      {"all different", Listing("0001", "3587", {{"0009", "0090"}}), false,
       "- section ElementStart > element 46 #0\n- section ElementStart > element 46 #1\n"
       "- section ElementStart > element 46 #2\n+ section ElementStart > element 46 #0\n"},
      {"words inserted into an element",
       Listing("0001", "3587",
               {{"0001", "0010"}, {"0003", "00aa", "00bb", "0030"}, {"0004", "0040"}}),
       false,
       "+ section ElementStart > element 46 #1 [] ->00aa\n"
       "+ section ElementStart > element 46 #1 [] ->00bb\n"},
      {"time stamp only",
       Listing("0001", "3588", {{"0001", "0010"}, {"0003", "0030"}, {"0004", "0040"}}), false,
       "~ header common header [Date] 3587->3588\n"},
      {"time stamp ignored",
       Listing("0002", "3588", {{"0001", "0010"}, {"0003", "0030"}, {"0004", "0040"}}), true,
       "~ header common header [Version] 0001->0002\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Outline(CompareListings(base, c.other, {c.noTimes})), c.expected);
  }
}

// Within a place fields align by label and bytes; between aligned ones the n-th field of a
// label pairs with the n-th of that label; a label that only one side has is a field added or
// removed.
TEST(ListingDiff, FieldsPairByLabelAndOrder) {
  DiffListing a;
  a.top.fields = {Word("Spare", "0000"), Word("Spare", "0001"), Word("Old", "0005")};
  a.top.hash = 1;
  DiffListing b;
  b.top.fields = {Word("New", "0007"), Word("Spare", "0000"), Word("Spare", "0002")};
  b.top.hash = 2;
  EXPECT_EQ(Outline(CompareListings(a, b, {})),
            "+  [New] ->0007\n~  [Spare] 0001->0002\n-  [Old] 0005->\n");
}

}  // namespace

}  // namespace morvit
