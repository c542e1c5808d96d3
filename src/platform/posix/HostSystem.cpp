// The POSIX backend of the host interface: file descriptors, pread/pwrite, fsync, rename.
#include "platform/HostSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

namespace morvit::hostsys {

namespace {

// '\\' separators turned into '/'.
CString Native(const CString& path) { return CFile::HostPath(path); }

// "." and ".." resolved lexically in an absolute path; a leading "//" (network prefix) kept.
CString NormaliseAbsolute(const CString& path) {
  const bool network = path.rfind("//", 0) == 0;
  std::vector<CString> levels;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('/', start);
    if (end == CString::npos) end = path.size();
    const CString level = path.substr(start, end - start);
    if (level == "..") {
      if (!levels.empty()) levels.pop_back();
    } else if (!level.empty() && level != ".") {
      levels.push_back(level);
    }
    start = end + 1;
  }
  CString out = network ? "/" : "";
  for (const CString& level : levels) out += "/" + level;
  return out.empty() ? "/" : out;
}

}  // namespace

bool HasDrives() { return false; }
bool CaseBlindNames() { return false; }

Handle Open(const CString& path, OpenMode mode, bool create, bool truncate) {
  int flags = O_CLOEXEC;
  switch (mode) {
    case OpenMode::read:
      flags |= O_RDONLY;
      break;
    case OpenMode::write:
      flags |= O_WRONLY;
      break;
    case OpenMode::readWrite:
      flags |= O_RDWR;
      break;
  }
  if (create) flags |= O_CREAT;
  if (truncate) flags |= O_TRUNC;
  const CString host = Native(path);
  if (host.empty()) {
    errno = ENOENT;
    return kNoHandle;
  }
  const int fd = ::open(host.c_str(), flags, 0666);
  if (fd < 0) return kNoHandle;
  struct stat st;
  if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    errno = EISDIR;
    return kNoHandle;
  }
  return fd;
}

std::int64_t ReadAt(Handle file, void* buffer, std::size_t count, std::uint64_t offset) {
  return ::pread(file, buffer, count, static_cast<off_t>(offset));
}

std::int64_t WriteAt(Handle file, const void* buffer, std::size_t count, std::uint64_t offset) {
  return ::pwrite(file, buffer, count, static_cast<off_t>(offset));
}

bool Sync(Handle file) { return ::fsync(file) == 0; }

bool Close(Handle file) { return ::close(file) == 0; }

bool Length(Handle file, std::uint64_t& length) {
  struct stat st;
  if (::fstat(file, &st) != 0) return false;
  length = static_cast<std::uint64_t>(st.st_size);
  return true;
}

bool Truncate(Handle file, std::uint64_t length) {
  return ::ftruncate(file, static_cast<off_t>(length)) == 0;
}

bool Rename(const CString& from, const CString& to) {
  return ::rename(Native(from).c_str(), Native(to).c_str()) == 0;
}

bool Remove(const CString& path) { return ::unlink(Native(path).c_str()) == 0; }

// A directory's entries reach stable storage only when the directory itself is flushed.
bool SyncDirectory(const CString& directory) {
  const CString host = Native(directory).empty() ? CString(".") : Native(directory);
  const int fd = ::open(host.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool synced = ::fsync(fd) == 0;
  const int err = errno;
  ::close(fd);
  errno = err;
  return synced;
}

Kind KindOf(const CString& path) {
  struct stat info {};
  if (::stat(Native(path).c_str(), &info) != 0) return Kind::missing;
  if (S_ISDIR(info.st_mode)) return Kind::directory;
  return S_ISREG(info.st_mode) ? Kind::file : Kind::other;
}

bool Accessible(const CString& path, int mode) {
  const CString host = Native(path);
  return !host.empty() && ::access(host.c_str(), mode) == 0;
}

bool MakeDirectory(const CString& path) { return ::mkdir(Native(path).c_str(), 0777) == 0; }

bool RemoveDir(const CString& path) { return ::rmdir(Native(path).c_str()) == 0; }

bool ChangeDirectory(const CString& path) { return ::chdir(Native(path).c_str()) == 0; }

CString CurrentDirectory() {
  std::vector<char> buffer(4096);
  while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE) return CString();
    buffer.resize(buffer.size() * 2);
  }
  return buffer.data();
}

