// The tool's scratch space: every temporary directory of a command is made here, under the
// system's temporary directory, with a name of its own ("morvit-PURPOSE-..."), and goes with
// the object that owns it.
#ifndef MORVIT_TOOL_SCRATCHDIRECTORY_H
#define MORVIT_TOOL_SCRATCHDIRECTORY_H

#include <filesystem>
#include <string_view>

namespace morvit::tool {

class ScratchDirectory {
 public:
  // Makes a new directory exclusively (every platform's file system offers that for
  // directories); a CFileException when none can be made.
  explicit ScratchDirectory(std::string_view purpose);
  ~ScratchDirectory();
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  const std::filesystem::path& Path() const { return m_path; }

 private:
  std::filesystem::path m_path;
};

}  // namespace morvit::tool

#endif  // MORVIT_TOOL_SCRATCHDIRECTORY_H
