// Scratch directories: made exclusively, removed with their owner.
#include "cli/ScratchDirectory.h"

#include <random>
#include <string>
#include <system_error>

#include "cli/ToolPlatform.h"
#include "morvit/platform.h"

namespace morvit::tool {

namespace fs = std::filesystem;

ScratchDirectory::ScratchDirectory(std::string_view purpose, const fs::path& beside) {
  static std::mt19937_64 random{std::random_device{}()};
  const fs::path base = beside.empty() ? fs::temp_directory_path() : beside;
  // A name beside an output is hidden, so that a listing of that directory passes over it.
  const std::string head = beside.empty() ? "morvit-" : ".morvit-";
  for (int attempt = 0; attempt < 100; ++attempt) {
    const fs::path directory =
        base / (head + std::string(purpose) + "-" + std::to_string(random() % 1000000000));
    if (fs::create_directory(directory)) {
      m_path = directory;
      return;
    }
  }
  throw CFileException(CFileException::accessDenied, -1, Utf8(base));
}

ScratchDirectory::~ScratchDirectory() {
  if (m_path.empty()) return;
  std::error_code ignored;
  fs::remove_all(m_path, ignored);
}

void ScratchDirectory::MoveTo(const fs::path& target) {
  try {
    if (!fs::exists(target)) {
      fs::rename(m_path, target);
      m_path.clear();
      return;
    }
    // The old directory goes into a scratch directory of its own, and with it.
    ScratchDirectory old("old", target.parent_path());
    fs::rename(target, old.Path() / "old");
    std::error_code error;
    fs::rename(m_path, target, error);
    if (error) {
      fs::rename(old.Path() / "old", target);
      throw fs::filesystem_error("rename", m_path, target, error);
    }
    m_path.clear();
  } catch (const fs::filesystem_error& failure) {
    // The user's directory is what cannot be put in place, not the scratch directory.
    const int code = failure.code().value();
    throw CFileException(CFileException::OsErrorToCause(code), code, Utf8(target));
  }
}

std::string ShownPath(std::string text, const fs::path& scratch, const fs::path& user) {
  const std::string from = Utf8(scratch);
  const std::string to = Utf8(user);
  for (std::size_t at = text.find(from); !from.empty() && at != std::string::npos;
       at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

}  // namespace morvit::tool
