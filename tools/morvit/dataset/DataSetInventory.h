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

#include "morvit/VDataSet.h"

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
  VVerdict verdict = VVerdict::sound;  // the library's verdict
  std::string headerProblem;           // the verdict in words, empty when sound
  // Indexes into the inventory.
  struct Relation {
    std::size_t other;
    std::string label;
  };
  std::vector<Relation> related;
  std::vector<std::size_t> olderVersions;  // same type, scope and object, earlier version
};

// Every domain of `directory` as the library's inventory finds it, newest version first within
// each area, type and object; `judged`: with the verdicts of the domains' own readers, run on a
// private view. Changes nothing in the directory but the completion of a killed replacement.
// `only`: the domain of this file alone (a file name; "" for every domain).
std::vector<DomainEntry> ReadInventory(const std::filesystem::path& directory, bool judged = false,
                                       const std::string& only = "");

// A data-set name TTSSVVVV.COO taken apart; the domain a file belongs to is its type code,
// version and object, its files have consecutive scopes.
struct DataSetName {
  std::string type;
  int scope = 0;
  int version = 0;
  std::string object;
};

// The parts of a data-set name (the library's rule, either case), or nothing.
std::optional<DataSetName> ParseName(const std::string& name);

// How the domain of a name is named in the output: "RB scope 0 object 01".
std::string DomainKey(const DataSetName& name);

// The domain whose first file is `file`, its parts as the data set's inventory joins them by
// their headers and, `judged`, with the verdict of its reader; a file that is no domain's first
// stands alone.
DomainEntry DomainOf(const std::filesystem::path& file, bool judged = false);

// The files of a data set that have a data-set name.
std::vector<std::filesystem::path> DataSetFiles(const std::filesystem::path& directory);

// The newest version of each domain of a data set, by type, first scope and object (DomainKey).
std::map<std::string, DomainEntry> NewestDomains(const std::filesystem::path& directory);

}  // namespace morvit::tool

#endif  // MORVIT_TOOL_DATASETINVENTORY_H
