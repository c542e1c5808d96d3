// What a data-set directory holds: its domain files read by their headers (type, scope, version,
// time stamp, major/minor), the parts of a split domain joined to their first file, and the
// relations between domains that an engineer follows (a task's domains, a node and its file
// list, the configuration data and its decoder tables, the versions of one domain).
#ifndef MORVIT_TOOL_DATASETINVENTORY_H
#define MORVIT_TOOL_DATASETINVENTORY_H

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "dataset/DomainTypes.h"

namespace morvit::tool {

// One domain of the data set: its first file and the part files that follow it.
struct DomainEntry {
  std::string id;  // names the domain's files in the site: letters and digits only
  std::filesystem::path file;
  std::vector<std::filesystem::path> parts;  // every file, the first one included
  std::vector<std::uintmax_t> sizes;         // of each part file
  // The parts are one imploded stream, which the listing of the first file expands whole; the
  // parts of a continued domain are files of their own.
  bool compressed = false;
  std::uint16_t type = 0;  // from the header, else from the name
  std::string typeName;    // "?" for a type this tool does not know
  std::string area;        // node, configuration, program, other
  std::uint16_t scope = 0, version = 0, object = 0;
  std::string time;  // "YYYY-MM-DD HH:MM:SS.mmm" from the common header, empty when unread
  int major = 0, minor = 0;
  std::string headerProblem;  // why the header could not be read, empty when it was
  // Indexes into the inventory.
  struct Relation {
    std::size_t other;
    std::string label;
  };
  std::vector<Relation> related;
  std::vector<std::size_t> olderVersions;  // same type, scope and object, earlier version
};

// Every domain file of `directory` (extension starting with 'C'), newest version first within
// each area, type and object. Never changes the directory.
std::vector<DomainEntry> ReadInventory(const std::filesystem::path& directory);

// A data-set name TTSSVVVV.COO taken apart; the domain a file belongs to is its type code,
// version and object, its files have consecutive scopes.
struct DataSetName {
  std::string type;
  int scope = 0;
  int version = 0;
  std::string object;
};

// The parts of a data-set name (either case of the extension's C), or nothing.
std::optional<DataSetName> ParseName(const std::string& name);

// How the domain of a name is named in the output: "RB scope 0 object 01".
std::string DomainKey(const DataSetName& name);

// The domain whose first file is `file`, its parts as the data set's inventory joins them by
// their headers; a file that is no domain's first stands alone.
DomainEntry DomainOf(const std::filesystem::path& file);

// The domain files of a data set (extension starting with C).
std::vector<std::filesystem::path> DataSetFiles(const std::filesystem::path& directory);

// The newest version of each domain of a data set, by type, first scope and object (DomainKey).
std::map<std::string, DomainEntry> NewestDomains(const std::filesystem::path& directory);

}  // namespace morvit::tool

#endif  // MORVIT_TOOL_DATASETINVENTORY_H
