// Checking a data set file by file through the library's own readers.
#include "dataset/DataSetCheck.h"

#include <algorithm>

#include "cli/Interrupts.h"
#include "cli/ToolPlatform.h"
#include "dataset/PrivateView.h"
#include "morvit/VManager.h"

namespace morvit::tool {
namespace {

namespace fs = std::filesystem;

// The letter after the extension's dot, in upper case, and where it is.
std::size_t LetterPlace(const std::string& name) {
  const std::size_t dot = name.find('.');
  return dot == std::string::npos || dot + 1 >= name.size() ? std::string::npos : dot + 1;
}

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

FileState CheckDomainFile(VManager& manager, const fs::path& view, const std::string& name) {
  const CFileException failure = manager.CheckDomainFile(Utf8(view / name));
  if (failure.m_cause == CFileException::none) return {name, FileState::kClean, ""};
  const std::string failed = Utf8(fs::path(failure.m_strFileName).filename());
  CFileException named = failure;
  named.m_strFileName = failed;
  if (!failed.empty() && failed != name) {
    if (failure.m_cause == CFileException::fileNotFound) {
      return {name, FileState::kIncomplete, "its part file " + failed + " is missing"};
    }
    return {name, FileState::kDamaged, "its part " + DescribeFileException(named)};
  }
  named.m_strFileName.clear();
  return {name, FileState::kDamaged, DescribeFileException(named)};
}

}  // namespace

const char* KindName(FileState::Kind kind) {
  switch (kind) {
    case FileState::kClean:
      return "reads cleanly";
    case FileState::kDamaged:
      return "damaged";
    case FileState::kIncomplete:
      return "incomplete";
    case FileState::kStaging:
      return "stale staging file";
    case FileState::kOrphan:
      return "orphan";
  }
  return "";
}

std::vector<FileState> CheckDataSet(const fs::path& directory) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(directory)) {
    if (entry.is_regular_file()) names.push_back(Utf8(entry.path().filename()));
  }
  std::sort(names.begin(), names.end());
  const PrivateView view(directory);
  InterruptMoment("check:view");
  VManager manager(nullptr);
  std::vector<FileState> states;
  for (const std::string& name : names) {
    if (states.size() == 1) InterruptMoment("check:read");
    StopIfInterrupted();
    const std::size_t place = LetterPlace(name);
    const char letter = place == std::string::npos ? '\0' : Upper(name[place]);
    if (IsStagingName(name)) {
      states.push_back({name, FileState::kStaging,
                        "left by a generation that did not finish; the next generation of its "
                        "domain removes it"});
    } else if (letter == 'X' || letter == 'Z') {
      std::string domain = name;
      domain[place] = 'C';
      if (std::find(names.begin(), names.end(), domain) == names.end()) {
        states.push_back({name, FileState::kOrphan, "its domain file " + domain + " is missing"});
      }
    } else if (letter == 'C') {
      states.push_back(CheckDomainFile(manager, view.Data(), name));
    }
  }
  return states;
}

std::map<std::string, std::string> CheckFindings(const std::filesystem::path& directory) {
  std::map<std::string, std::string> findings;
  for (const FileState& state : CheckDataSet(directory)) {
    if (state.kind != FileState::kClean) {
      // The site says "damaged: " itself; the other kinds are named.
      findings[state.file] = state.kind == FileState::kDamaged
                                 ? state.text
                                 : std::string(KindName(state.kind)) + ": " + state.text;
    }
  }
  return findings;
}

}  // namespace morvit::tool
