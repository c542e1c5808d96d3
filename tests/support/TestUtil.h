// Helpers shared by the test suites: asserting a file exception's cause, and a scratch
// directory that is removed with everything in it when the test ends.
#ifndef MORVIT_TESTS_SUPPORT_TESTUTIL_H
#define MORVIT_TESTS_SUPPORT_TESTUTIL_H

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "morvit/platform.h"

// Asserts that `statement` raises a CFileException with cause `expected`.
#define EXPECT_CAUSE(statement, expected)                                    \
  do {                                                                       \
    try {                                                                    \
      statement;                                                             \
      ADD_FAILURE() << "expected a file exception with cause " << (expected) \
                    << ", nothing was raised";                               \
    } catch (const CFileException& e_) {                                     \
      EXPECT_EQ(e_.m_cause, (expected)) << e_.what();                        \
    }                                                                        \
  } while (0)

namespace testutil {

// A fresh directory below the system's temporary directory.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::filesystem::path& path() const { return m_path; }
  // The path of a file in the directory, as a string.
  std::string File(const std::string& name) const { return m_path.generic_string() + '/' + name; }

 private:
  std::filesystem::path m_path;
};

// The newest-version search changes the process's current directory; a test that searches
// puts it back with this guard.
class CurrentDirectoryGuard {
 public:
  CurrentDirectoryGuard() : m_saved(std::filesystem::current_path()) {}
  ~CurrentDirectoryGuard() { std::filesystem::current_path(m_saved); }
  CurrentDirectoryGuard(const CurrentDirectoryGuard&) = delete;
  CurrentDirectoryGuard& operator=(const CurrentDirectoryGuard&) = delete;

 private:
  std::filesystem::path m_saved;
};

std::vector<std::uint8_t> ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace testutil

#endif  // MORVIT_TESTS_SUPPORT_TESTUTIL_H
