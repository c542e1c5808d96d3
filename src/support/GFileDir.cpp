// Directory search: wildcard matching, host attributes and the first/next/close cursor.
#include "support/GFileDir.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>

namespace {

bool SameLetter(char a, char b) {
  return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
}

// Iterative matcher: on a mismatch after a '*', retry with the star taking one more character.
bool Match(const CString& pattern, const CString& name) {
  std::size_t p = 0, n = 0;
  std::size_t starP = CString::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || SameLetter(pattern[p], name[n]))) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (starP != CString::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

unsigned AttributesOf(const CString& name, const struct stat& info) {
  unsigned attributes = 0;
  if (S_ISDIR(info.st_mode)) {
    attributes |= kAttributeDirectory;
  } else if (S_ISREG(info.st_mode)) {
    attributes |= kAttributeArchive;
  } else {
    attributes |= kAttributeSystem;
  }
  if ((info.st_mode & S_IWUSR) == 0) attributes |= kAttributeReadOnly;
  if (!name.empty() && name[0] == '.') attributes |= kAttributeHidden;
  return attributes;
}

// Whether a search with `mask` yields an entry with `attributes`.
bool Wanted(unsigned attributes, unsigned mask) {
  const unsigned onlyOnRequest = kAttributeDirectory | kAttributeHidden | kAttributeSystem;
  return (attributes & onlyOnRequest & ~mask) == 0;
}

}  // namespace

bool MatchesWildcard(const CString& pattern, const CString& name) {
  return pattern == "*.*" ? true : Match(pattern, name);
}

std::vector<DirectoryEntry> ReadDirectoryEntries(const CString& directory) {
  std::vector<DirectoryEntry> entries;
  const CString base = directory.empty() ? CString(".") : CFile::HostPath(directory);
  DIR* dir = ::opendir(base.c_str());
  if (dir == nullptr) return entries;
  while (const dirent* entry = ::readdir(dir)) {
    const CString name = entry->d_name;
    if (name == "." || name == "..") continue;
    struct stat link {};
    // An entry that vanished or cannot be examined is left out.
    if (::fstatat(::dirfd(dir), name.c_str(), &link, AT_SYMLINK_NOFOLLOW) != 0) continue;
    struct stat target = link;
    const bool isLink = S_ISLNK(link.st_mode);
    if (isLink) ::fstatat(::dirfd(dir), name.c_str(), &target, 0);
    entries.push_back({name, AttributesOf(name, target), isLink});
  }
  ::closedir(dir);
  std::sort(entries.begin(), entries.end(),
            [](const DirectoryEntry& a, const DirectoryEntry& b) { return a.name < b.name; });
  return entries;
}

bool GFileDir::FindFirst(CString& pattern, unsigned attributeMask) {
  FindClose();
  const CString host = CFile::HostPath(pattern);
  const std::size_t slash = host.rfind('/');
  const CString directory = slash == CString::npos ? CString() : host.substr(0, slash + 1);
  const CString namePattern = slash == CString::npos ? host : host.substr(slash + 1);
  for (const DirectoryEntry& entry : ReadDirectoryEntries(directory)) {
    if (Wanted(entry.attributes, attributeMask) && MatchesWildcard(namePattern, entry.name)) {
      m_matches.push_back(entry.name);
    }
  }
  return FindNext(pattern);
}

bool GFileDir::FindNext(CString& name) {
  if (m_next >= m_matches.size()) return false;
  name = m_matches[m_next++];
  return true;
}

void GFileDir::FindClose() {
  m_matches.clear();
  m_next = 0;
}
