// Comparing two domain listings in the terms of their layouts. Fields and values are matched by
// their place in the structure (header or section, element or row, label), not by byte offset:
// the elements and rows of a section or table are aligned by their content first, so an element
// inserted in the middle is one insertion and the elements after it still pair with their old
// selves. Where the layout gives fields a value (a text, a real, a key, a date), the value is
// compared and shown, not the words that hold it.
//
// A listing is kept compact (a field in 24 bytes, labels and names held once for the process),
// so that two domains of a million fields each compare in a small part of the memory their
// text listings would take.
#ifndef MORVIT_TOOL_LISTINGDIFF_H
#define MORVIT_TOOL_LISTINGDIFF_H

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "morvit/VListingEvents.h"

namespace morvit::tool {

// A label, a place's name or a code name, held once: the same text has the same number in
// every listing of the process.
std::uint32_t Intern(std::string_view text);
std::string_view Interned(std::uint32_t id);

// One field as the comparison keeps it: at most four bytes (the widest field listed).
struct DiffField {
  std::uint32_t offset = 0;
  std::uint32_t bytes = 0;  // the field's bytes, the first in the highest byte
  std::uint32_t label = 0;  // Intern
  std::uint8_t width = 0;
  VFieldKind kind = VFieldKind::word;
  bool timeStamp = false;
  std::int64_t number = 0;  // the value read; a real's as its bits
};

// One value as the comparison keeps it; its text in the listing's text store.
struct DiffValue {
  std::uint32_t offset = 0;
  std::uint32_t width = 0;
  std::uint32_t label = 0;  // Intern
  VValueKind kind = VValueKind::number;
  bool timeStamp = false;
  std::int64_t number = 0;  // a real's as its bits
  std::int64_t length = -1;
  std::uint32_t textAt = 0;
  std::uint32_t textLength = 0;
};

// A header, section, element, table or row of a listing with its fields, values and inner
// places.
struct DiffNode {
  VListingPlace kind = VListingPlace::header;
  std::int32_t code = -1;
  std::uint32_t name = 0;      // Intern
  std::uint32_t codeName = 0;  // Intern
  std::int64_t index = -1;
  std::int64_t offset = -1;
  // A place outside any other in a further part file listed on its own: its part number.
  std::uint32_t part = 0;
  std::vector<DiffField> fields;
  std::vector<DiffValue> values;
  std::vector<DiffNode> children;
  std::uint64_t hash = 0;  // of the content, for aligning elements and rows
};

// A listing read into nodes: the top node holds the fields and places outside any other.
struct DiffListing {
  std::string name;
  DiffNode top;
  std::string texts;   // the texts of the values, one after the other
  bool whole = false;  // false: the listing stopped short (`stop` says why)
  std::string stop;
};

// Gathers a listing's events into `listing`; each place's content hash is made when it ends.
class DiffListingBuilder : public VListingSink {
 public:
  explicit DiffListingBuilder(DiffListing& listing);
  void File(std::string_view name, std::uint32_t part, std::uint64_t size) override;
  void Begin(const VListingBegin& begin) override;
  void Field(const VListingField& field) override;
  void Value(const VListingValue& value) override;
  void End(VListingPlace kind) override;
  void Stop(std::int64_t offset, std::string_view reason) override;
  bool WantsText() const override { return false; }
  // The part number of the file listed next on its own.
  void SetPart(std::uint32_t part) { m_part = part; }
  // Closes what a listing cut short left open, and the top.
  void Finish();

 private:
  DiffListing& m_listing;
  std::vector<DiffNode*> m_open;
  std::uint32_t m_files = 0;
  std::uint32_t m_part = 0;
};

// Lists the domain whose files are `parts` into nodes (ListDomainFiles); the outermost places
// of a further part listed on its own are marked with its part number.
DiffListing ReadListing(const std::vector<std::filesystem::path>& parts);

// One side of a difference: where it stands and what it holds.
struct DiffSide {
  std::int64_t offset = 0;
  std::uint32_t width = 0;
  std::string text;  // as a person reads it: "42.0", "\"PUMP_01\"", "0x457a (17786)"
  std::string json;  // typed JSON members: "kind":…,"value":…
};

// One difference. `place` names where it is: an entry by its key and name ("entry 1234
// \"PUMP_01\""), another element by its section, code name and index, a header by its name.
// A changed value or field has both sides, an added or removed one the side that has it; a
// place added or removed whole (`whole`) has its values (or fields) in `contents`.
struct Difference {
  enum class Kind { changed, added, removed };
  Kind kind = Kind::changed;
  std::string place;
  std::string label;
  std::optional<DiffSide> a;
  std::optional<DiffSide> b;
  bool whole = false;
  std::vector<std::pair<std::string, DiffSide>> contents;
};

struct DiffOptions {
  bool noTimes = false;  // time-stamp fields and values are not compared
};

// The differences of two listings in listing order.
std::vector<Difference> CompareListings(const DiffListing& a, const DiffListing& b,
                                        const DiffOptions& options);

// The name of a place as a difference names it: "common header", "entry 7 \"PUMP_07\"",
// "element TypCode FB #12", "part 1 > header CbD" for a place of a further part file listed on
// its own.
std::string PlaceText(const DiffNode& node, const DiffListing& listing);

}  // namespace morvit::tool

#endif  // MORVIT_TOOL_LISTINGDIFF_H
