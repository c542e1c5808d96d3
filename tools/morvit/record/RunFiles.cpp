// Counting a run's domains by the library's data-set names.
#include "record/RunFiles.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <system_error>
#include <vector>

#include "cli/ToolPlatform.h"
#include "morvit/VDataSet.h"

namespace morvit::tool {
namespace {

// The domain types each run reads.
const std::map<std::string, std::vector<std::uint16_t>>& RunTypes() {
  static const std::map<std::string, std::vector<std::uint16_t>> types = {
      {"node", {1, 44}},
      {"db", {26, 17, 114, 115, 96, 97, 98, 99, 100, 101, 102, 103}},
      {"pc", {33, 49, 65, 3, 46, 78, 116, 117, 118}},
  };
  return types;
}

}  // namespace

std::size_t CountRunFiles(const std::string& run, const std::filesystem::path& directory) {
  const auto types = RunTypes().find(run);
  if (types == RunTypes().end()) return 0;
  std::set<std::string> domains;  // code, scope of a domain of one file, object: one per domain
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(directory, error)) {
    const std::optional<VDataSetName> name = VParseDataSetName(Utf8(entry.path().filename()));
    if (!name || name->type == nullptr ||
        std::find(types->second.begin(), types->second.end(), name->type->number) ==
            types->second.end()) {
      continue;
    }
    // The later files of a split or continued domain are parts of it, not domains.
    if (name->type->parts != VPartNaming::single && name->scope != 0) continue;
    domains.insert(std::string(name->code) + std::to_string(name->scope) + "/" +
                   std::to_string(name->object));
  }
  return domains.size();
}

}  // namespace morvit::tool
