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
#include "cli/Interrupts.h"
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

// Byte ranges that differ where the fields compare equal: "bytes differ: FILE bytes A-B", or
// one JSON event each.
void PrintBytes(const DiffCommandOptions& options, const std::vector<std::string>& ranges) {
  for (const std::string& range : ranges) {
    if (options.format == "json") {
      std::string line = "{\"event\":\"bytes\",\"range\":";
      AppendJsonString(line, range);
      std::cout << line << "}\n";
    } else {
      std::cout << "bytes differ: " << range << "\n";
    }
  }
}

// How the offsets of a domain's listing are named: a compressed domain is listed expanded.
std::string_view OffsetName(bool expanded) {
  return expanded ? "offset in the expanded domain" : "file offset";
}

char Sign(Difference::Kind kind) {
  return kind == Difference::Kind::changed ? '~' : kind == Difference::Kind::added ? '+' : '-';
}

// Where a difference stands: one offset, or both when the sides differ in it.
std::string Where(const Difference& d, bool expanded) {
  std::string text = "  (" + std::string(OffsetName(expanded)) + " ";
  if (d.a && d.b && d.a->offset != d.b->offset) {
    return text + std::to_string(d.a->offset) + " -> " + std::to_string(d.b->offset) + ")";
  }
  return text + std::to_string(d.b ? d.b->offset : d.a->offset) + ")";
}

// One line per difference: "~ entry 7 \"PUMP_07\" value A: 42.0 -> 43.5  (file offset 60)"; a
// place added or removed whole, then what it held, one line each.
void PrintText(std::ostream& out, const std::vector<Difference>& differences, bool expanded) {
  for (const Difference& d : differences) {
    const char sign = Sign(d.kind);
    if (d.whole) {
      out << sign << " " << d.place << (d.kind == Difference::Kind::added ? " added" : " removed")
          << Where(d, expanded) << "\n";
      for (const auto& [label, side] : d.contents) {
        out << sign << "     " << (label.empty() ? "(word)" : label) << ": " << side.text << "\n";
      }
      continue;
    }
    out << sign << " " << (d.place.empty() ? "(top)" : d.place) << " "
        << (d.label.empty() ? "(word)" : d.label) << ": ";
    if (d.a) out << d.a->text;
    if (d.a && d.b) out << " -> ";
    if (d.b) out << d.b->text;
    out << Where(d, expanded) << "\n";
  }
}

void AppendSide(std::string& line, std::string_view name, const std::optional<DiffSide>& side) {
  if (!side) return;
  line += ",\"";
  line += name;
  line += "\":{\"offset\":" + std::to_string(side->offset);
  if (!side->json.empty()) line += "," + side->json;
  line += "}";
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

// One JSON object per difference, its old and new values typed; `domain` names the domain of
// a data set it belongs to (empty when two files are compared).
void PrintJson(std::ostream& out, const std::vector<Difference>& differences, bool expanded,
               const std::string& domain) {
  for (const Difference& d : differences) {
    std::string line = "{\"event\":\"difference\",\"kind\":\"";
    line += KindText(d.kind);
    line += "\"";
    if (!domain.empty()) {
      line += ",\"domain\":";
      AppendJsonString(line, domain);
    }
    line += ",\"place\":";
    AppendJsonString(line, d.place);
    line += ",\"offsets\":\"";
    line += expanded ? "expanded" : "file";
    line += "\"";
    if (d.whole) {
      line += ",\"whole\":true,\"contents\":[";
      for (std::size_t i = 0; i < d.contents.size(); ++i) {
        line += i == 0 ? "{\"label\":" : ",{\"label\":";
        AppendJsonString(line, d.contents[i].first);
        line += ",\"offset\":" + std::to_string(d.contents[i].second.offset) + "," +
                d.contents[i].second.json + "}";
      }
      line += "]";
      AppendSide(line, "a",
                 d.a ? std::optional<DiffSide>(DiffSide{d.a->offset, 0, {}, {}}) : std::nullopt);
      AppendSide(line, "b",
                 d.b ? std::optional<DiffSide>(DiffSide{d.b->offset, 0, {}, {}}) : std::nullopt);
    } else {
      line += ",\"label\":";
      AppendJsonString(line, d.label);
      AppendSide(line, "a", d.a);
      AppendSide(line, "b", d.b);
    }
    out << line << "}\n";
  }
}

void PrintFiles(const DiffCommandOptions& options, const std::string& a, const std::string& b) {
  if (options.format == "json") {
    std::string line = "{\"event\":\"files\",\"a\":";
    AppendJsonString(line, a);
    line += ",\"b\":";
    AppendJsonString(line, b);
    std::cout << line << "}\n";
  } else {
    std::cout << "--- " << a << "\n+++ " << b << "\n";
  }
}

void Print(const DiffCommandOptions& options, const std::vector<Difference>& differences,
           bool expanded, const std::string& domain = {}) {
  if (options.format == "json") {
    PrintJson(std::cout, differences, expanded, domain);
  } else {
    PrintText(std::cout, differences, expanded);
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
    PrintBytes(options, ranges);
    return !ranges.empty();
  }
  const DiffListing left = ListCopy(a, scratch.Path(), "a");
  InterruptMoment("diff:copies");
  StopIfInterrupted();
  const DiffListing right = ListCopy(b, scratch.Path(), "b");
  InterruptMoment("diff:compare");
  StopIfInterrupted();
  const std::vector<Difference> differences =
      CompareListings(left, right, DiffOptions{options.noTimes});
  if (differences.empty()) {
    const std::vector<std::string> ranges = DifferentBytes(x.parts, y.parts, options.noTimes);
    PrintBytes(options, ranges);
    return !ranges.empty();
  }
  PrintFiles(options, Utf8(a), Utf8(b));
  Print(options, differences, x.compressed);
  return true;
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
  // Each changed domain once: its line, then its differences. One pair of listings is held at
  // a time.
  const fs::path copiesA = scratch.Path() / "a";
  const fs::path copiesB = scratch.Path() / "b";
  CopyInto(DataSetFiles(a), copiesA);
  CopyInto(DataSetFiles(b), copiesB);
  InterruptMoment("diff:copies");
  for (const auto& [x, y] : pairs) {
    if (&x == &pairs.front().first) InterruptMoment("diff:compare");
    StopIfInterrupted();
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
    const std::vector<Difference> differences = CompareListings(l, r, DiffOptions{options.noTimes});
    if (differences.empty()) {
      const std::vector<std::string> ranges = DifferentBytes(x->parts, y->parts, options.noTimes);
      if (ranges.empty()) continue;
      report("changed", Utf8(x->file.filename()), &x->file, &y->file);
      PrintBytes(options, ranges);
      different = true;
      continue;
    }
    const std::optional<DataSetName> name = ParseName(Utf8(x->file.filename()));
    InterruptMoment("diff:print");
    StopIfInterrupted();
    const std::string key = name ? DomainKey(*name) : Utf8(x->file.filename());
    report("changed", key, &x->file, &y->file);
    Print(options, differences, x->compressed, key);
    different = true;
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
  } catch (const InterruptedRun&) {
    throw;
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
