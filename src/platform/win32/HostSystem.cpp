// The Windows backend of the host interface: UTF-8 paths become UTF-16 at every call, files are
// opened with full sharing (read, write and delete: another open, a rename or a removal of an
// open file works as on POSIX), transfers are positioned through OVERLAPPED offsets, and a
// rename replaces its target and is written through before it returns.
#include <windows.h>
// After windows.h, which it needs.
#include <io.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cwchar>
#include <string>

#include "platform/HostSystem.h"

namespace morvit::hostsys {

namespace {

// Win32 error codes onto errno values, for the file class's shared cause table.
int ErrnoOf(DWORD error) {
  switch (error) {
    case ERROR_SUCCESS:
      return 0;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
      return ENOENT;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_DIRECTORY:
      return EINVAL;
    case ERROR_FILENAME_EXCED_RANGE:
      return ENAMETOOLONG;
    case ERROR_TOO_MANY_OPEN_FILES:
      return EMFILE;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_CURRENT_DIRECTORY:
      return EACCES;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return EEXIST;
    case ERROR_INVALID_HANDLE:
      return EBADF;
    case ERROR_SHARING_VIOLATION:
      return EBUSY;
    case ERROR_LOCK_VIOLATION:
      return ENOLCK;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    case ERROR_DIR_NOT_EMPTY:
      return ENOTEMPTY;
    case ERROR_NEGATIVE_SEEK:
    case ERROR_SEEK:
      return ESPIPE;
    case ERROR_CRC:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
    case ERROR_GEN_FAILURE:
      return EIO;
    default:
      return EINVAL;
  }
}

// Sets errno from the thread's last error and gives `result`.
template <typename T>
T Failed(T result) {
  errno = ErrnoOf(::GetLastError());
  return result;
}

std::wstring Wide(const CString& text) {
  if (text.empty()) return std::wstring();
  const int size =
      ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
  return wide;
}

CString Narrow(const wchar_t* text, std::size_t length) {
  if (length == 0) return CString();
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0,
                                         nullptr, nullptr);
  CString narrow(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), narrow.data(), size, nullptr,
                        nullptr);
  return narrow;
}

CString Narrow(const std::wstring& text) { return Narrow(text.data(), text.size()); }

// The library's form of a host path: '/' separators.
CString Slashed(CString text) {
  for (char& c : text) {
    if (c == '\\') c = '/';
  }
  return text;
}

// The system's form: UTF-16 with '\' separators.
std::wstring Native(const CString& path) {
  std::wstring wide = Wide(path);
  for (wchar_t& c : wide) {
    if (c == L'/') c = L'\\';
  }
  return wide;
}

HANDLE Win(Handle file) { return LongToHandle(file); }

// Whether the nearest existing directory level of `path` is a file: the path then cannot be,
// a bad path rather than a missing file (ENOTDIR, as POSIX reports it).
bool ParentIsAFile(const CString& path) {
  CString level = path;
  for (;;) {
    const std::size_t slash = level.find_last_of("/\\");
    if (slash == CString::npos || slash == 0) return false;
    level.resize(slash);
    const DWORD attributes = ::GetFileAttributesW(Native(level).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  }
}

// The longest part of a path: a name over 255 characters is too long for every Windows file
// system, whatever error the open reports for it.
std::size_t LongestName(const CString& path) {
  std::size_t longest = 0, start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find_first_of("/\\", start);
    if (end == CString::npos) end = path.size();
    longest = std::max(longest, end - start);
    start = end + 1;
  }
  return longest;
}

// Calls `query(buffer, size)` that returns the length it needs (with the terminator) when the
// buffer is too small and the length written (without it) otherwise; 0 is a failure.
template <typename Query>
std::wstring GrowingQuery(Query query) {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = query(buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return std::wstring();
    if (length < buffer.size()) {
      buffer.resize(length);
      return buffer;
    }
    buffer.resize(length);
  }
}

}  // namespace

bool HasDrives() { return true; }
bool CaseBlindNames() { return true; }

