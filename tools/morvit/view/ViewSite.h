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

// Writes the site of the data set in `data` into `site`. The data set is only read.
SiteSummary WriteSite(const std::filesystem::path& data, const std::filesystem::path& site);

}  // namespace morvit::tool

#endif  // MORVIT_TOOL_VIEWSITE_H
