// A private view of a data set for the commands that only read it: the files the library reads,
// hard-linked into a scratch directory on the same file system (copied where a link is not
// possible, or where the file cannot be opened for writing, as the library opens domain files),
// so that whatever the library writes, renames or removes while it reads (expanded `X` siblings,
// listings, the files a run clears for the engineering tool) happens in the view and goes with
// it. Files the library would write over (listings, `X` and `Z` siblings) and staging files are
// left out, so that nothing written in the view can reach a file of the data set through a link.
#ifndef MORVIT_TOOL_PRIVATEVIEW_H
#define MORVIT_TOOL_PRIVATEVIEW_H

#include <filesystem>
#include <string>

#include "cli/ScratchDirectory.h"

namespace morvit::tool {

// Whether a file name is a staging file (`NAME~` or `NAME~PROCESS`).
bool IsStagingName(const std::string& name);

class PrivateView {
 public:
  // The view of the data set in `data` (which must be a directory).
  explicit PrivateView(const std::filesystem::path& data);
  PrivateView(const PrivateView&) = delete;
  PrivateView& operator=(const PrivateView&) = delete;

  // The view's data-set directory.
  const std::filesystem::path& Data() const { return m_data; }
  // An empty project directory in the view: what a run restores there goes with the view.
  const std::filesystem::path& Project() const { return m_project; }

 private:
  ScratchDirectory m_scratch;  // removed with the view, and all the library wrote into it
  std::filesystem::path m_data;
  std::filesystem::path m_project;
};

}  // namespace morvit::tool

#endif  // MORVIT_TOOL_PRIVATEVIEW_H
