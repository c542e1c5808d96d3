// `morvit dump FILE...`: the listing of each domain file beside it (or on standard output),
// as the library writes it. A directory stands for every domain file in it. The library lists
// in a private view of the file's directory; only a complete listing leaves it.

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>

#include "cli/Commands.h"
#include "cli/Failure.h"
#include "cli/Interrupts.h"
#include "cli/ScopedHost.h"
#include "cli/Session.h"
#include "cli/StandardStreams.h"
#include "cli/ToolPlatform.h"
#include "dataset/PrivateView.h"
#include "listing/DumpDirectory.h"
#include "listing/ListingJson.h"
#include "morvit/VBase.h"
#include "morvit/VDataSet.h"
#include "morvit/VHostServices.h"
#include "morvit/VManager.h"

namespace morvit::tool {
namespace {

namespace fs = std::filesystem;

struct DumpOptions {
  std::vector<std::string> files;
  bool toStandardOutput = false;
  bool noLineNumbers = false;
  bool noTimes = false;
  std::string format = "text";
};

// The listing's name: the letter after the first '.' becomes 'D'. A name without one, or a
// listing itself, would have its listing written over the file: refused; so is a staging file.
std::string ListingName(const fs::path& file) {
  std::string name = Utf8(file.filename());
  if (IsStagingName(name)) {
    throw Failure(Utf8(file) +
                  ": a staging file of a generation that did not finish, not a "
                  "domain file (morvit check lists them)");
  }
  const std::size_t dot = name.find('.');
  if (dot == std::string::npos || dot + 1 >= name.size()) {
    throw Failure(Utf8(file) + ": no extension, so its listing would replace the file");
  }
  if (name[dot + 1] == 'D' || name[dot + 1] == 'd') {
    throw Failure(Utf8(file) + ": a listing itself (its extension starts with D)");
  }
  name[dot + 1] = 'D';
  return name;
}

std::vector<fs::path> ExpandArguments(const std::vector<std::string>& arguments) {
  std::vector<fs::path> files;
  for (const std::string& argument : arguments) {
    // The listing goes beside the file and is named after it: a stream has neither place nor
    // name, so "-" is refused rather than taken for a file of that name.
    if (IsStandardStream(argument)) {
      throw Failure("-: a domain file is listed by its name and directory; give the file itself");
    }
    const fs::path path = fs::absolute(PathFromUtf8(argument));
    if (!fs::exists(path)) throw CFileException(CFileException::fileNotFound, ENOENT, argument);
    if (!fs::is_directory(path)) {
      files.push_back(path);
      continue;
    }
    // Each domain once, from its first file: the listing of a split domain is that of its
    // whole expansion.
    std::vector<fs::path> found;
    for (const VDataSetDomain& domain : VReadDataSet(Utf8(path)).domains) {
      found.push_back(path / PathFromUtf8(domain.file));
    }
    if (found.empty()) throw Failure(argument + ": no domain files in this directory");
    std::sort(found.begin(), found.end());
    files.insert(files.end(), found.begin(), found.end());
  }
  return files;
}

// The private views of the directories dumped, one per directory, made when first needed.
class Views {
 public:
  const fs::path& For(const fs::path& file) {
    auto found = m_views.find(file.parent_path());
    if (found == m_views.end()) {
      found = m_views.emplace(file.parent_path(), std::make_unique<PrivateView>(file.parent_path()))
                  .first;
    }
    // A file the view leaves out (an `X` or `Z` sibling named on the command line) is copied in.
    const fs::path inView = found->second->Data() / file.filename();
    if (!fs::exists(inView)) fs::copy_file(file, inView);
    return found->second->Data();
  }

  // The library's inventory of a file's directory with its verdicts, read once.
  const VDataSetInventory& Inventory(const fs::path& file) {
    auto found = m_inventories.find(file.parent_path());
    if (found == m_inventories.end()) {
      VDataSetInventory inventory = VReadDataSet(Utf8(file.parent_path()));
      VJudgeDomains(inventory, Utf8(For(file)));
      found = m_inventories.emplace(file.parent_path(), std::move(inventory)).first;
    }
    return found->second;
  }

