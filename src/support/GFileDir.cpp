// Directory search: wildcard matching, host attributes and the first/next/close cursor.
#include "support/GFileDir.h"

#include <algorithm>
#include <cctype>

#include "platform/HostSystem.h"

namespace morvit {

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

unsigned AttributesOf(const hostsys::DirectoryItem& item) {
  unsigned attributes = 0;
  if (item.directory) {
    attributes |= kAttributeDirectory;
  } else if (item.regular) {
    attributes |= kAttributeArchive;
  } else {
    attributes |= kAttributeSystem;
  }
  if (item.readOnly) attributes |= kAttributeReadOnly;
  if (item.hidden) attributes |= kAttributeHidden;
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
  std::vector<hostsys::DirectoryItem> items;
  hostsys::ListDirectory(directory.empty() ? CString(".") : directory, items);
  for (const hostsys::DirectoryItem& item : items) {
    entries.push_back({item.name, AttributesOf(item), item.link});
  }
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

}  // namespace morvit