Handle Open(const CString& path, OpenMode mode, bool create, bool truncate) {
  if (path.empty()) {
    errno = ENOENT;
    return kNoHandle;
  }
  DWORD access = GENERIC_READ | GENERIC_WRITE;
  if (mode == OpenMode::read) access = GENERIC_READ;
  if (mode == OpenMode::write) access = GENERIC_WRITE;
  DWORD disposition = OPEN_EXISTING;
  if (create) disposition = truncate ? CREATE_ALWAYS : OPEN_ALWAYS;
  const HANDLE file = ::CreateFileW(Native(path).c_str(), access,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    // A directory named as a file is refused as on POSIX.
    const DWORD error = ::GetLastError();
    const DWORD attributes = ::GetFileAttributesW(Native(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      errno = EISDIR;
      return kNoHandle;
    }
    errno = LongestName(path) > 255 ? ENAMETOOLONG : ErrnoOf(error);
    if (error == ERROR_PATH_NOT_FOUND && ParentIsAFile(path)) errno = ENOTDIR;
    return kNoHandle;
  }
  return HandleToLong(file);
}

std::int64_t ReadAt(Handle file, void* buffer, std::size_t count, std::uint64_t offset) {
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  const DWORD want = count > 0x40000000u ? 0x40000000u : static_cast<DWORD>(count);
  DWORD done = 0;
  if (!::ReadFile(Win(file), buffer, want, &done, &at)) {
    if (::GetLastError() == ERROR_HANDLE_EOF) return 0;
    return Failed<std::int64_t>(-1);
  }
  return done;
}

std::int64_t WriteAt(Handle file, const void* buffer, std::size_t count, std::uint64_t offset) {
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  const DWORD want = count > 0x40000000u ? 0x40000000u : static_cast<DWORD>(count);
  DWORD done = 0;
  if (!::WriteFile(Win(file), buffer, want, &done, &at)) return Failed<std::int64_t>(-1);
  return done;
}

bool Sync(Handle file) { return ::FlushFileBuffers(Win(file)) ? true : Failed(false); }

bool Close(Handle file) { return ::CloseHandle(Win(file)) ? true : Failed(false); }

bool Length(Handle file, std::uint64_t& length) {
  LARGE_INTEGER size;
  if (!::GetFileSizeEx(Win(file), &size)) return Failed(false);
  length = static_cast<std::uint64_t>(size.QuadPart);
  return true;
}

bool Truncate(Handle file, std::uint64_t length) {
  FILE_END_OF_FILE_INFO end;
  end.EndOfFile.QuadPart = static_cast<LONGLONG>(length);
  return ::SetFileInformationByHandle(Win(file), FileEndOfFileInfo, &end, sizeof end)
             ? true
             : Failed(false);
}

bool Rename(const CString& from, const CString& to) {
  return ::MoveFileExW(Native(from).c_str(), Native(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
             ? true
             : Failed(false);
}

bool Remove(const CString& path) {
  return ::DeleteFileW(Native(path).c_str()) ? true : Failed(false);
}

// Directory entries cannot be flushed by handle here; the write-through rename above is what
// makes a finish durable. The directory must exist, as on POSIX.
bool SyncDirectory(const CString& directory) {
  const std::wstring path = directory.empty() ? std::wstring(L".") : Native(directory);
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return Failed(false);
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    errno = ENOTDIR;
    return false;
  }
  return true;
}

Kind KindOf(const CString& path) {
  if (path.empty()) return Kind::missing;
  const DWORD attributes = ::GetFileAttributesW(Native(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return Kind::missing;
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return Kind::directory;
  return (attributes & FILE_ATTRIBUTE_DEVICE) != 0 ? Kind::other : Kind::file;
}

bool Accessible(const CString& path, int mode) {
  if (path.empty()) return false;
  return ::_waccess(Native(path).c_str(), mode & 6) == 0;
}

bool MakeDirectory(const CString& path) {
  if (LongestName(path) > 255) {  // no Windows file system holds such a name
    errno = ENAMETOOLONG;
    return false;
  }
  return ::CreateDirectoryW(Native(path).c_str(), nullptr) ? true : Failed(false);
}

bool RemoveDir(const CString& path) {
  return ::RemoveDirectoryW(Native(path).c_str()) ? true : Failed(false);
}

bool ChangeDirectory(const CString& path) {
  return ::SetCurrentDirectoryW(Native(path).c_str()) ? true : Failed(false);
}

CString CurrentDirectory() {
  return Slashed(Narrow(GrowingQuery(
      [](wchar_t* buffer, DWORD size) { return ::GetCurrentDirectoryW(size, buffer); })));
}

CString FullPath(const CString& path) {
  const std::wstring native = path.empty() ? std::wstring(L".") : Native(path);
  return Slashed(Narrow(GrowingQuery([&](wchar_t* buffer, DWORD size) {
    return ::GetFullPathNameW(native.c_str(), size, buffer, nullptr);
  })));
}

// The full path; links are not resolved on this host (the walks never follow one anyway).
CString Canonical(const CString& path) {
  const CString full = FullPath(path);
  if (full.empty() || KindOf(full) == Kind::missing) return path;
  return full.size() > 3 && full.back() == '/' ? full.substr(0, full.size() - 1) : full;
}

bool ListDirectory(const CString& directory, std::vector<DirectoryItem>& items) {
  std::wstring pattern = directory.empty() ? std::wstring(L".") : Native(directory);
  if (pattern.back() != L'\\') pattern += L'\\';
  pattern += L'*';
  WIN32_FIND_DATAW found;
  const HANDLE search = ::FindFirstFileW(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) {
    return ::GetLastError() == ERROR_FILE_NOT_FOUND ? true : Failed(false);
  }
  do {
    const CString name = Narrow(found.cFileName, std::wcslen(found.cFileName));
    if (name == "." || name == "..") continue;
    DirectoryItem item;
    item.name = name;
    const DWORD attributes = found.dwFileAttributes;
    item.directory = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    // A system file is searched for only on request, as a POSIX special file is.
    item.regular =
        !item.directory && (attributes & (FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_SYSTEM)) == 0;
    item.readOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    item.hidden = (attributes & FILE_ATTRIBUTE_HIDDEN) != 0;
    item.link = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    items.push_back(std::move(item));
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
  return true;
}

// The six X's become letters and digits drawn from the process id, a counter and the clock;
// CREATE_NEW makes the claim atomic, and a taken name is retried with the next draw.
bool MakeUniqueFile(CString& pattern) {
  if (pattern.size() < 6 || pattern.compare(pattern.size() - 6, 6, "XXXXXX") != 0) {
    errno = EINVAL;
    return false;
  }
  static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  static unsigned long long counter = 0;
  for (int attempt = 0; attempt < 1000; ++attempt) {
    unsigned long long draw = (static_cast<unsigned long long>(::GetCurrentProcessId()) << 32) ^
                              (::GetTickCount64() * 7919) ^ (++counter * 104729);
    CString name = pattern;
    for (std::size_t i = name.size() - 6; i < name.size(); ++i) {
      name[i] = kLetters[draw % 36];
      draw /= 36;
    }
    const HANDLE file = ::CreateFileW(Native(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      ::CloseHandle(file);
      pattern = name;
      return true;
    }
    const DWORD error = ::GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return Failed(false);
  }
  errno = EEXIST;
  return false;
}

// Only the owner's write bit has a meaning here: without it the file becomes read-only.
bool SetMode(const CString& path, unsigned mode) {
  const std::wstring native = Native(path);
  const DWORD attributes = ::GetFileAttributesW(native.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return Failed(false);
  const DWORD wanted = (mode & 0200) != 0 ? (attributes & ~DWORD{FILE_ATTRIBUTE_READONLY})
                                          : (attributes | FILE_ATTRIBUTE_READONLY);
  return ::SetFileAttributesW(native.c_str(), wanted) ? true : Failed(false);
}

bool MakeWritable(const CString& path) {
  return ::SetFileAttributesW(Native(path).c_str(), FILE_ATTRIBUTE_NORMAL) ? true : Failed(false);
}

// The extended free-space query is looked up in KERNEL32.DLL at run time; without it the
// host cannot tell.
std::optional<std::uint64_t> FreeBytes(const CString& directory) {
  using Query = BOOL(WINAPI*)(LPCWSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);
  const HMODULE kernel = ::GetModuleHandleW(L"KERNEL32.DLL");
  if (kernel == nullptr) return std::nullopt;
  const auto query = reinterpret_cast<Query>(
      reinterpret_cast<void (*)()>(::GetProcAddress(kernel, "GetDiskFreeSpaceExW")));
  if (query == nullptr) return std::nullopt;
  std::wstring path = Native(directory.empty() ? CString(".") : directory);
  if (path.back() != L'\\') path += L'\\';
  ULARGE_INTEGER available, total, free;
  if (!query(path.c_str(), &available, &total, &free)) return std::nullopt;
  return static_cast<std::uint64_t>(available.QuadPart);
}

// GetDriveTypeW of the path's root: its drive, its share, or the current drive.
int DriveType(const CString& path) {
  const CString host = Slashed(path);
  CString root;
  if (host.size() >= 2 && host[1] == ':') {
    root = host.substr(0, 2) + "/";
  } else if (host.rfind("//", 0) == 0) {
    // A network name is a remote drive whether or not its server answers now (asking would
    // wait for the network, and an unreachable share has no root to ask about).
    return DRIVE_REMOTE;
  }
  return static_cast<int>(::GetDriveTypeW(root.empty() ? nullptr : Native(root).c_str()));
}

// Opening the file with no sharing at all fails with a sharing violation while another open
// of it exists.
bool InUseByOther(const CString& path) {
  const HANDLE file = ::CreateFileW(Native(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return ::GetLastError() == ERROR_SHARING_VIOLATION;
  ::CloseHandle(file);
  return false;
}

CString TempDirectory() {
  CString directory = Slashed(Narrow(
      GrowingQuery([](wchar_t* buffer, DWORD size) { return ::GetTempPathW(size, buffer); })));
  if (!directory.empty() && directory.back() != '/') directory += '/';
  return directory;
}

CString FallbackTempDirectory() {
  CString directory = Slashed(Narrow(GrowingQuery(
      [](wchar_t* buffer, DWORD size) { return ::GetWindowsDirectoryW(buffer, size); })));
  if (directory.empty() || directory.back() != '/') directory += '/';
  return directory;
}

std::optional<CString> Environment(const char* name) {
  const std::wstring wideName = Wide(name);
  const std::wstring value = GrowingQuery([&](wchar_t* buffer, DWORD size) {
    return ::GetEnvironmentVariableW(wideName.c_str(), buffer, size);
  });
  if (value.empty()) return std::nullopt;
  return Narrow(value);
}

// One round: every message waiting for the thread's windows is translated and dispatched.
void PumpWindowMessages() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

void KillProcess() {
  ::TerminateProcess(::GetCurrentProcess(), 137);
  std::_Exit(137);
}

}  // namespace morvit::hostsys
