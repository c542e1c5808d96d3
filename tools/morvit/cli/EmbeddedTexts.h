// Texts built into the tool so that it needs nothing beside it: the example job of the demo,
// the job schema, and the pages, style sheet and scripts of the site that `morvit view` writes.
// Each is named by its path in the source tree; the build generates the table.
#ifndef MORVIT_TOOL_EMBEDDEDTEXTS_H
#define MORVIT_TOOL_EMBEDDEDTEXTS_H

#include <span>
#include <string_view>

namespace morvit::tool {

struct EmbeddedText {
  std::string_view name;  // "examples/job.json", "tools/morvit/view/site/index.html", ...
  std::string_view content;
};

std::span<const EmbeddedText> EmbeddedTexts();

// The text of that name; a name that is not built in is a fault of the build (std::logic_error).
std::string_view EmbeddedTextNamed(std::string_view name);

}  // namespace morvit::tool

#endif  // MORVIT_TOOL_EMBEDDEDTEXTS_H
