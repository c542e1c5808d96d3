// One verdict for every file: random damage applied to the domains of the example data set (every
// kind of domain it holds), then `check`, the view's data, `diff` against the original, `dump`'s
// exit and the warnings of the back-translation run that reads the damaged domain (node, db or
// pc, on the whole data set with the damage) must agree on each domain, and every change must be
// seen as damage or, by `diff`, as a difference (diff compares the damaged domain's first file
// with the original's). MORVIT_PROPERTY_CASES sets the number of cases (2,000 by default, about
// a minute on an idle development machine; 200 in the sanitizer build), MORVIT_PROPERTY_SEED the
// seed; both are printed.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <sstream>

#include "cli/Commands.h"
#include "dataset/DataSetCheck.h"
#include "dataset/DataSetInventory.h"
#include "fixtures/TestPlatform.h"
#include "fixtures/TestUtil.h"
#include "morvit/VDataSet.h"
#include "morvit/VHostServices.h"
#include "tool/ToolRun.h"

namespace morvit {

namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>;  // name -> bytes

Files Read(const fs::path& dir) {
  Files files;
  for (const auto& e : fs::directory_iterator(dir)) {
    if (e.is_regular_file())
      files[e.path().filename().string()] = tooltest::ReadText(e.path().string());
  }
  return files;
}

void Put(const fs::path& dir, const Files& files) {
  fs::remove_all(dir);
  fs::create_directories(dir);
  for (const auto& [name, bytes] : files) std::ofstream(dir / name, std::ios::binary) << bytes;
}

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// The tool in this process: its exit status; its output (standard output and error) in `said`.
int Tool(std::vector<std::string> arguments, std::string* said = nullptr) {
  arguments.insert(arguments.begin(), "morvit");
  std::vector<const char*> argv;
  for (const std::string& a : arguments) argv.push_back(a.c_str());
  std::ostringstream sink;
  // The runs' search for the newest file changes the current directory, to one that goes; a
  // command sets the library's directory settings in the environment. Both are put back, so
  // that the tests after this one (and the tools they start) find the process as it was.
  const fs::path cwd = fs::current_path();
  const char* const settings[] = {"MORVIT_DATA_DIR", "MORVIT_PROJECT_DIR",
                                  "MORVIT_OBJECT_DATABASE"};
  std::vector<std::optional<std::string>> kept;
  for (const char* name : settings) {
    const char* value = std::getenv(name);
    kept.push_back(value ? std::optional<std::string>(value) : std::nullopt);
  }
  auto* out = std::cout.rdbuf(sink.rdbuf());
  auto* err = std::cerr.rdbuf(sink.rdbuf());
  const int status = morvit::tool::RunTool(static_cast<int>(argv.size()), argv.data());
  std::cout.rdbuf(out);
  std::cerr.rdbuf(err);
  fs::current_path(cwd);
  for (std::size_t i = 0; i < std::size(settings); ++i) {
    testutil::SetEnvironment(settings[i], kept[i] ? kept[i]->c_str() : nullptr);
  }
  RereadHostSettings();
  if (said != nullptr) *said = sink.str();
  return status;
}

// The back-translation run that reads the domains of each area, in VDomainArea's order.
constexpr const char* kRuns[] = {"node", "db", "pc"};

// Each text after `mark` in `text`, up to the first `end`.
std::vector<std::string> After(const std::string& text, const std::string& mark, char end) {
  std::vector<std::string> found;
  for (std::size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at + 1)) {
    const std::size_t from = at + mark.size();
    found.push_back(text.substr(from, text.find(end, from) - from));
  }
  return found;
}

// A back-translation run of the data set in `data`: the files named by its warnings of domains
// skipped and by its stop ("?" for a domain of its kind found nowhere), whether it stopped, and
// the domain files it handed over (from its recorded calls).
struct RunOutcome {
  std::set<std::string> named;
  bool stopped = false;
  std::set<std::string> handedOver;
};

