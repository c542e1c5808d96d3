// Staging names, the move of a finished domain's files into place and the clean-up of a failed
// one.
#include "files/StagedFiles.h"

#include <algorithm>

namespace staging {

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

CString StagingPath(const CString& finalPath) { return finalPath + kStagingMark; }

bool IsStaged(const CString& path) { return !path.empty() && path.back() == kStagingMark; }

CString FinalPath(const CString& path) {
  return IsStaged(path) ? path.substr(0, path.size() - 1) : path;
}

void Publish(const std::vector<CString>& stagedPaths) {
  std::vector<CString> staged;  // each once: a file closed twice is recorded twice
  for (const CString& path : stagedPaths) {
    if (IsStaged(path) && std::find(staged.begin(), staged.end(), path) == staged.end()) {
      staged.push_back(path);
    }
  }
  if (staged.empty()) return;
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

}  // namespace staging
