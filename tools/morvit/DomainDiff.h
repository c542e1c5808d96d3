// Two versions of a domain compared field by field: the fields matched by their place in the
// structure (the enclosing header, section and element with its code) and their label, so that
// an element put in between shows as that element added, not as every later field changed.
#ifndef MORVIT_TOOL_DOMAINDIFF_H
#define MORVIT_TOOL_DOMAINDIFF_H

#include <cstddef>
#include <string>
#include <vector>

#include "ListingEvents.h"

namespace morvit::tool {

// The fields of one listing with their places, as the comparison takes them.
class ComparedListing {
 public:
  void Add(const ListingEvent& event);

  struct Field {
    std::string place;  // the enclosing structures, outermost first
    std::string label;
    std::string value;
  };
  const std::vector<Field>& Fields() const { return m_fields; }

 private:
  std::vector<std::string> m_open;
  std::vector<Field> m_fields;
  std::size_t m_files = 0;
};

struct DiffLine {
  char op;  // '@' a new place, '-' removed, '+' added, '~' changed
  std::string place, label, before, after;
};

struct DomainDiff {
  std::vector<DiffLine> lines;
  std::size_t removed = 0, added = 0, changed = 0;
};

DomainDiff CompareListings(const ComparedListing& older, const ComparedListing& newer);

}  // namespace morvit::tool

#endif  // MORVIT_TOOL_DOMAINDIFF_H