 private:
  std::map<fs::path, std::unique_ptr<PrivateView>> m_views;
  std::map<fs::path, VDataSetInventory> m_inventories;
};

// Puts a complete listing from the view in place beside its file: renamed when the view is on
// the same file system, else copied under a temporary name first and renamed, so that the
// previous listing stays until the new one is whole.
void PlaceListing(const fs::path& from, const fs::path& to) {
  std::error_code error;
  fs::rename(from, to, error);
  if (!error) return;
  const fs::path partial = Utf8(to) + "~listing";
  try {
    fs::copy_file(from, partial, fs::copy_options::overwrite_existing);
    fs::rename(partial, to);
  } catch (const fs::filesystem_error& failure) {
    std::error_code ignored;
    fs::remove(partial, ignored);
    // The listing the user asks for is what cannot be written, not the view's copy.
    const int code = failure.code().value();
    throw CFileException(CFileException::OsErrorToCause(code), code, Utf8(to));
  }
}

// The reader of a dump for messages: "class" or "driver, CODE mode".
std::string Reader(const VDumpResult& result) {
  return result.mode.empty() ? result.reader : result.reader + ", " + result.mode + " mode";
}

// Dumps one file in its private view; puts a whole listing in place or on standard output.
// Returns false for a kind of file without a listing (a note, not a failure).
// The library's verdict of the domain a file is the first file of: a file that is not sound is
// not listed (its listing could not be whole). Null for a file that is no domain's.
const VDataSetDomain* SoundDomainOf(const fs::path& file, const VDataSetInventory& inventory) {
  const VDataSetDomain* domain = VFindDomainOfFile(inventory, Utf8(file.filename()));
  if (domain != nullptr && domain->verdict != VVerdict::sound) {
    throw Failure(Utf8(file) + ": " + VDescribeVerdict(*domain));
  }
  return domain;
}

bool DumpFile(Views& views, const fs::path& file, bool toStandardOutput) {
  const fs::path listing = file.parent_path() / ListingName(file);
  const VDataSetDomain* domain = SoundDomainOf(file, views.Inventory(file));
  const fs::path view = views.For(file);
  VDumpResult result;
  {
    DumpDirectory directory(view);
    VManager manager(nullptr);
    result = manager.DumpDomainFile(Utf8(file.filename()));
  }
  // The view's place in the library's words is the file's own directory for the user.
  result.where = ShownPath(result.where, view, file.parent_path());
  switch (result.outcome) {
    case VDumpResult::kNoListing:
      // A sound domain of a kind without a listing is a note; any other file not listed fails.
      if (domain == nullptr) {
        throw Failure(Utf8(file) + ": no listing (" + result.where + ")");
      }
      Session::Current().GetReport().AddFinding(
          {"note", Utf8(file), "", "no listing (" + result.where + ")"});
      if (!Session::Current().Quiet()) {
        std::cerr << "morvit dump: note: " << Utf8(file) << ": no listing (" << result.where
                  << ")\n";
      }
      return false;
    case VDumpResult::kNotWritten:
      throw Failure(Utf8(file) + ": no listing written (" + Reader(result) + "): " + result.where);
    case VDumpResult::kStoppedShort:
      throw Failure(Utf8(file) + ": listing stopped short (" + Reader(result) +
                    "): " + result.where);
    case VDumpResult::kWritten:
      break;
  }
  const fs::path written = view / fs::path(result.listing).filename();
  if (toStandardOutput) {
    CopyToStandardOutput(written);
  } else {
    PlaceListing(written, listing);
    Session::Current().Out() << Utf8(file) << " -> " << Utf8(listing) << "\n";
  }
  Session::Current().GetReport().AddListing(Utf8(file), toStandardOutput ? "" : Utf8(listing));
  return true;
}

int Dump(const DumpOptions& options) {
  if (options.toStandardOutput) Session::Current().ClaimStandardOutput("--stdout");
  const std::vector<fs::path> files = ExpandArguments(options.files);
  VBase_EnableLineNumbers(options.noLineNumbers ? 0 : 1);
  VBase_EnableTimeOutput(options.noTimes ? 0 : 1);
  InterruptWatch interrupts;
  Views views;
  if (options.format == "json") {
    // The events are read in the private view too: nothing is written beside the files.
    return DumpAsJson(files,
                      [&](const fs::path& file) { return views.For(file) / file.filename(); });
  }
  // Every file is tried; each failure is reported, and any one fails the run.
  int failures = 0;
  InterruptMoment("dump:start");
  for (const fs::path& file : files) {
    if (&file == &files.back()) InterruptMoment("dump:listing");
    StopIfInterrupted("the listings stop here");
    try {
      DumpFile(views, file, options.toStandardOutput);
    } catch (const OutputFailure&) {
      throw;
    } catch (const std::exception& failure) {
      std::cerr << "morvit dump: " << DescribeFailure(failure) << "\n";
      Session::Current().GetReport().AddFinding(
          {"error", Utf8(file), "", DescribeFailure(failure)});
      ++failures;
    }
  }
  InterruptMoment("dump:end");
  StopIfInterrupted("the listings stop here");
  if (failures != 0)
    throw Failure(std::to_string(failures) + " of " + std::to_string(files.size()) +
                  " files not listed");
  return kExitSuccess;
}

}  // namespace

CommandAction AddDumpCommand(CLI::App& app) {
  auto options = std::make_shared<DumpOptions>();
  CLI::App* command =
      app.add_subcommand("dump", "Writes the listing of each domain file beside it");
  command->add_option("FILE", options->files, "domain files, or directories of them")->required();
  command->add_flag("--stdout", options->toStandardOutput,
                    "print the listings instead of writing them beside the files");
  command->add_flag("--no-line-numbers", options->noLineNumbers,
                    "no position in front of each word line");
  command->add_flag("--no-times", options->noTimes,
                    "time stamps as zero, so that listings compare equal");
  command
      ->add_option("--format", options->format,
                   "text: the listing files; json: the listing events as JSON lines on "
                   "standard output (docs/listing-events.md)")
      ->check(CLI::IsMember({"text", "json"}));
  Session::Current().AddReportOption(*command);
  return [options] { return Dump(*options); };
}

}  // namespace morvit::tool
