// `morvit diff A B`: two domain files compared field by field, or two data sets domain by
// domain (the newest version of each, paired by type, scope and object number). The files are
// listed from copies in a scratch directory, so the data sets stay exactly as they were (a
// compressed domain is expanded there, never beside the original).
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <optional>
#include <random>

#include "Commands.h"
#include "Failure.h"
#include "ListingDiff.h"
#include "ListingJson.h"

namespace morvit::tool {
namespace {

namespace fs = std::filesystem;

// Exit statuses, as those of diff(1).
constexpr int kExitEqual = 0;
constexpr int kExitDifferent = 1;
constexpr int kExitTrouble = 2;

struct DiffCommandOptions {
  std::string a;
  std::string b;
  bool noTimes = false;
  std::string format = "text";
};

// A data-set name TTSSVVVV.COO taken apart; the domain a file belongs to is its type code,
// version and object, its files have consecutive scopes.
struct DataSetName {
  std::string type;
  int scope = 0;
  int version = 0;
  std::string object;
};

std::optional<DataSetName> ParseName(const std::string& name) {
  constexpr std::size_t kLength = 12;
  if (name.size() != kLength || name[8] != '.' || (name[9] != 'C' && name[9] != 'c')) return {};
  for (std::size_t i : {2, 3, 4, 5, 6, 7, 10, 11}) {
    if (name[i] < '0' || name[i] > '9') return {};
  }
  return DataSetName{name.substr(0, 2), std::stoi(name.substr(2, 2)), std::stoi(name.substr(4, 4)),
                     name.substr(10, 2)};
}

std::string NameOf(const DataSetName& n, int scope) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%02d%04d", scope % 100, n.version % 10000);
  return n.type + digits + ".C" + n.object;
}

// The files of the domain whose first file is `file`: it and the files of the following
// scopes of the same type, version and object (its further parts).
std::vector<fs::path> DomainFiles(const fs::path& file) {
  std::vector<fs::path> files{file};
  const std::optional<DataSetName> name = ParseName(file.filename().string());
  if (!name) return files;
  for (int scope = name->scope + 1; scope < 100; ++scope) {
    const fs::path next = file.parent_path() / NameOf(*name, scope);
    if (!fs::is_regular_file(next)) break;
    files.push_back(next);
  }
  return files;
}

// A scratch directory that goes with the object.
class Scratch {
 public:
  Scratch() {
    const fs::path base = fs::temp_directory_path();
    for (unsigned n = 0;; ++n) {
      m_path = base /
               ("morvit-diff-" + std::to_string(std::random_device{}()) + "-" + std::to_string(n));
      if (fs::create_directory(m_path)) break;
    }
  }
  ~Scratch() {
    std::error_code ignored;
    fs::remove_all(m_path, ignored);
  }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;
  const fs::path& Path() const { return m_path; }

 private:
  fs::path m_path;
};

// The domain files of a data set (extension starting with C).
std::vector<fs::path> DataSetFiles(const fs::path& directory) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(directory)) {
    const std::string name = entry.path().filename().string();
    const std::size_t dot = name.find('.');
    if (entry.is_regular_file() && dot != std::string::npos && dot + 1 < name.size() &&
        (name[dot + 1] == 'C' || name[dot + 1] == 'c')) {
      files.push_back(entry.path());
    }
  }
  return files;
}

void CopyInto(const std::vector<fs::path>& files, const fs::path& directory) {
  fs::create_directories(directory);
  for (const fs::path& file : files) {
    fs::copy_file(file, directory / file.filename(), fs::copy_options::overwrite_existing);
  }
}

DiffListing WholeListing(const fs::path& copy, const fs::path& original) {
  DiffListing listing = ReadListing(copy.string());
  if (!listing.whole) {
    throw Failure(original.string() + ": no whole listing" +
                  (listing.stop.empty() ? std::string() : " (" + listing.stop + ")"));
  }
  return listing;
}

// Lists the domain file `file` from a copy in `scratch`/`side`: its own files first; a domain
// that reads other domains of its data set (a node and its file list) from a copy of them all.
DiffListing ListCopy(const fs::path& file, const fs::path& scratch, const std::string& side) {
  const fs::path directory = scratch / side;
  CopyInto(DomainFiles(file), directory);
  DiffListing listing = ReadListing((directory / file.filename()).string());
  if (listing.whole) return listing;
  CopyInto(DataSetFiles(file.parent_path()), directory);
  return WholeListing(directory / file.filename(), file);
}

void PrintField(std::ostream& out, char sign, const DiffField& field) {
  out << sign << "  " << (field.label.empty() ? "(word)" : field.label) << "  " << field.hex << "  "
      << field.value << "  at " << field.offset << "\n";
}

