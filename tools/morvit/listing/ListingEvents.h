// The field and structure events of a domain's listing, as the site reads them: the one place
// where `morvit view` meets the listing stream. A domain is listed from a scratch copy of its
// files, so that reading it never changes the data set.
#ifndef MORVIT_TOOL_LISTINGEVENTS_H
#define MORVIT_TOOL_LISTINGEVENTS_H

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "cli/ScratchDirectory.h"
#include "dataset/DataSetInventory.h"
#include "morvit/VListingEvents.h"

namespace morvit::tool {

struct ListingEvent {
  enum class Kind { file, begin, field, end, stop, value };
  Kind kind = Kind::field;
  std::int64_t offset = 0;
  int width = 0;
  std::string hex;        // field: the raw bytes, two hex digits each
  std::string value;      // field: the value as the reader took it; value: as a person reads it
  std::string label;      // field, value: its label; file: the part's name; stop: the reason
  std::string structure;  // begin, end: header, section, element, table, row
  std::string name;       // begin: the structure's name; value: its kind ("text", "key", ...)
  long code = -1;         // begin: the element or section code, -1 when it has none
  std::string codeName;   // begin: the code's name
  long index = -1;        // begin: the place among its kind, -1 when it has none
};

// How listing a domain went.
struct ListingOutcome {
  bool complete = false;     // the listing ran to the end of the domain
  std::int64_t stopAt = -1;  // where the listing stopped short, when known
  std::string problem;       // why it stopped short
  std::string text;          // the text listing, as `morvit dump` writes it
  bool textOmitted = false;  // the text listing passed its limit and is not kept
};

using ListingEventHandler = std::function<void(const ListingEvent&)>;

// A copy of a data set's domain files to list them from: a listing reads a domain's other files
// (a node's file list, the parts of a split domain) and leaves files beside them (the listing,
// an expanded copy), none of which may touch the data set. A scratch directory, removed with
// the object.
class ScratchDataSet {
 public:
  explicit ScratchDataSet(const std::vector<DomainEntry>& domains);
  const std::filesystem::path& Directory() const { return m_scratch.Path(); }

 private:
  ScratchDirectory m_scratch;
};

// Lists the domain whose files are `parts` (ListedFiles: the first file, then its further part
// files) into `sink`. A listing of the first file that takes in no further file
// (the generic listings list one file) is followed by the listing of each further part, of
// which `partBegins` (when set) is told first. Whether every listing was whole.
bool ListDomainFiles(const std::vector<std::filesystem::path>& parts, VListingSink& sink,
                     const std::function<void(std::uint32_t)>& partBegins = {});

// The copies in `directory` of the files a listing of `domain` reads one by one: the first file
// alone of a compressed domain (its listing expands all parts), every part of a continued one
// (a missing part an empty path).
std::vector<std::filesystem::path> ListedFiles(const DomainEntry& domain,
                                               const std::filesystem::path& directory);

// Lists `domain` from its copy in `scratch`, handing every event to `handler` in order; the
// text listing is kept while it takes at most `textLimit` bytes (a longer one is left out).
ListingOutcome ListDomain(const DomainEntry& domain, const ScratchDataSet& scratch,
                          const ListingEventHandler& handler,
                          std::size_t textLimit = static_cast<std::size_t>(-1));

}  // namespace morvit::tool

#endif  // MORVIT_TOOL_LISTINGEVENTS_H
