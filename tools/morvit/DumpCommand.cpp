// `morvit dump FILE...`: the listing of each domain file beside it (or on standard output),
// as the library writes it. A directory stands for every domain file in it.
#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "Commands.h"
#include "Failure.h"
#include "morvit/VBase.h"
#include "morvit/VHostServices.h"

namespace morvit::tool {
namespace {

namespace fs = std::filesystem;

struct DumpOptions {
  std::vector<std::string> files;
  bool toStandardOutput = false;
  bool noLineNumbers = false;
  bool noTimes = false;
};

// While a file is dumped, its directory is the data-set directory (the class dump reads the
// domain's further files through it) and the working directory (the generic lister works on
// the bare name).
class DumpDirectory : public VHostServices {
 public:
  explicit DumpDirectory(const fs::path& directory)
      : m_directory(directory.string() + "/"), m_previous(SetHost(this)) {
    m_cwd = fs::current_path();
    fs::current_path(directory);
  }
  ~DumpDirectory() override {
    std::error_code ignored;
    fs::current_path(m_cwd, ignored);
    SetHost(m_previous);
  }
  CString DataSetDirectory(const ObjParcelType&) override { return m_directory; }

 private:
  CString m_directory;
  VHostServices* m_previous;
  fs::path m_cwd;
};

// Domain files are the `C` siblings: the first letter of the extension (README).
bool IsDomainFileName(const std::string& name) {
  const std::size_t dot = name.find('.');
  return dot != std::string::npos && dot + 1 < name.size() &&
         (name[dot + 1] == 'C' || name[dot + 1] == 'c');
}

// The listing's name: the letter after the first '.' becomes 'D'. A name without one, or a
// listing itself, would have its listing written over the file: refused.
std::string ListingName(const fs::path& file) {
  std::string name = file.filename().string();
  const std::size_t dot = name.find('.');
  if (dot == std::string::npos || dot + 1 >= name.size()) {
    throw Failure(file.string() + ": no extension, so its listing would replace the file");
  }
  if (name[dot + 1] == 'D' || name[dot + 1] == 'd') {
    throw Failure(file.string() + ": a listing itself (its extension starts with D)");
  }
  name[dot + 1] = 'D';
  return name;
}

std::vector<fs::path> ExpandArguments(const std::vector<std::string>& arguments) {
  std::vector<fs::path> files;
  for (const std::string& argument : arguments) {
    const fs::path path = fs::absolute(argument);
    if (!fs::exists(path)) throw CFileException(CFileException::fileNotFound, ENOENT, argument);
    if (!fs::is_directory(path)) {
      files.push_back(path);
      continue;
    }
    std::vector<fs::path> found;
    for (const auto& entry : fs::directory_iterator(path)) {
      if (entry.is_regular_file() && IsDomainFileName(entry.path().filename().string())) {
        found.push_back(entry.path());
      }
    }
    if (found.empty()) throw Failure(argument + ": no domain files in this directory");
    std::sort(found.begin(), found.end());
    files.insert(files.end(), found.begin(), found.end());
  }
  return files;
}

// Dumps one file. A listing that was there before is replaced; for standard output it is moved
// aside and put back, so that printing a listing leaves the directory as it was.
void DumpFile(const fs::path& file, bool toStandardOutput) {
  const fs::path listing = file.parent_path() / ListingName(file);
  const fs::path kept = listing.string() + ".kept";
  const bool hadListing = fs::exists(listing);
  if (hadListing) {
    if (toStandardOutput) {
      fs::rename(listing, kept);
    } else {
      fs::remove(listing);
    }
  }
  try {
    DumpDirectory directory(file.parent_path());
    const std::string name = file.filename().string();
    VBase_DumpDomain(static_cast<std::uint16_t>(name.size()), name.c_str());
  } catch (...) {
    if (toStandardOutput && hadListing) fs::rename(kept, listing);
    throw;
  }
  const bool written = fs::exists(listing) && fs::file_size(listing) > 0;
  if (toStandardOutput && written) {
    std::cout << std::ifstream(listing).rdbuf();
    fs::remove(listing);
  }
  if (toStandardOutput && hadListing) fs::rename(kept, listing);
  if (!written) {
    fs::remove(listing);
    throw Failure(
        file.string() +
        ": no listing written (damaged, or of a kind without one, such as a node's file list)");
  }
  if (!toStandardOutput) std::cout << file.string() << " -> " << listing.string() << "\n";
}

int Dump(const DumpOptions& options) {
  const std::vector<fs::path> files = ExpandArguments(options.files);
  VBase_EnableLineNumbers(options.noLineNumbers ? 0 : 1);
  VBase_EnableTimeOutput(options.noTimes ? 0 : 1);
  // Every file is tried; each failure is reported, and any one fails the run.
  int failures = 0;
  for (const fs::path& file : files) {
    try {
      DumpFile(file, options.toStandardOutput);
    } catch (const std::exception& failure) {
      std::cerr << "morvit dump: " << DescribeFailure(failure) << "\n";
      ++failures;
    }
  }
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
  return [options] { return Dump(*options); };
}

}  // namespace morvit::tool