// A place added or removed whole: its fields, and the fields of each inner place under its name.
void PrintNode(std::ostream& out, char sign, const DiffNode& node, const std::string& place) {
  for (const DiffField& field : node.fields) PrintField(out, sign, field);
  for (const DiffNode& child : node.children) {
    const std::string inner = place + " > " + PlaceText(child);
    out << sign << " " << inner << "\n";
    PrintNode(out, sign, child, inner);
  }
}

void PrintText(std::ostream& out, const std::string& a, const std::string& b,
               const std::vector<Difference>& differences) {
  out << "--- " << a << "\n+++ " << b << "\n";
  std::string place = "\n";
  for (const Difference& d : differences) {
    if (d.node != nullptr) {
      out << "@@ " << d.place << (d.kind == Difference::Kind::added ? " added" : " removed")
          << " @@\n";
      PrintNode(out, d.kind == Difference::Kind::added ? '+' : '-', *d.node, d.place);
      place = "\n";
      continue;
    }
    if (d.place != place) out << "@@ " << (d.place.empty() ? "(top)" : d.place) << " @@\n";
    place = d.place;
    if (d.a != nullptr) PrintField(out, '-', *d.a);
    if (d.b != nullptr) PrintField(out, '+', *d.b);
  }
}

void AppendSide(std::string& line, std::string_view name, const DiffField* field) {
  if (field == nullptr) return;
  line += ",\"";
  line += name;
  line += "\":{\"offset\":" + std::to_string(field->offset) + ",\"hex\":\"" + field->hex +
          "\",\"value\":" + field->value + "}";
}

std::string_view KindText(Difference::Kind kind) {
  switch (kind) {
    case Difference::Kind::changed:
      return "changed";
    case Difference::Kind::added:
      return "added";
    case Difference::Kind::removed:
      return "removed";
  }
  return "changed";
}

void PrintJson(std::ostream& out, const std::string& a, const std::string& b,
               const std::vector<Difference>& differences) {
  std::string line = "{\"event\":\"files\",\"a\":";
  AppendJsonString(line, a);
  line += ",\"b\":";
  AppendJsonString(line, b);
  out << line << "}\n";
  for (const Difference& d : differences) {
    line = "{\"event\":\"difference\",\"kind\":\"";
    line += KindText(d.kind);
    line += "\",\"place\":";
    AppendJsonString(line, d.place);
    if (d.node != nullptr) {
      line += ",\"whole\":true";
    } else {
      line += ",\"label\":";
      AppendJsonString(line, d.label);
    }
    AppendSide(line, "a", d.a);
    AppendSide(line, "b", d.b);
    out << line << "}\n";
  }
}

void Print(const DiffCommandOptions& options, const std::string& a, const std::string& b,
           const std::vector<Difference>& differences) {
  if (differences.empty()) return;
  if (options.format == "json") {
    PrintJson(std::cout, a, b, differences);
  } else {
    PrintText(std::cout, a, b, differences);
  }
}

// Compares two domain files; true when they differ.
bool CompareFiles(const fs::path& a, const fs::path& b, const DiffCommandOptions& options,
                  const Scratch& scratch) {
  const DiffListing left = ListCopy(a, scratch.Path(), "a");
  const DiffListing right = ListCopy(b, scratch.Path(), "b");
  const std::vector<Difference> differences =
      CompareListings(left, right, DiffOptions{options.noTimes});
  Print(options, a.string(), b.string(), differences);
  return !differences.empty();
}

// The newest version of each domain of a data set, by type, first scope and object.
std::map<std::string, fs::path> NewestDomains(const fs::path& directory) {
  std::map<std::string, std::pair<int, fs::path>> newest;
  std::vector<DataSetName> names;
  std::map<std::string, bool> present;
  for (const auto& entry : fs::directory_iterator(directory)) {
    if (!entry.is_regular_file()) continue;
    const std::string file = entry.path().filename().string();
    if (ParseName(file)) present[file] = true;
  }
  for (const auto& [file, unused] : present) {
    const DataSetName name = *ParseName(file);
    // A file that follows another of its domain is one of that domain's further parts.
    if (name.scope > 0 && present.count(NameOf(name, name.scope - 1)) != 0) continue;
    const std::string key =
        name.type + " scope " + std::to_string(name.scope) + " object " + name.object;
    auto& slot = newest[key];
    if (slot.second.empty() || name.version > slot.first) {
      slot = {name.version, directory / file};
    }
  }
  std::map<std::string, fs::path> result;
  for (auto& [key, found] : newest) result[key] = found.second;
  return result;
}

std::string FileBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool SameBytes(const std::vector<fs::path>& a, const std::vector<fs::path>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FileBytes(a[i]) != FileBytes(b[i])) return false;
  }
  return true;
}

