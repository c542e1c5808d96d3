// The operating-system calls the library makes, behind one interface with one backend per host
// (src/platform/posix/, src/platform/win32/), chosen by the build. The rest of the library
// never calls the host directly.
//
// Paths are UTF-8 text with '/' or '\' separators; the Windows backend turns them into UTF-16
// at the system call. Failures follow the POSIX convention on every host: false, -1 or an empty
// result, with the cause in errno (the Windows backend maps its error codes onto errno values),
// so that the file class's error causes and its fault injection are shared by both hosts.
// Offsets and sizes are 64-bit everywhere.
#ifndef MORVIT_PLATFORM_HOSTSYSTEM_H
#define MORVIT_PLATFORM_HOSTSYSTEM_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "morvit/platform.h"

namespace morvit::hostsys {

// An open file. A Windows handle fits in 32 bits (the system keeps handles sign-extendable
// for interoperation between 32- and 64-bit processes), so the file class keeps an int.
using Handle = int;
inline constexpr Handle kNoHandle = -1;

// Whether paths start with a drive ("C:") that names a separate root: true on Windows. On a
// POSIX host a drive in front of a path is parsed but has no meaning to the file system.
bool HasDrives();
// Whether the host's names are case-blind (two names differing in case are one file).
bool CaseBlindNames();

enum class OpenMode { read, write, readWrite };
// Opens a file (never a directory: EISDIR). Others may read, write, rename and delete the file
// while it is open, as on POSIX.
Handle Open(const CString& path, OpenMode mode, bool create, bool truncate);
// Positioned transfers: the count moved, or -1.
std::int64_t ReadAt(Handle file, void* buffer, std::size_t count, std::uint64_t offset);
std::int64_t WriteAt(Handle file, const void* buffer, std::size_t count, std::uint64_t offset);
bool Sync(Handle file);
bool Close(Handle file);
bool Length(Handle file, std::uint64_t& length);
bool Truncate(Handle file, std::uint64_t length);

// Moves a file to a new name, replacing a file of that name, durably where the host can.
bool Rename(const CString& from, const CString& to);
bool Remove(const CString& path);
// Brings a directory's entries to stable storage (a Windows rename is written through
// already, and a directory there cannot be opened for flushing: nothing to do).
bool SyncDirectory(const CString& directory);

enum class Kind { missing, file, directory, other };
Kind KindOf(const CString& path);
// The _access test: mode 0 existence, 2 write, 4 read, 6 both (1, execute/search, is taken
// as existence on Windows).
bool Accessible(const CString& path, int mode);
bool MakeDirectory(const CString& path);
bool RemoveDir(const CString& path);
bool ChangeDirectory(const CString& path);
// The current directory with '/' separators (and its drive on Windows); empty on failure.
CString CurrentDirectory();
// `path` made absolute against the current directory (of its drive), "." and ".." resolved
// lexically, '/' separators; empty on failure.
CString FullPath(const CString& path);
// The path with links, "." and ".." resolved when it exists; otherwise as given.
CString Canonical(const CString& path);

struct DirectoryItem {
  CString name;
  bool directory = false;  // of the entry a link leads to
  bool regular = false;    // a plain file (also through a link)
  bool readOnly = false;
  bool hidden = false;
  bool link = false;  // a symbolic link or other reparse point: walks never follow one
};
// The entries of a directory, "." and ".." left out, in the host's order. False when the
// directory cannot be read.
bool ListDirectory(const CString& directory, std::vector<DirectoryItem>& items);

// Makes a new, empty file from `pattern`, whose last six characters are "XXXXXX" and are
// replaced by a name no other file has; the made name goes back into `pattern`.
bool MakeUniqueFile(CString& pattern);
// Permission changes: `mode` in POSIX bits (on Windows only the owner's write bit counts).
bool SetMode(const CString& path, unsigned mode);
bool MakeWritable(const CString& path);

// The bytes available to the caller on the volume of `directory`; none when the host cannot
// tell (on Windows: the extended free-space query is missing or fails).
std::optional<std::uint64_t> FreeBytes(const CString& directory);
// The drive type of the volume of `path`, numbered as on Windows (3 fixed, 4 remote, ...).
int DriveType(const CString& path);
// Whether another open of the file holds it for exclusive use (a lock on POSIX, a sharing
// violation on Windows). A missing file is not in use.
bool InUseByOther(const CString& path);
// The host's directory for temporary files, ending in '/', or empty when it names none.
CString TempDirectory();
// The host's fallback directory when the temporary one is not writable ("/tmp/" on POSIX, the
// Windows directory on Windows), ending in '/'.
CString FallbackTempDirectory();

// The environment variable `name` in UTF-8; none when unset or empty.
std::optional<CString> Environment(const char* name);
// One round of the thread's window messages (nothing on a POSIX host, which has none).
void PumpWindowMessages();
// Ends the process at once, running no clean-up at all (the test harness's stand-in for a
// power failure).
[[noreturn]] void KillProcess();

}  // namespace morvit::hostsys

#endif  // MORVIT_PLATFORM_HOSTSYSTEM_H
