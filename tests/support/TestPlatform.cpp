// The tests' host calls: the POSIX forms, and the Windows ones beside them.
#include "support/TestPlatform.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace testutil {

std::string LibraryForm(const std::filesystem::path& path) {
  const std::u8string text = path.generic_u8string();
  return std::string(text.begin(), text.end());
}

std::string CurrentDirectory() { return LibraryForm(std::filesystem::current_path()); }

UnreadableFile::UnreadableFile(const std::string& path) : m_path(path) {
#ifdef _WIN32
  std::ofstream(m_path) << "held";
  m_hold = std::make_unique<ExclusiveHold>(path);
#else
  std::filesystem::create_symlink("/nonexistent/unreadable", m_path);
#endif
}

bool MakeDirectoryLinkOrStandIn(const std::string& target, const std::string& link) {
  std::error_code error;
  std::filesystem::create_directory_symlink(target, link, error);
  if (!error) return true;
  std::ofstream(std::filesystem::path(link)) << "";
  return false;
}

#ifdef _WIN32

namespace {

std::filesystem::path PathOf(const std::string& path) {
  return std::filesystem::path(std::u8string(path.begin(), path.end()));
}

std::wstring Wide(const std::string& path) { return PathOf(path).wstring(); }

}  // namespace

void SetEnvironment(const char* name, const char* value) {
  ::_putenv_s(name, value != nullptr ? value : "");
}

bool DirectoryPermissionsDeny() { return false; }

std::string ImpossibleName() { return "bad|name"; }

std::string OnCurrentDrive(const std::string& rooted) {
  return CurrentDirectory().substr(0, 2) + rooted;
}

void MakeSpecialFile(const std::string& path) {
  std::ofstream(PathOf(path)) << '\0';
  ::SetFileAttributesW(Wide(path).c_str(), FILE_ATTRIBUTE_SYSTEM);
}

void MarkHidden(const std::string& path) {
  ::SetFileAttributesW(Wide(path).c_str(), FILE_ATTRIBUTE_HIDDEN);
}

ExclusiveHold::ExclusiveHold(const std::string& path) {
  const HANDLE file = ::CreateFileW(Wide(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) m_handle = reinterpret_cast<std::intptr_t>(file);
}

ExclusiveHold::~ExclusiveHold() {
  if (m_handle != -1) ::CloseHandle(reinterpret_cast<HANDLE>(m_handle));
}

#else

void SetEnvironment(const char* name, const char* value) {
  value != nullptr ? ::setenv(name, value, 1) : ::unsetenv(name);
}

bool DirectoryPermissionsDeny() { return ::geteuid() != 0; }

std::string ImpossibleName() { return std::string(300, 'x'); }

std::string OnCurrentDrive(const std::string& rooted) { return rooted; }

void MakeSpecialFile(const std::string& path) { ::mkfifo(path.c_str(), 0600); }

void MarkHidden(const std::string&) {}

ExclusiveHold::ExclusiveHold(const std::string& path) {
  const int file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (file < 0) return;
  if (::flock(file, LOCK_EX) != 0) {
    ::close(file);
    return;
  }
  m_handle = file;
}

ExclusiveHold::~ExclusiveHold() {
  if (m_handle != -1) ::close(static_cast<int>(m_handle));
}

#endif

}  // namespace testutil
