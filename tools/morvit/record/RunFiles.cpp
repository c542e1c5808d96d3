// Counting a run's domain files by their data-set names, TTSSVVVV.COO.
#include "record/RunFiles.h"

#include <cctype>
#include <map>
#include <set>
#include <system_error>
#include <vector>

#include "cli/ToolPlatform.h"
#include "morvit/VDomainPath.h"

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

// Types whose scope is a task, one domain per task (TADE, PODE, POBA); for every other type
// the scope numbers a domain's continuation files.
bool ScopeIsTask(std::uint16_t type) { return type == 49 || type == 65 || type == 78; }

// The type's code, places 0-1 of its data-set names, as the library names its files.
std::string TypeCode(std::uint16_t type) {
  VDomainPath path;
  ObjParcelType parcel{};
  path.GenParcel(type, 0, 0, 0, parcel);
  const std::string name = Utf8(std::filesystem::path(path.FindFile(parcel)).filename());
  return name.substr(0, 2);
}

}  // namespace

std::size_t CountRunFiles(const std::string& run, const std::filesystem::path& directory) {
  const auto types = RunTypes().find(run);
  if (types == RunTypes().end()) return 0;
  std::map<std::string, bool> codes;  // code: whether its scope is a task
  for (std::uint16_t type : types->second) codes[TypeCode(type)] = ScopeIsTask(type);
  std::set<std::string> domains;  // the name without its version: one per domain
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(directory, error)) {
    std::string name = Utf8(entry.path().filename());
    if (name.size() != 12 || name[8] != '.' || std::toupper(name[9]) != 'C') continue;
    for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const auto code = codes.find(name.substr(0, 2));
    if (code == codes.end() || (!code->second && name.substr(2, 2) != "00")) continue;
    domains.insert(name.substr(0, 4) + name.substr(8));
  }
  return domains.size();
}

}  // namespace morvit::tool
