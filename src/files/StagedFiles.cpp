// Staging names, the move of a finished domain's files into place and the clean-up of a failed
// one.
#include "files/StagedFiles.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/Processes.h"

namespace morvit::staging {

namespace {

constexpr char kStagingMark = '~';

// The directory part of a path ("" for a bare name: the current directory).
CString DirectoryOf(const CString& path) {
  const CString host = CFile::HostPath(path);
  const std::size_t slash = host.find_last_of('/');
  return slash == CString::npos ? CString() : host.substr(0, slash + 1);
}

void RemoveQuietly(const CString& path) {
  try {
    CFile::Remove(path);
  } catch (const CFileException&) {
    // Absent already, or it cannot go: clean-up does not hide the failure being reported.
  }
}

// Removes the file at `path` if there is one; any failure other than its absence is raised.
void RemoveIfPresent(const CString& path) {
  try {
    CFile::Remove(path);
  } catch (const CFileException& e) {
    if (e.m_cause != CFileException::fileNotFound) throw;
  }
}

}  // namespace

// Where the staging mark sits in a path's file name, or npos.
std::size_t MarkPlace(const CString& path) {
  const std::size_t nameStart = path.find_last_of("/\\");
  const std::size_t mark = path.find(kStagingMark, nameStart == CString::npos ? 0 : nameStart + 1);
  return mark;
}

CString StagingPath(const CString& finalPath) {
  return finalPath + kStagingMark + std::to_string(processes::CurrentProcessId());
}

bool IsStaged(const CString& path) { return MarkPlace(path) != CString::npos; }

CString FinalPath(const CString& path) {
  const std::size_t mark = MarkPlace(path);
  return mark == CString::npos ? path : path.substr(0, mark);
}

// A staging file is stale when the process that wrote it no longer runs: a name without a
// process number (an older staging name) always is.
bool IsStale(const std::string& suffix) {
  if (suffix.empty()) return true;
  if (suffix.find_first_not_of("0123456789") != std::string::npos || suffix.size() > 9) {
    return false;
  }
  return !processes::ProcessRuns(std::stol(suffix));
}

void RemoveStale(const CString& finalPath) {
  namespace fs = std::filesystem;
  const CString host = CFile::HostPath(finalPath);
  const fs::path path(host);
  const std::string prefix = path.filename().string() + kStagingMark;
  const fs::path directory = path.has_parent_path() ? path.parent_path() : fs::path(".");
  std::error_code error;
  for (fs::directory_iterator it(directory, error), end; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (name.compare(0, prefix.size(), prefix) == 0 && IsStale(name.substr(prefix.size()))) {
      RemoveQuietly(it->path().string());
    }
  }
}

void Publish(const std::vector<CString>& stagedPaths) {
  std::vector<CString> staged;  // each once: a file closed twice is recorded twice
  for (const CString& path : stagedPaths) {
    if (IsStaged(path) && std::find(staged.begin(), staged.end(), path) == staged.end()) {
      staged.push_back(path);
    }
  }
  if (staged.empty()) return;
  // One process at a time moves files into place in a directory: two generations of the same
  // domain at once leave the one that finished last, whole, never a mix of the two.
  const processes::DirectoryLock lock(DirectoryOf(staged.front()));
  // The first file of an earlier domain under the same name would count parts and lead a
  // reader into the new ones while they are being moved: it goes first.
  if (staged.size() > 1) RemoveIfPresent(FinalPath(staged.front()));
  std::vector<CString> placed;
  try {
    for (auto it = staged.rbegin(); it != staged.rend(); ++it) {
      CFile::Rename(*it, FinalPath(*it));
      placed.push_back(FinalPath(*it));
    }
    CFile::SyncDirectory(DirectoryOf(staged.front()));
  } catch (const CFileException&) {
    // The first file goes first: from then on no search finds the rest.
    for (auto it = placed.rbegin(); it != placed.rend(); ++it) RemoveQuietly(*it);
    throw;
  }
}

void Discard(const std::vector<CString>& paths) {
  for (const CString& path : paths) RemoveQuietly(path);
}

}  // namespace morvit::staging