CString FullPath(const CString& path) {
  CString host = Native(path);
  if (host.empty() || host[0] != '/') {
    const CString current = CurrentDirectory();
    if (current.empty()) return CString();
    host = current + "/" + host;
  }
  return NormaliseAbsolute(host);
}

CString Canonical(const CString& path) {
  char* resolved = ::realpath(Native(path).c_str(), nullptr);
  if (resolved == nullptr) return path;
  CString result = resolved;
  std::free(resolved);
  return result;
}

bool ListDirectory(const CString& directory, std::vector<DirectoryItem>& items) {
  const CString base = Native(directory).empty() ? CString(".") : Native(directory);
  DIR* dir = ::opendir(base.c_str());
  if (dir == nullptr) return false;
  while (const dirent* entry = ::readdir(dir)) {
    const CString name = entry->d_name;
    if (name == "." || name == "..") continue;
    struct stat link {};
    // An entry that vanished or cannot be examined is left out.
    if (::fstatat(::dirfd(dir), name.c_str(), &link, AT_SYMLINK_NOFOLLOW) != 0) continue;
    struct stat target = link;
    DirectoryItem item;
    item.name = name;
    item.link = S_ISLNK(link.st_mode);
    // A dangling link keeps the link's own mode: neither a file nor a directory.
    if (item.link) ::fstatat(::dirfd(dir), name.c_str(), &target, 0);
    item.directory = S_ISDIR(target.st_mode);
    item.regular = S_ISREG(target.st_mode);
    item.readOnly = (target.st_mode & S_IWUSR) == 0;
    item.hidden = name[0] == '.';
    items.push_back(std::move(item));
  }
  ::closedir(dir);
  return true;
}

bool MakeUniqueFile(CString& pattern) {
  CString host = Native(pattern);
  const int fd = ::mkstemp(host.data());
  if (fd < 0) return false;
  ::close(fd);
  pattern = host;
  return true;
}

bool SetMode(const CString& path, unsigned mode) {
  return ::chmod(Native(path).c_str(), static_cast<mode_t>(mode)) == 0;
}

bool MakeWritable(const CString& path) {
  struct stat info {};
  const CString host = Native(path);
  return ::stat(host.c_str(), &info) == 0 &&
         ::chmod(host.c_str(), info.st_mode | S_IRUSR | S_IWUSR) == 0;
}

std::optional<std::uint64_t> FreeBytes(const CString& directory) {
  struct statvfs info {};
  if (::statvfs(Native(directory).c_str(), &info) != 0) return std::nullopt;
  return static_cast<std::uint64_t>(info.f_bavail) * static_cast<std::uint64_t>(info.f_frsize);
}

// One fixed root; a network path counts as remote.
int DriveType(const CString& path) {
  const CString host = CFile::HostPath(path);
  return host.rfind("//", 0) == 0 ? 4 : 3;
}

// Another open description holding a lock on the file is the host's nearest thing to a
// sharing violation.
bool InUseByOther(const CString& path) {
  const int fd = ::open(Native(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool inUse = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
  ::close(fd);
  return inUse;
}

CString TempDirectory() {
  const char* setting = std::getenv("TMPDIR");
  if (setting == nullptr || *setting == '\0') return CString();
  CString directory = setting;
  if (directory.back() != '/') directory += '/';
  return directory;
}

CString FallbackTempDirectory() { return "/tmp/"; }

std::optional<CString> Environment(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value == '\0') return std::nullopt;
  return CString(value);
}

void PumpWindowMessages() {}

void KillProcess() {
  ::raise(SIGKILL);
  std::_Exit(137);
}

}  // namespace morvit::hostsys
