// The static site of a data set: an index of its domain files, a page per domain, the text
// listings and the diff pages, written as plain files that open in a browser from the file
// system (no server, nothing from the network).
#ifndef MORVIT_TOOL_VIEWSITE_H
#define MORVIT_TOOL_VIEWSITE_H

#include <cstddef>
#include <filesystem>

namespace morvit::tool {

struct SiteSummary {
  std::size_t domains = 0;
  std::size_t damaged = 0;
};

struct SiteOptions {
  // The text listing of every domain; without, only of domains whose text listing takes at
  // most kListedUpTo bytes (a large domain's text listing is many times its size, and its page
  // shows the same fields).
  bool listings = false;
};

inline constexpr std::size_t kListedUpTo = 4 * 1024 * 1024;
// A text listing is written in pieces of at most this many bytes, each cut at a line's end,
// so that a browser opens each at once.
inline constexpr std::size_t kListingPiece = 4 * 1024 * 1024;

// Writes the site of the data set in `data` into `site`. The data set is only read.
SiteSummary WriteSite(const std::filesystem::path& data, const std::filesystem::path& site,
                      const SiteOptions& options = {});

}  // namespace morvit::tool

#endif  // MORVIT_TOOL_VIEWSITE_H
