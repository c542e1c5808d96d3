// Comparing two domain listings field by field. Fields are matched by their place in the
// structure (header or section, element or row, label), not by byte offset: the elements and
// rows of a section or table are aligned by their content first, so an element inserted in the
// middle is one insertion and the elements after it still pair with their old selves.
#ifndef MORVIT_TOOL_LISTINGDIFF_H
#define MORVIT_TOOL_LISTINGDIFF_H

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "morvit/VListingEvents.h"

namespace morvit::tool {

// One field as the comparison keeps it.
struct DiffField {
  std::int64_t offset = 0;
  std::uint32_t width = 0;
  std::string hex;    // the bytes, two lower-case digits each
  std::string value;  // the value read, in decimal
  std::string label;
  bool timeStamp = false;
};

// A header, section, element, table or row of a listing with its fields and inner places.
struct DiffNode {
  VListingPlace kind = VListingPlace::header;
  std::string name;
  std::int32_t code = -1;
  std::string codeName;
  std::int64_t index = -1;
  std::int64_t offset = -1;
  // A place outside any other in a further part file listed on its own: its part number.
  std::uint32_t part = 0;
  std::vector<DiffField> fields;
  std::vector<DiffNode> children;
  std::uint64_t hash = 0;  // of the content, for aligning elements and rows
};

// A listing read into nodes: the top node holds the fields and places outside any other.
struct DiffListing {
  std::string name;
  DiffNode top;
  bool whole = false;  // false: the listing stopped short (`stop` says why)
  std::string stop;
};

// Lists the domain whose files are `parts` into nodes (ListDomainFiles); the outermost places
// of a further part listed on its own are marked with its part number.
DiffListing ReadListing(const std::vector<std::filesystem::path>& parts);

// One difference. `place` names where it is ("section ElementStart > element 46 TypCode FB
// #12"); a changed field has both sides, an inserted or removed field or place one.
struct Difference {
  enum class Kind { changed, added, removed };
  Kind kind = Kind::changed;
  std::string place;
  std::string label;
  const DiffField* a = nullptr;    // in the first listing (changed, removed)
  const DiffField* b = nullptr;    // in the second (changed, added)
  const DiffNode* node = nullptr;  // a whole place added or removed, else null
};

struct DiffOptions {
  bool noTimes = false;  // time-stamp fields are not compared
};

// The differences of two listings in listing order. The listings must outlive the result.
std::vector<Difference> CompareListings(const DiffListing& a, const DiffListing& b,
                                        const DiffOptions& options);

// The name of a place as a difference names it: "common header", "element 46 TypCode FB #12",
// "part 1 > header CbD" for a place of a further part file listed on its own.
std::string PlaceText(const DiffNode& node);

}  // namespace morvit::tool

#endif  // MORVIT_TOOL_LISTINGDIFF_H
