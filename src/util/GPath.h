// GPath: a file or directory path taken apart (drive, directory, name, extension, share root),
// normalised, and the file-system operations around it: tests, creation of missing
// directories, tree walks with a progress callback, listings, temporary names, free space.
//
// Host paths: parts are separated by '/'; a '\' is accepted as a separator on input and comes
// out as '/' (Windows takes both). The case of every part is kept: a POSIX file system is
// case-sensitive, and on Windows, whose names are case-blind, the comparisons of names
// (current directory, last level) ignore case instead. Drive letters: a leading "X:" is parsed
// as the drive and kept (upper-cased); on Windows it names the drive, a POSIX host has one
// root, so there file-system operations ignore it. Network paths: "//server/share/..." has no
// drive and the share root "//server/share". On Windows a text is cut at the system's path
// length (260 characters) when it is parsed; a POSIX host takes longer paths, and reports a
// path it cannot take.
#ifndef MORVIT_UTIL_GPATH_H
#define MORVIT_UTIL_GPATH_H

#include <cstdint>
#include <functional>
#include <vector>

#include "morvit/platform.h"

namespace morvit {

class GPath : public CObject {
  DECLARE_RUNTIME_CLASS(GPath)

 public:
  // Parsing flags.
  static constexpr unsigned kBackslashToSlash = 2;  // turn '\' into '/' first (always done here)
  static constexpr unsigned kKeepBlanks = 4;        // do not trim white space
  // Accessor formats.
  static constexpr unsigned kNoTrailingSeparator = 1;
  static constexpr unsigned kSlashes = 2;  // '/' separators: the only form on this host

  // Tree-walk callback: (path, kind, address of the callback context). Kinds: 1 file,
  // 2 directory, 3 before the walk (empty path), 4 after the walk. Answers: 1 go on (before
  // the walk: ask for every item), 2 go on without asking further, anything else stop.
  static constexpr int kTreeFile = 1;
  static constexpr int kTreeDirectory = 2;
  static constexpr int kTreeStart = 3;
  static constexpr int kTreeEnd = 4;
  using TreeCallback = std::function<int(const CString& path, int kind, std::int32_t* context)>;

  // Parsed texts are cut at this length on Windows.
  static constexpr std::size_t kMaxPathLength = 260;
  // Free space reported when the host cannot tell.
  static constexpr std::uint32_t kUnknownFreeSpaceKB = 1000000;

  GPath() = default;
  GPath(const CString& path, int isFile) { Set(path, isFile, 0); }
  GPath(const CString& path, int isFile, unsigned flags) { Set(path, isFile, flags); }

  void Set(const CString& path, int isFile, unsigned flags = 0);

  CString GetDrive() const { return m_strDrive; }
  CString GetDirectory(unsigned format = 0) const;
  CString GetName() const { return m_strName; }
  CString GetExtension() const { return m_strExtension; }
  CString GetPath(unsigned format = 0) const;
  CString GetFileName() const { return m_strFileName; }
  CString GetShareRoot() const { return m_strShareRoot; }
  CString GetDriveDirectory(unsigned format = 0) const;

  // File-system tests and changes.
  static bool Exists(const CString& text);
  bool Access(int mode) const;
  bool DirectoryExists() const;
  bool ChangeDirectory() const;  // leaves the directory current on success
  bool IsDirectoryWritable() const;
  bool MakeFullPath();
  bool CompleteFromCurrent();
  int GetComponentCount() const;
  CString GetComponent(int index) const;
  bool LastComponentIs(const CString& a, const CString& b = CString(),
                       const CString& c = CString()) const;
  bool CreateDirectories() const;
  bool GoUp();
  void NameToUpper();
  void NameToLower();
  bool IsCurrentDirectory() const;
  bool FindInPathList(const CString& list);

  // Listings: the path is a search pattern (directory and name pattern). Mask 255 lists
  // every entry, another mask the entries whose attributes (GFileDir.h) share a bit with it.
  int CountFiles() const;
  void ListEntries(unsigned mask, std::vector<CString>& list) const;
  void ListTree(unsigned mask, std::vector<CString>& list) const;
  bool DeleteFiles(bool clearAttributes) const;

  // Tree walks over the path's directory; the first path that fails goes into `errorPath`.
  bool ChangeModeTree(unsigned mode, CString& errorPath, const TreeCallback& callback);
  bool DeleteTree(CString& errorPath, const TreeCallback& callback);

  // Temporary files and space.
  bool MakeTempFile(const CString& prefix = "~X", std::uint32_t minFreeKB = 0);
  std::uint32_t GetFreeSpace() const;
  int DriveType() const;

  static bool IsUrl(const CString& text);
  static bool IsFileInUse(const CString& text);
  static bool WaitForFile(const CString& text, long timeoutSeconds);
  static CString GetTempDirectory();
  static void SplitArguments(const CString& text, std::vector<CString>& list);
  static CString DriveName(int index);
  static int DriveIndex(const CString& text);

  // Drive types, as the original platform numbers them.
  static constexpr int kDriveFixed = 3;
  static constexpr int kDriveRemote = 4;

 private:
  enum class DirectoryTest { change, exists, writable };
  bool TestDirectory(DirectoryTest mode) const;
  // The directory levels after the share root.
  std::vector<CString> Components() const;
  // The path of the directory part as the host takes it (drive dropped where the host has one
  // root), without trailing '/'.
  CString HostDirectory() const;
  bool RunTreeWalk(bool deleting, unsigned mode, CString& errorPath, const TreeCallback& callback);
  bool WalkTree(const CString& directory, bool deleting, unsigned mode, CString& errorPath,
                const TreeCallback& callback, bool& failed);
  bool Offer(const CString& path, int kind, const TreeCallback& callback);

  CString m_strDrive;
  CString m_strDirectory;
  CString m_strName;
  CString m_strExtension;
  CString m_strPath;
  CString m_strFileName;
  CString m_strShareRoot;
  std::int32_t m_lAsk = 0;
  std::int32_t m_lCallbackContext = 0;
  bool m_bIsFile = true;  // the kind Set was last given, for re-parsing
};

}  // namespace morvit

#endif  // MORVIT_UTIL_GPATH_H
