// `morvit diff A B`: two domain files compared field by field, or two data sets domain by
// domain (the newest version of each, paired by type, scope and object number). The files are
// listed from copies in a scratch directory, so the data sets stay exactly as they were (a
// compressed domain is expanded there, never beside the original).
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <optional>

#include "cli/Commands.h"
#include "cli/Failure.h"
#include "cli/ScratchDirectory.h"
#include "cli/ToolPlatform.h"
#include "dataset/DataSetInventory.h"
#include "listing/ListingDiff.h"
#include "listing/ListingEvents.h"
#include "listing/ListingJson.h"

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

void CopyInto(const std::vector<fs::path>& files, const fs::path& directory) {
  fs::create_directories(directory);
  for (const fs::path& file : files) {
    if (!file.empty()) {
      fs::copy_file(file, directory / file.filename(), fs::copy_options::overwrite_existing);
    }
  }
}

DiffListing WholeListing(const DomainEntry& domain, const fs::path& copies) {
  DiffListing listing = ReadListing(ListedFiles(domain, copies));
  if (!listing.whole) {
    throw Failure(Utf8(domain.file) + ": no whole listing" +
                  (listing.stop.empty() ? std::string() : " (" + listing.stop + ")"));
  }
  return listing;
}

// Lists the domain file `file` from a copy in `scratch`/`side`: its own files first; a domain
// that reads other domains of its data set (a node and its file list) from a copy of them all.
DiffListing ListCopy(const fs::path& file, const fs::path& scratch, const std::string& side) {
  const fs::path directory = scratch / side;
  const DomainEntry domain = DomainOf(file);
  CopyInto(domain.parts, directory);
  DiffListing listing = ReadListing(ListedFiles(domain, directory));
  if (listing.whole) return listing;
  CopyInto(DataSetFiles(file.parent_path()), directory);
  return WholeListing(domain, directory);
}

std::string FileBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A side that is not sound is no side to compare: the library's verdict, exit 2.
void RequireSound(const DomainEntry& domain) {
  if (domain.verdict != VVerdict::sound)
    throw Failure(Utf8(domain.file) + ": " + domain.headerProblem);
}

// The byte ranges in which two domains' files differ, "FILE bytes FIRST-LAST" (a file that only
// one side has, or a longer one, differs in the bytes the other lacks). With `noTimes` the time
// stamp of each file's common header (bytes 6 to 11) is not compared.
std::vector<std::string> DifferentBytes(const std::vector<fs::path>& a,
                                        const std::vector<fs::path>& b, bool noTimes) {
  std::vector<std::string> ranges;
  for (std::size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
    const std::string x = i < a.size() && !a[i].empty() ? FileBytes(a[i]) : std::string();
    const std::string y = i < b.size() && !b[i].empty() ? FileBytes(b[i]) : std::string();
    const fs::path& name = i < a.size() && !a[i].empty() ? a[i] : b[i];
    const auto differs = [&](std::size_t at) {
      if (noTimes && at >= 6 && at < 12) return false;
      return at >= x.size() || at >= y.size() || x[at] != y[at];
    };
    for (std::size_t at = 0; at < std::max(x.size(), y.size());) {
      if (!differs(at)) {
        ++at;
        continue;
      }
      std::size_t last = at;
      while (last + 1 < std::max(x.size(), y.size()) && differs(last + 1)) ++last;
      ranges.push_back(Utf8(name.filename()) + " bytes " + std::to_string(at) + "-" +
                       std::to_string(last));
      at = last + 1;
    }
  }
  return ranges;
}

// Whether the domain's kind has a listing: a node's file list has none.
bool HasListing(const DomainEntry& domain) {
  const VDomainType* type = VFindDomainType(domain.type);
  return type == nullptr || std::string_view(type->name) != "XBFI";
}

void PrintBytes(const std::vector<std::string>& ranges) {
  for (const std::string& range : ranges) std::cout << "bytes differ: " << range << "\n";
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
                  const ScratchDirectory& scratch) {
  const DomainEntry x = DomainOf(a, true);
  const DomainEntry y = DomainOf(b, true);
  RequireSound(x);
  RequireSound(y);
  if (x.verdict == VVerdict::sound && y.verdict == VVerdict::sound &&
      (!HasListing(x) || !HasListing(y))) {
    // A kind without a listing (a node's file list) is compared by its bytes.
    const std::vector<std::string> ranges = DifferentBytes(x.parts, y.parts, options.noTimes);
    PrintBytes(ranges);
    return !ranges.empty();
  }
  const DiffListing left = ListCopy(a, scratch.Path(), "a");
  const DiffListing right = ListCopy(b, scratch.Path(), "b");
  const std::vector<Difference> differences =
      CompareListings(left, right, DiffOptions{options.noTimes});
  Print(options, Utf8(a), Utf8(b), differences);
  if (!differences.empty()) return true;
  const std::vector<std::string> ranges = DifferentBytes(x.parts, y.parts, options.noTimes);
  PrintBytes(ranges);
  return !ranges.empty();
}