RunOutcome Backtranslate(const std::string& run, const fs::path& data, const fs::path& record) {
  std::string said;
  RunOutcome outcome;
  fs::remove(record);
  outcome.stopped = Tool({"backtranslate", run, "--data", data.string(), "--json-lines",
                          record.string(), "--answer", "GetPCProgNo=1", "--answer", "GetMaxTask=3"},
                         &said) != 0;
  for (const std::string& name : After(said, "back-translation: skipped ", ':'))
    outcome.named.insert(Upper(name));
  for (const std::string& name : After(said, "back-translation stopped: ", ':'))
    if (name.size() == 12 && name[8] == '.') outcome.named.insert(Upper(name));
  if (said.find("found no domain to back-translate") != std::string::npos)
    outcome.named.insert("?");
  for (const std::string& name :
       After(tooltest::ReadText(record.string()), "\"domain_file\":\"", '"'))
    outcome.handedOver.insert(Upper(name));
  return outcome;
}

std::uint64_t Setting(const char* name, std::uint64_t otherwise) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' ? std::stoull(value) : otherwise;
}

// A subset of the data set that stands on its own: one domain's files, with the node domains
// (a node reads its file list) and the other domain a damage involves.
struct Subset {
  std::string first;  // the damaged domain's first file
  Files files;
};

enum Damage { flip, cut, extend, dropPart, stalePart, caseOfName, swapFiles, headerWord, noise };
constexpr const char* kDamageNames[] = {"flip a byte",    "cut",         "extend",
                                        "drop a part",    "stale part",  "case",
                                        "swap two files", "header word", "random bytes"};

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// Applies `damage` to `files` (the subset of `domain`, whose parts are `parts`); false when it
// does not apply to this domain.
bool Apply(Damage damage, Files& files, const std::vector<std::string>& parts,
           const VDataSetDomain& domain, std::mt19937_64& random) {
  const auto pick = [&](std::size_t n) { return static_cast<std::size_t>(random() % n); };
  std::string& target = files[parts[pick(parts.size())]];
  switch (damage) {
    case flip:
      target[pick(target.size())] ^= static_cast<char>(1 + pick(255));
      return true;
    case cut:
      target.resize(pick(target.size()));
      return true;
    case extend:
      target += std::string(1 + pick(2048), static_cast<char>(pick(2) == 0 ? 0 : 1 + pick(255)));
      return true;
    case dropPart:
      files.erase(parts[pick(parts.size())]);
      return true;
    case stalePart: {
      if (domain.type == nullptr || domain.type->parts == VPartNaming::single) return false;
      const std::size_t scope = parts.size() + pick(3);
      std::string name = parts[0];
      name[2] = static_cast<char>('0' + scope / 10);
      name[3] = static_cast<char>('0' + scope % 10);
      std::string bytes = files[parts.back()];
      if (bytes.size() < 24) return false;
      bytes[3] = static_cast<char>(scope);
      bytes[14] = 0;
      bytes[15] = static_cast<char>(scope);
      bytes[16] = 0;
      bytes[17] = static_cast<char>(scope);  // counts scope + 1 parts
      files[name] = bytes;
      return true;
    }
    case caseOfName: {
      const std::string name = parts[pick(parts.size())];
      files[Lower(name)] = files[name];
      files.erase(name);
      return true;
    }
    case swapFiles: {
      std::vector<std::string> others;
      for (const auto& [name, bytes] : files) {
        if (name != parts[0] && VParseDataSetName(name)) others.push_back(name);
      }
      if (others.empty()) return false;
      std::swap(files[parts[0]], files[others[pick(others.size())]]);
      return true;
    }
    case headerWord: {
      const std::size_t at = 2 * pick(std::min<std::size_t>(target.size(), 50) / 2);
      if (at + 1 >= target.size()) return false;
      const unsigned value = static_cast<unsigned>(random());
      if ((target[at] == static_cast<char>(value >> 8)) &&
          (target[at + 1] == static_cast<char>(value)))
        return false;
      target[at] = static_cast<char>(value >> 8);
      target[at + 1] = static_cast<char>(value);
      return true;
    }
    case noise:
      for (char& c : target) c = static_cast<char>(random());
      return true;
  }
  return false;
}