bool CompareDataSets(const fs::path& a, const fs::path& b, const DiffCommandOptions& options,
                     const Scratch& scratch) {
  const auto left = NewestDomains(a);
  const auto right = NewestDomains(b);
  const bool json = options.format == "json";
  const auto report = [&](std::string_view status, const std::string& key, const fs::path* x,
                          const fs::path* y) {
    if (json) {
      std::string line =
          "{\"event\":\"domain\",\"status\":\"" + std::string(status) + "\",\"domain\":";
      AppendJsonString(line, key);
      if (x != nullptr) {
        line += ",\"a\":";
        AppendJsonString(line, x->filename().string());
      }
      if (y != nullptr) {
        line += ",\"b\":";
        AppendJsonString(line, y->filename().string());
      }
      std::cout << line << "}\n";
    } else {
      std::cout << status << " " << key << ": " << (x != nullptr ? x->filename().string() : "-")
                << " -> " << (y != nullptr ? y->filename().string() : "-") << "\n";
    }
  };
  bool different = false;
  std::vector<std::pair<fs::path, fs::path>> pairs;
  for (const auto& [key, file] : left) {
    if (right.count(key) == 0) {
      report("removed", key, &file, nullptr);
      different = true;
    } else {
      pairs.emplace_back(file, right.at(key));
    }
  }
  for (const auto& [key, file] : right) {
    if (left.count(key) == 0) {
      report("added", key, nullptr, &file);
      different = true;
    }
  }
  // Changed domains first as a list, then their field differences.
  std::vector<std::pair<fs::path, fs::path>> listed;
  CopyInto(DataSetFiles(a), scratch.Path() / "a");
  CopyInto(DataSetFiles(b), scratch.Path() / "b");
  for (const auto& [x, y] : pairs) {
    const DiffListing l = ReadListing((scratch.Path() / "a" / x.filename()).string());
    const DiffListing r = ReadListing((scratch.Path() / "b" / y.filename()).string());
    if (!l.whole || !r.whole) {
      // A kind without a listing (a node's file list) is compared by its files' bytes.
      if (l.stop != r.stop || !SameBytes(DomainFiles(x), DomainFiles(y))) {
        report(l.whole || r.whole ? "changed" : "changed (no listing, the files differ)",
               x.filename().string(), &x, &y);
        different = true;
      }
      continue;
    }
    if (CompareListings(l, r, DiffOptions{options.noTimes}).empty()) continue;
    const std::optional<DataSetName> name = ParseName(x.filename().string());
    report("changed",
           name ? name->type + " scope " + std::to_string(name->scope) + " object " + name->object
                : x.filename().string(),
           &x, &y);
    listed.emplace_back(x, y);
    different = true;
  }
  for (const auto& [x, y] : listed) {
    Print(options, x.string(), y.string(),
          CompareListings(WholeListing(scratch.Path() / "a" / x.filename(), x),
                          WholeListing(scratch.Path() / "b" / y.filename(), y),
                          DiffOptions{options.noTimes}));
  }
  return different;
}

int Diff(const DiffCommandOptions& options) {
  try {
    const fs::path a = options.a;
    const fs::path b = options.b;
    for (const fs::path& p : {a, b}) {
      if (!fs::exists(p)) throw Failure(p.string() + ": file not found");
    }
    const Scratch scratch;
    bool different = false;
    if (fs::is_directory(a) && fs::is_directory(b)) {
      different = CompareDataSets(a, b, options, scratch);
    } else if (!fs::is_directory(a) && !fs::is_directory(b)) {
      different = CompareFiles(a, b, options, scratch);
    } else {
      throw Failure("compare two files or two data-set directories, not one of each");
    }
    std::cout.flush();
    return different ? kExitDifferent : kExitEqual;
  } catch (const std::exception& failure) {
    std::cerr << "morvit diff: " << DescribeFailure(failure) << "\n";
    return kExitTrouble;
  }
}

}  // namespace

CommandAction AddDiffCommand(CLI::App& app) {
  auto options = std::make_shared<DiffCommandOptions>();
  CLI::App* command = app.add_subcommand(
      "diff", "Compares two domain files field by field, or two data sets domain by domain");
  command->add_option("A", options->a, "a domain file or a data-set directory")->required();
  command->add_option("B", options->b, "the domain file or data-set directory to compare with")
      ->required();
  command->add_flag("--no-times", options->noTimes, "time stamps are not compared");
  command
      ->add_option("--format", options->format,
                   "text: like a unified diff; json: one JSON object per line")
      ->check(CLI::IsMember({"text", "json"}));
  return [options] { return Diff(*options); };
}

}  // namespace morvit::tool
