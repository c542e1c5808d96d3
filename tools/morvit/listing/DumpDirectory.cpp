// The data-set and working directory of a listing run, and their return afterwards.
#include "listing/DumpDirectory.h"

#include "cli/ToolPlatform.h"

namespace morvit::tool {

DumpDirectory::DumpDirectory(const std::filesystem::path& directory)
    : m_directory(Utf8(directory) + "/") {
  m_cwd = std::filesystem::current_path();
  std::filesystem::current_path(directory);
}

DumpDirectory::~DumpDirectory() {
  std::error_code ignored;
  std::filesystem::current_path(m_cwd, ignored);
}

}  // namespace morvit::tool
