// Reads a data set's domain files by their names and headers, joins split domains and finds
// the domains that belong together.
#include "dataset/DataSetInventory.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <tuple>

#include "cli/Failure.h"
#include "cli/ToolPlatform.h"
#include "dataset/PrivateView.h"
#include "morvit/VMotorolaIO.h"

namespace morvit::tool {
namespace {

namespace fs = std::filesystem;

// Header sizes: the common header, and the compress header behind it in a domain that may be
// split into parts (own part number, number of parts minus 1, method, chunk length, spare).
constexpr std::uintmax_t kCommonHeaderSize = 14;
constexpr std::uintmax_t kCompressHeaderSize = 10;

// Types whose files carry the compress header, so that a file may be one part of several: the
// compressed ones and the decoder tables with their continuation files.
bool MayBeSplit(std::uint16_t type) {
  return type == 3 || type == 46 || type == 78 || (type >= 114 && type <= 118);
}

// The fields of a data-set name TTSSVVVV.COO, when the name has that form.
bool ReadName(const std::string& name, DomainEntry& entry) {
  if (name.size() != 12 || name[8] != '.' || name[9] != 'C') return false;
  const auto digits = [&name](std::size_t from, std::size_t count, std::uint16_t& value) {
    value = 0;
    for (std::size_t i = from; i < from + count; ++i) {
      if (name[i] < '0' || name[i] > '9') return false;
      value = static_cast<std::uint16_t>(value * 10 + (name[i] - '0'));
    }
    return true;
  };
  const DomainType* type = FindDomainTypeByCode(name.substr(0, 2));
  if (type == nullptr || !digits(2, 2, entry.scope) || !digits(4, 4, entry.version) ||
      !digits(10, 2, entry.object))
    return false;
  entry.type = type->number;
  return true;
}

// The compress header's method of an imploded domain.
constexpr std::uint16_t kImplode = 2;

struct PartHeader {
  std::uint16_t own = 0;
  std::uint16_t count = 1;
};

// The common header (and the compress header where the type has one) through the library's
// reader of big-endian values. A header cut short is the damage it reports.
PartHeader ReadHeaders(DomainEntry& entry) {
  PartHeader part;
  if (!ReadName(Utf8(entry.file.filename()), entry)) {
    entry.headerProblem = "not a data-set name of a known domain type (TTSSVVVV.COO)";
    return part;
  }
  try {
    CFile file(Utf8(entry.file), CFile::modeRead | CFile::typeBinary);
    if (file.GetLength() < kCommonHeaderSize) throw Failure("shorter than its header");
    VMotorolaIO io;
    const std::uintmax_t length = io.ReadCardinal(file) + 1u;  // from the offset to the last byte
    const std::uint16_t type = io.ReadByte(file);
    entry.scope = io.ReadByte(file);
    entry.version = io.ReadCardinal(file);
    RTime time{};
    io.ReadRTime(file, time, 0);
    entry.major = io.ReadByte(file);
    entry.minor = io.ReadByte(file);
    char text[64];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u.%03u", time.year, time.month,
                  time.day, time.hour, time.minute, time.second, time.millisecond);
    entry.time = text;
    if ((entry.type & 0xFF) != type) {
      throw Failure("its header says type " + std::to_string(type) + ", its name type " +
                    std::to_string(entry.type));
    }
    if (length > file.GetLength()) {
      throw Failure("its header counts " + std::to_string(length) + " bytes, the file has " +
                    std::to_string(file.GetLength()));
    }
    if (MayBeSplit(entry.type) && file.GetLength() >= kCommonHeaderSize + kCompressHeaderSize) {
      part.own = io.ReadCardinal(file);
      part.count = static_cast<std::uint16_t>(io.ReadCardinal(file) + 1);
      entry.compressed = io.ReadCardinal(file) == kImplode;
    }
  } catch (const std::exception& failure) {
    entry.headerProblem = DescribeFailure(failure);
  }
  return part;
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

std::vector<DomainEntry> ReadInventory(const fs::path& directory) {
  if (!fs::is_directory(directory)) throw Failure(Utf8(directory) + ": not a directory");
  std::vector<fs::path> files;
  for (const auto& item : fs::directory_iterator(directory)) {
    if (item.is_regular_file() && IsDomainFileName(Utf8(item.path().filename())))
      files.push_back(item.path());
  }
  std::sort(files.begin(), files.end());
  std::vector<DomainEntry> domains;
  std::vector<std::pair<DomainEntry, PartHeader>> laterParts;
  for (const fs::path& file : files) {
    DomainEntry entry;
    entry.file = file;
    const PartHeader part = ReadHeaders(entry);
    entry.parts = {file};
    entry.sizes = {fs::file_size(file)};
    if (part.own > 0 && entry.headerProblem.empty()) {
      laterParts.emplace_back(std::move(entry), part);
    } else {
      if (part.count > 1) entry.parts.resize(part.count);
      domains.push_back(std::move(entry));
    }
  }
  // A later part joins the domain whose first file has its type, version and object and the
  // scope its own part number lower; one without such a domain stands alone.
  for (auto& [entry, part] : laterParts) {
    const auto first = std::find_if(domains.begin(), domains.end(), [&](const DomainEntry& d) {
      return d.type == entry.type && d.version == entry.version && d.object == entry.object &&
             d.scope + part.own == entry.scope && part.own < d.parts.size();
    });
    if (first == domains.end()) {
      entry.headerProblem =
          "part " + std::to_string(part.own) + " of a domain whose first file is missing";
      domains.push_back(std::move(entry));
      continue;
    }
    first->parts[part.own] = entry.file;
    first->sizes.resize(first->parts.size());
    first->sizes[part.own] = entry.sizes.front();
  }
  for (DomainEntry& d : domains) {
    const DomainType* type = FindDomainType(d.type);
    d.typeName = type ? type->name : "?";
    d.area = type ? AreaName(type->area) : "other";
    d.sizes.resize(d.parts.size());
    for (std::size_t i = 0; i < d.parts.size(); ++i) {
      if (d.parts[i].empty() && d.headerProblem.empty())
        d.headerProblem =
            "part " + std::to_string(i) + " of " + std::to_string(d.parts.size()) + " is missing";
    }
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
  constexpr std::size_t kLength = 12;
  if (name.size() != kLength || name[8] != '.' || (name[9] != 'C' && name[9] != 'c')) return {};
  for (std::size_t i : {2, 3, 4, 5, 6, 7, 10, 11}) {
    if (name[i] < '0' || name[i] > '9') return {};
  }
  return DataSetName{name.substr(0, 2), std::stoi(name.substr(2, 2)), std::stoi(name.substr(4, 4)),
                     name.substr(10, 2)};
}

std::string DomainKey(const DataSetName& name) {
  return name.type + " scope " + std::to_string(name.scope) + " object " + name.object;
}

DomainEntry DomainOf(const fs::path& file) {
  const fs::path directory = file.has_parent_path() ? file.parent_path() : fs::path(".");
  for (DomainEntry& domain : ReadInventory(directory)) {
    if (domain.file.filename() == file.filename()) return domain;
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
    const std::size_t dot = name.find('.');
    if (entry.is_regular_file() && dot != std::string::npos && dot + 1 < name.size() &&
        (name[dot + 1] == 'C' || name[dot + 1] == 'c')) {
      files.push_back(entry.path());
    }
  }
  return files;
}

std::map<std::string, DomainEntry> NewestDomains(const fs::path& directory) {
  std::map<std::string, DomainEntry> newest;
  for (DomainEntry& domain : ReadInventory(directory)) {
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
