// The data of a comparison page: two versions of a domain compared field by field by the
// listing comparison of `morvit diff`, as lines of a unified diff with labels and both values.
#ifndef MORVIT_TOOL_DIFFPAGE_H
#define MORVIT_TOOL_DIFFPAGE_H

#include <filesystem>
#include <string>

#include "dataset/DataSetInventory.h"
#include "listing/ListingEvents.h"

namespace morvit::tool {

// Compares `older` with `newer` (listed from their copies in `scratch`) and writes the result
// as the site's data file data/ID.js.
void WriteDiffPage(const std::filesystem::path& site, const ScratchDataSet& scratch,
                   const std::string& id, const DomainEntry& older, const DomainEntry& newer);

}  // namespace morvit::tool

#endif  // MORVIT_TOOL_DIFFPAGE_H