constexpr auto kGuard = std::chrono::minutes(4);
// The sanitizer build runs ten times slower: it takes a tenth of the cases in the same time.
#if defined(__SANITIZE_ADDRESS__)
constexpr std::uint64_t kDefaultCases = 200;
#else
constexpr std::uint64_t kDefaultCases = 2000;
#endif

TEST(DataSetVerdict, EveryCommandGivesTheSameVerdictOnEveryFile) {
  testutil::ScratchDir dir;
  ASSERT_EQ(tooltest::GenerateExample(dir.path()).status, 0);
  const fs::path data = fs::path(dir.path()) / "data";
  for (const auto& e : fs::directory_iterator(data)) {
    if (!VParseDataSetName(e.path().filename().string())) fs::remove_all(e.path());
  }
  const Files all = Read(data);
  const VDataSetInventory base = VReadDataSet(data.string());
  std::vector<std::string> nodeFiles;
  for (const VDataSetDomain& d : base.domains) {
    if (d.type != nullptr && d.type->area == VDomainArea::node) {
      nodeFiles.insert(nodeFiles.end(), d.parts.begin(), d.parts.end());
    }
  }
  // The domain files each run hands over from the whole sound data set: the domains it reads.
  const fs::path record = fs::path(dir.path()) / "run.jsonl";
  std::map<std::string, std::set<std::string>> reads;
  for (const char* run : {"node", "db", "pc"}) {
    const RunOutcome outcome = Backtranslate(run, data, record);
    ASSERT_TRUE(!outcome.stopped && outcome.named.empty()) << run;
    reads[run] = outcome.handedOver;
  }
  for (const auto& e : fs::directory_iterator(data)) {
    if (!VParseDataSetName(e.path().filename().string())) fs::remove_all(e.path());
  }
  const std::uint64_t cases = Setting("MORVIT_PROPERTY_CASES", kDefaultCases);
  const std::uint64_t seed = Setting("MORVIT_PROPERTY_SEED", std::random_device{}());
  std::cout << "data-set verdict property: seed " << seed << ", " << cases << " cases" << std::endl;
  std::mt19937_64 random(seed);
  const fs::path original = fs::path(dir.path()) / "a";
  const fs::path changed = fs::path(dir.path()) / "b";
  const fs::path entire = fs::path(dir.path()) / "c";
  Put(entire, all);
  const auto started = std::chrono::steady_clock::now();
  std::uint64_t run = 0;
  std::map<std::string, int> perDamage;
  while (run < cases) {
    const VDataSetDomain& domain = base.domains[random() % base.domains.size()];
    Files subset;
    for (const std::string& f : domain.parts) subset[f] = all.at(f);
    const Damage damage = static_cast<Damage>(random() % std::size(kDamageNames));
    const VDataSetDomain& partner =
        damage == swapFiles ? base.domains[random() % base.domains.size()] : domain;
    for (const std::string& f : partner.parts) subset[f] = all.at(f);
    for (const VDataSetDomain* d : {&domain, &partner}) {
      if (d->type != nullptr && d->type->area == VDomainArea::node) {
        for (const std::string& f : nodeFiles) subset[f] = all.at(f);
      }
    }
    Files damaged = subset;
    if (!Apply(damage, damaged, domain.parts, domain, random)) continue;
    ++run;
    ++perDamage[kDamageNames[damage]];
    SCOPED_TRACE(std::string("case ") + std::to_string(run) + ": " + kDamageNames[damage] + " of " +
                 domain.file + " (seed " + std::to_string(seed) + ")");
    Put(original, subset);
    Put(changed, damaged);

    // check and the view's data: the same verdict on every domain.
    std::map<std::string, std::string> checked;
    for (const auto& finding : morvit::tool::CheckDataSet(changed).findings) {
      if (VParseDataSetName(finding.file)) checked[finding.file] = finding.text;
    }
    std::map<std::string, std::string> viewed;
    for (const auto& entry : morvit::tool::ReadInventory(changed, true)) {
      if (!entry.headerProblem.empty())
        viewed[entry.file.filename().string()] = entry.headerProblem;
    }
    EXPECT_EQ(checked, viewed);
    const bool unsound = !checked.empty();

    // diff against the original: exit 2 exactly when a side is not sound; a change that no one
    // sees as damage is a difference (a name that only changed case is the same domain).
    const VDataSetInventory after = VReadDataSet(changed.string());
    const VDataSetDomain* now = VFindDomainOfFile(after, domain.file);
    const int diffStatus = Tool({"diff", (original / domain.file).string(),
                                 (changed / (now != nullptr ? now->file : domain.file)).string()});
    const bool domainUnsound = now == nullptr || checked.count(now->file) != 0;
    EXPECT_EQ(diffStatus == 2, domainUnsound) << diffStatus;
    // Every change is seen: as damage, as a difference, or as a domain that is not there.
    if (damage != caseOfName) {
      EXPECT_TRUE(unsound || diffStatus == 1 || (now == nullptr && diffStatus == 2))
          << "a change nobody saw";
    }

    // dump of the first file of the domains the damage touched: it fails exactly on a domain
    // that is not sound.
    for (const VDataSetDomain& d : after.domains) {
      if (VFindDomainOfFile(base, d.file) != &domain &&
          VFindDomainOfFile(base, d.file) != &partner && VFindDomainOfFile(base, d.file) != nullptr)
        continue;
      const bool sound = checked.count(d.file) == 0;
      std::string said;
      const int dumpStatus = Tool({"dump", "--stdout", (changed / d.file).string()}, &said);
      EXPECT_EQ(dumpStatus == 0, sound)
          << d.file << " dump exit " << dumpStatus << ": " << said.substr(0, 400);
    }
    // The runs that read the damaged domains, on the whole data set with the damage: each
    // warning (a domain skipped, or the file a run stopped on) names a domain that is not
    // sound, or one that is gone.
    // (The whole data set stays in place; only the files of the subset change and go back.)
    const auto swapIn = [&](const Files& out, const Files& in) {
      for (const auto& [name, bytes] : out) fs::remove(entire / name);
      for (const auto& [name, bytes] : in) std::ofstream(entire / name, std::ios::binary) << bytes;
    };
    swapIn(subset, damaged);
    std::set<std::string> runs;
    for (const VDataSetDomain* d : {&domain, &partner}) {
      if (d->type != nullptr) runs.insert(kRuns[static_cast<int>(d->type->area)]);
    }
    for (const std::string& run : runs) {
      const RunOutcome outcome = Backtranslate(run, entire, record);
      const std::set<std::string>& named = outcome.named;
      for (const std::string& file : named) {
        const VDataSetDomain* d = VFindDomainOfFile(after, file);
        if (file.find('?') != std::string::npos || d == nullptr) {
          EXPECT_TRUE(unsound || now == nullptr) << run << " finds " << file << " missing";
        } else {
          EXPECT_EQ(checked.count(d->file), 1u) << run << " warns of " << file << ", sound";
        }
      }
      EXPECT_TRUE(!outcome.stopped || !named.empty()) << run << " stopped, naming no file";
      // A domain that is not sound is never handed over, and a run that reads one is not silent.
      for (const VDataSetDomain& d : after.domains) {
        if (checked.count(d.file) == 0 || reads[run].count(Upper(d.file)) == 0) continue;
        EXPECT_EQ(outcome.handedOver.count(Upper(d.file)), 0u) << run << " hands over " << d.file;
        EXPECT_FALSE(named.empty())
            << run << " reads " << d.file << " without a warning: " << checked[d.file];
      }
    }
    swapIn(damaged, subset);
    // A guard against a run that hangs, far beyond the minute the cases take.
    if (std::chrono::steady_clock::now() - started > kGuard) break;
    if (HasFailure()) break;
  }
  std::cout << "data-set verdict property: " << run << " cases in "
            << std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() -
                                                                started)
                   .count()
            << " s:";
  for (const auto& [name, count] : perDamage) std::cout << " " << name << " " << count;
  std::cout << std::endl;
  EXPECT_EQ(run, cases) << "stopped by the guard";
}

}  // namespace

}  // namespace morvit