bool SameBytes(const std::vector<fs::path>& a, const std::vector<fs::path>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FileBytes(a[i]) != FileBytes(b[i])) return false;
  }
  return true;
}

bool CompareDataSets(const fs::path& a, const fs::path& b, const DiffCommandOptions& options,
                     const ScratchDirectory& scratch) {
  const auto left = NewestDomains(a);
  const auto right = NewestDomains(b);
  for (const auto* side : {&left, &right}) {
    for (const auto& [key, domain] : *side) RequireSound(domain);
  }
  const bool json = options.format == "json";
  const auto report = [&](std::string_view status, const std::string& key, const fs::path* x,
                          const fs::path* y) {
    if (json) {
      std::string line =
          "{\"event\":\"domain\",\"status\":\"" + std::string(status) + "\",\"domain\":";
      AppendJsonString(line, key);
      if (x != nullptr) {
        line += ",\"a\":";
        AppendJsonString(line, Utf8(x->filename()));
      }
      if (y != nullptr) {
        line += ",\"b\":";
        AppendJsonString(line, Utf8(y->filename()));
      }
      std::cout << line << "}\n";
    } else {
      std::cout << status << " " << key << ": " << (x != nullptr ? Utf8(x->filename()) : "-")
                << " -> " << (y != nullptr ? Utf8(y->filename()) : "-") << "\n";
    }
  };
  bool different = false;
  std::vector<std::pair<const DomainEntry*, const DomainEntry*>> pairs;
  for (const auto& [key, domain] : left) {
    if (right.count(key) == 0) {
      report("removed", key, &domain.file, nullptr);
      different = true;
    } else {
      pairs.emplace_back(&domain, &right.at(key));
    }
  }
  for (const auto& [key, domain] : right) {
    if (left.count(key) == 0) {
      report("added", key, nullptr, &domain.file);
      different = true;
    }
  }
  // Changed domains first as a list, then their field differences.
  std::vector<std::pair<const DomainEntry*, const DomainEntry*>> listed;
  const fs::path copiesA = scratch.Path() / "a";
  const fs::path copiesB = scratch.Path() / "b";
  CopyInto(DataSetFiles(a), copiesA);
  CopyInto(DataSetFiles(b), copiesB);
  for (const auto& [x, y] : pairs) {
    const DiffListing l = ReadListing(ListedFiles(*x, copiesA));
    const DiffListing r = ReadListing(ListedFiles(*y, copiesB));
    if (!l.whole || !r.whole) {
      // A kind without a listing (a node's file list) is compared by its files' bytes.
      if (l.stop != r.stop || !SameBytes(x->parts, y->parts)) {
        report(l.whole || r.whole ? "changed" : "changed (no listing, the files differ)",
               Utf8(x->file.filename()), &x->file, &y->file);
        different = true;
      }
      continue;
    }
    if (CompareListings(l, r, DiffOptions{options.noTimes}).empty()) {
      const std::vector<std::string> ranges = DifferentBytes(x->parts, y->parts, options.noTimes);
      if (ranges.empty()) continue;
      report("changed", Utf8(x->file.filename()), &x->file, &y->file);
      PrintBytes(ranges);
      different = true;
      continue;
    }
    const std::optional<DataSetName> name = ParseName(Utf8(x->file.filename()));
    report("changed", name ? DomainKey(*name) : Utf8(x->file.filename()), &x->file, &y->file);
    listed.emplace_back(x, y);
    different = true;
  }
  for (const auto& [x, y] : listed) {
    Print(options, Utf8(x->file), Utf8(y->file),
          CompareListings(WholeListing(*x, copiesA), WholeListing(*y, copiesB),
                          DiffOptions{options.noTimes}));
  }
  return different;
}

int Diff(const DiffCommandOptions& options) {
  try {
    const fs::path a = PathFromUtf8(options.a);
    const fs::path b = PathFromUtf8(options.b);
    for (const fs::path& p : {a, b}) {
      if (!fs::exists(p)) throw Failure(Utf8(p) + ": file not found");
    }
    const ScratchDirectory scratch("diff");
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
