// Directory search by a name pattern with '*' and '?' wildcards, yielding bare names, and the
// file attributes of the host mapped to the attribute bits the callers test.
//
// Attribute bits on a POSIX host: read-only 0x01 (the owner may not write), hidden 0x02 (the
// name starts with '.'), system 0x04 (neither a regular file nor a directory: devices, pipes,
// sockets), directory 0x10, archive 0x20 (every regular file). A search mask works as on the
// original platform: regular files are always found; directories, hidden and system entries
// only when the mask has their bit. So mask 0 finds plain visible files, and mask 0xB7 finds
// every entry. "." and ".." are never yielded.
#ifndef MORVIT_SUPPORT_GFILEDIR_H
#define MORVIT_SUPPORT_GFILEDIR_H

#include <cstddef>
#include <vector>

#include "morvit/platform.h"

namespace morvit {

inline constexpr unsigned kAttributeReadOnly = 0x01;
inline constexpr unsigned kAttributeHidden = 0x02;
inline constexpr unsigned kAttributeSystem = 0x04;
inline constexpr unsigned kAttributeDirectory = 0x10;
inline constexpr unsigned kAttributeArchive = 0x20;

// Whether `name` matches `pattern`: '*' any run of characters, '?' any one character, letters
// without regard to case (names of the tool's files were case-blind where they came from);
// "*.*" matches every name, also one without a dot.
bool MatchesWildcard(const CString& pattern, const CString& name);

// An entry of a directory with its attribute bits (those of the entry a symbolic link leads
// to; a dangling link counts as a system entry).
struct DirectoryEntry {
  CString name;
  unsigned attributes;
  bool isLink;  // a symbolic link: tree walks never follow it out of their tree
};

// The entries of `directory` (empty: the current directory) in ascending name order, without
// "." and "..". An unreadable or missing directory gives none.
std::vector<DirectoryEntry> ReadDirectoryEntries(const CString& directory);

class GFileDir {
 public:
  GFileDir() = default;
  GFileDir(const GFileDir&) = delete;
  GFileDir& operator=(const GFileDir&) = delete;
  ~GFileDir() = default;

  // Starts a search: `pattern` is a directory part ('/' or '\' separators; none: the current
  // directory) and a name pattern. True when an entry matches; its bare name is written back
  // into `pattern`. Matches come in ascending name order.
  bool FindFirst(CString& pattern, unsigned attributeMask);
  // The next match's bare name; false at the end.
  bool FindNext(CString& name);
  void FindClose();

 private:
  std::vector<CString> m_matches;
  std::size_t m_next = 0;
};

}  // namespace morvit

#endif  // MORVIT_SUPPORT_GFILEDIR_H
