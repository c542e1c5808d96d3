// Reads a data set's domain files by their names and headers, joins split domains and finds
// the domains that belong together.
#include "dataset/DataSetInventory.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>
#include <tuple>

#include "cli/Failure.h"
#include "cli/ToolPlatform.h"
#include "dataset/PrivateView.h"
#include "morvit/VDataSet.h"

namespace morvit::tool {
namespace {

namespace fs = std::filesystem;

std::string CaseFolded(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// Domains that belong together, each linked to the newest version of the others: a task's TADE,
// PODE, POLO and POBA (one object, the task number as scope); the resource's REDE, RELO and
// REBA; a node and its file list; the configuration data, its I/O and its decoder tables.
void FindRelations(std::vector<DomainEntry>& domains) {
  using Key = std::tuple<int, std::uint16_t, std::uint16_t>;  // group, object, scope
  std::map<Key, std::vector<std::size_t>> groups;
  std::vector<bool> newest(domains.size());
  for (std::size_t i = 0; i < domains.size(); ++i) {
    const DomainEntry& d = domains[i];
    newest[i] = i == 0 || domains[i - 1].type != d.type || domains[i - 1].object != d.object ||
                domains[i - 1].scope != d.scope;
    switch (d.type) {
      case 49:
      case 65:
      case 67:
      case 78:
        groups[{0, d.object, d.scope}].push_back(i);
        break;
      case 33:
      case 35:
      case 46:
        groups[{1, d.object, d.scope}].push_back(i);
        break;
      case 1:
      case 119:
        groups[{2, d.object, 0}].push_back(i);
        break;
      case 44:
      case 120:
        groups[{3, d.object, 0}].push_back(i);
        break;
      case 17:
      case 26:
      case 114:
      case 115:
        groups[{4, 0, 0}].push_back(i);
        break;
      default:
        break;
    }
  }
  for (const auto& [key, members] : groups) {
    for (const std::size_t a : members) {
      for (const std::size_t b : members) {
        if (!newest[b] || domains[a].type == domains[b].type) continue;
        domains[a].related.push_back({b, domains[b].typeName + " " +
                                             std::to_string(domains[b].scope) + "/" +
                                             std::to_string(domains[b].object)});
      }
    }
  }
  for (std::size_t i = 0; i + 1 < domains.size(); ++i) {
    const DomainEntry& a = domains[i];
    const DomainEntry& b = domains[i + 1];
    if (a.type == b.type && a.object == b.object && a.scope == b.scope && a.area == b.area)
      domains[i].olderVersions.push_back(i + 1);
  }
}

}  // namespace

// The library's inventory, its verdicts judged on a private view when asked, as the entries
// of the site and the listings.
std::vector<DomainEntry> ReadInventory(const fs::path& directory, bool judged,
                                       const std::string& only) {
  if (!fs::is_directory(directory)) throw Failure(Utf8(directory) + ": not a directory");
  VDataSetInventory inventory = VReadDataSet(Utf8(directory));
  std::string onlyFile;
  if (!only.empty()) {
    // One domain, judged with the domains whose readers read it too: a node's file list is
    // read by its node, whose reader may prove it damaged.
    const VDataSetDomain* domain = VFindDomainOfFile(inventory, only);
    VDataSetInventory alone;
    if (domain != nullptr) {
      onlyFile = domain->file;
      const bool node = domain->type != nullptr && domain->type->area == VDomainArea::node;
      for (const VDataSetDomain& other : inventory.domains) {
        const bool reads = node && other.type != nullptr && other.type->area == VDomainArea::node;
        if (&other == domain || reads) alone.domains.push_back(other);
      }
    }
    inventory = std::move(alone);
  }
  if (judged) {
    const PrivateView view(directory);
    VJudgeDomains(inventory, Utf8(view.Data()));
  }
  std::vector<DomainEntry> domains;
  for (const VDataSetDomain& found : inventory.domains) {
    if (!only.empty() && found.file != onlyFile) continue;
    DomainEntry d;
    d.file = directory / PathFromUtf8(found.file);
    for (const std::string& part : found.parts) {
      d.parts.push_back(part.empty() ? fs::path() : directory / PathFromUtf8(part));
    }
    d.sizes = found.sizes;
    d.compressed = found.compressed;
    d.type = found.typeNumber;
    d.typeName = found.type ? found.type->name : "?";
    d.area = found.type ? VDomainAreaName(found.type->area) : "other";
    d.scope = found.scope;
    d.version = found.version;
    d.object = found.object;
    d.time = found.time;
    d.major = found.major;
    d.minor = found.minor;
    d.verdict = found.verdict;
    if (found.verdict != VVerdict::sound) d.headerProblem = VDescribeVerdict(found);
    domains.push_back(std::move(d));
  }
  // A file whose extension starts with C but whose name is no data-set name looks like a domain
  // file to an engineer: the site lists it, as a file that is no domain of this data set.
  for (const VDataSetFile& other : inventory.others) {
    if (!only.empty()) break;
    // A PC data table is listed as the dump lists it, with the verdict check gives it.
    const bool table = other.role == VFileRole::table || other.role == VFileRole::damagedTable;
    const std::size_t dot = other.name.find('.');
    const bool looksLikeDomain =
        other.role == VFileRole::foreign && dot != std::string::npos &&
        dot + 1 < other.name.size() &&
        std::toupper(static_cast<unsigned char>(other.name[dot + 1])) == 'C';
    if (!table && !looksLikeDomain) continue;
    DomainEntry d;
    d.file = directory / PathFromUtf8(other.name);
    d.parts = {d.file};
    d.sizes = {fs::file_size(d.file)};
    d.typeName = table ? "PL table" : "?";
    d.area = "other";
    d.verdict = other.role == VFileRole::table          ? VVerdict::sound
                : other.role == VFileRole::damagedTable ? VVerdict::damaged
                                                        : VVerdict::unknownType;
    if (other.role == VFileRole::damagedTable) d.headerProblem = "damaged: " + other.note;
    if (looksLikeDomain) {
      d.headerProblem = other.note + " (TTSSVVVV.COO): no domain of this data set";
    }
    domains.push_back(std::move(d));
  }
  const auto areaRank = [](const std::string& area) {
    return area == "node" ? 0 : area == "configuration" ? 1 : area == "program" ? 2 : 3;
  };
  std::stable_sort(domains.begin(), domains.end(), [&](const DomainEntry& a, const DomainEntry& b) {
    return std::make_tuple(areaRank(a.area), a.type, a.object, a.scope, b.version) <
           std::make_tuple(areaRank(b.area), b.type, b.object, b.scope, a.version);
  });
  for (std::size_t i = 0; i < domains.size(); ++i) domains[i].id = "d" + std::to_string(i);
  FindRelations(domains);
  return domains;
}

std::optional<DataSetName> ParseName(const std::string& name) {
  const std::optional<VDataSetName> parsed = VParseDataSetName(name);
  if (!parsed) return {};
  const std::string object = name.substr(10, 2);
  return DataSetName{parsed->code, parsed->scope, parsed->version, object};
}

std::string DomainKey(const DataSetName& name) {
  return name.type + " scope " + std::to_string(name.scope) + " object " + name.object;
}

DomainEntry DomainOf(const fs::path& file, bool judged) {
  const fs::path directory = file.has_parent_path() ? file.parent_path() : fs::path(".");
  for (DomainEntry& domain : ReadInventory(directory, judged, Utf8(file.filename()))) {
    if (CaseFolded(Utf8(domain.file.filename())) == CaseFolded(Utf8(file.filename())))
      return domain;
  }
  DomainEntry alone;
  alone.file = file;
  alone.parts = {file};
  return alone;
}

std::vector<fs::path> DataSetFiles(const fs::path& directory) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(directory)) {
    const std::string name = Utf8(entry.path().filename());
    if (entry.is_regular_file() && VParseDataSetName(name)) files.push_back(entry.path());
  }
  return files;
}

std::map<std::string, DomainEntry> NewestDomains(const fs::path& directory) {
  std::map<std::string, DomainEntry> newest;
  for (DomainEntry& domain : ReadInventory(directory, true)) {
    const std::optional<DataSetName> name = ParseName(Utf8(domain.file.filename()));
    if (!name) continue;
    DomainEntry& slot = newest[DomainKey(*name)];
    if (slot.file.empty() || name->version > ParseName(Utf8(slot.file.filename()))->version) {
      slot = std::move(domain);
    }
  }
  return newest;
}

}  // namespace morvit::tool
