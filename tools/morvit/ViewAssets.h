// The pages, style sheet and scripts of the site that `morvit view` writes: the files of
// tools/morvit/view, built into the tool so that it needs nothing beside it.
#ifndef MORVIT_TOOL_VIEWASSETS_H
#define MORVIT_TOOL_VIEWASSETS_H

#include <span>
#include <string_view>

namespace morvit::tool {

struct ViewAsset {
  const char* name;
  std::string_view content;
};

std::span<const ViewAsset> ViewAssets();

}  // namespace morvit::tool

#endif  // MORVIT_TOOL_VIEWASSETS_H
