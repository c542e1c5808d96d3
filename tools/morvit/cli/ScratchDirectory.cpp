#include "cli/ScratchDirectory.h"

#include <random>
#include <string>
#include <system_error>

#include "cli/ToolPlatform.h"
#include "morvit/platform.h"

namespace morvit::tool {

namespace fs = std::filesystem;

ScratchDirectory::ScratchDirectory(std::string_view purpose) {
  static std::mt19937_64 random{std::random_device{}()};
  const fs::path base = fs::temp_directory_path();
  for (int attempt = 0; attempt < 100; ++attempt) {
    const fs::path directory =
        base / ("morvit-" + std::string(purpose) + "-" + std::to_string(random() % 1000000000));
    if (fs::create_directory(directory)) {
      m_path = directory;
      return;
    }
  }
  throw CFileException(CFileException::accessDenied, -1, Utf8(base));
}

ScratchDirectory::~ScratchDirectory() {
  std::error_code ignored;
  fs::remove_all(m_path, ignored);
}

}  // namespace morvit::tool
