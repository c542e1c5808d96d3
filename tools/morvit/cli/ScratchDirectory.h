// The tool's scratch space, its one owner: every temporary directory or file of a command (the
// private view, the copies a listing or comparison reads, the files that stand in for "-", a
// site being built) is made here, with a name of its own ("morvit-PURPOSE-..."), and goes with
// the object that owns it. Every way out of a command unwinds to these objects (an interrupt
// too: the commands stop at their next StopIfInterrupted), so nothing is left behind.
#ifndef MORVIT_TOOL_SCRATCHDIRECTORY_H
#define MORVIT_TOOL_SCRATCHDIRECTORY_H

#include <filesystem>
#include <string>
#include <string_view>

namespace morvit::tool {

class ScratchDirectory {
 public:
  // Makes a new directory exclusively (every platform's file system offers that for
  // directories) under the system's temporary directory, or under `beside` (the directory an
  // output is to go into, so that it can be put in place by a rename); a CFileException when
  // none can be made.
  explicit ScratchDirectory(std::string_view purpose, const std::filesystem::path& beside = {});
  ~ScratchDirectory();
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  const std::filesystem::path& Path() const { return m_path; }

  // Puts the directory in place as `target` (which must be on the same file system): an
  // existing `target` is moved aside first and removed once the new one is in place, so that
  // `target` is at every moment either the old directory whole or the new one.
  void MoveTo(const std::filesystem::path& target);

 private:
  std::filesystem::path m_path;  // empty once moved
};

// `text` (a message) with every mention of the scratch directory `scratch` replaced by
// `user`, the directory it stands in for: messages name the user's files, never scratch space.
std::string ShownPath(std::string text, const std::filesystem::path& scratch,
                      const std::filesystem::path& user);

}  // namespace morvit::tool

#endif  // MORVIT_TOOL_SCRATCHDIRECTORY_H
