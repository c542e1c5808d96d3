// The host calls of the tests themselves, the same on every host.
#ifndef MORVIT_TESTS_SUPPORT_TESTPLATFORM_H
#define MORVIT_TESTS_SUPPORT_TESTPLATFORM_H

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

namespace testutil {

// Sets an environment variable (nullptr: removes it) for the whole process.
void SetEnvironment(const char* name, const char* value);
// Whether taking the write permission of a directory away stops this process from creating
// files in it (not for root on POSIX; never on Windows, where the read-only attribute of a
// directory does not guard its entries).
bool DirectoryPermissionsDeny();

// A path in the library's form: UTF-8 text with '/' separators.
std::string LibraryForm(const std::filesystem::path& path);
// The current directory in the library's form.
std::string CurrentDirectory();
// A path from the root ("/data/") as the library completes it: unchanged on POSIX; on Windows,
// where such a path lies on the current drive, with that drive in front ("C:/data/").
std::string OnCurrentDrive(const std::string& rooted);

// A name no directory of this host can hold: longer than any POSIX file system allows; on
// Windows (where paths are cut at 260 characters before such a name reaches the system) one
// with a character Windows names never hold.
std::string ImpossibleName();

// Makes `link` a symbolic link to the directory `target` where the host lets this process make
// one; where it does not (Windows without the privilege, wine), an empty file of that name
// stands in its place, so that a tree walk meets an item there all the same. False then.
bool MakeDirectoryLinkOrStandIn(const std::string& target, const std::string& link);
// Makes `path` unreadable for this process while the object lives: a dangling symbolic link
// on POSIX (where root reads every file), a file held open by no sharing on Windows.
class UnreadableFile;

// Makes `path` a file that directory searches return only on request, as they do special
// files: a FIFO on POSIX, a file with the system attribute on Windows.
void MakeSpecialFile(const std::string& path);
// Hides `path` from plain directory searches: nothing to do on POSIX, where a name that
// begins with a dot is hidden; the hidden attribute on Windows.
void MarkHidden(const std::string& path);

// Holds a file for exclusive use while it lives, as another program may: an flock on POSIX, an
// open that shares nothing on Windows.
class ExclusiveHold {
 public:
  explicit ExclusiveHold(const std::string& path);
  ~ExclusiveHold();
  ExclusiveHold(const ExclusiveHold&) = delete;
  ExclusiveHold& operator=(const ExclusiveHold&) = delete;
  bool Held() const { return m_handle != -1; }

 private:
  std::intptr_t m_handle = -1;
};

class UnreadableFile {
 public:
  explicit UnreadableFile(const std::string& path);
  UnreadableFile(const UnreadableFile&) = delete;
  UnreadableFile& operator=(const UnreadableFile&) = delete;

 private:
  std::filesystem::path m_path;
  std::unique_ptr<ExclusiveHold> m_hold;
};

}  // namespace testutil

#endif  // MORVIT_TESTS_SUPPORT_TESTPLATFORM_H
