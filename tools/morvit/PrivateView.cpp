// The private view: a scratch directory of links (or copies) of a data set's files.
#include "PrivateView.h"

#include <atomic>
#include <chrono>

#include "Failure.h"
#include "ToolPlatform.h"

namespace morvit::tool {
namespace {

namespace fs = std::filesystem;

char ExtensionLetter(const std::string& name) {
  const std::size_t dot = name.find('.');
  if (dot == std::string::npos || dot + 1 >= name.size()) return '\0';
  const char letter = name[dot + 1];
  return letter >= 'a' && letter <= 'z' ? static_cast<char>(letter - 'a' + 'A') : letter;
}

// The files of the view: every regular file but those the library writes over while reading.
bool BelongsToView(const std::string& name) {
  if (IsStagingName(name)) return false;
  const char letter = ExtensionLetter(name);
  return letter != 'D' && letter != 'X' && letter != 'Z';
}

bool Writable(const fs::path& file) {
  std::error_code error;
  return (fs::status(file, error).permissions() & fs::perms::owner_write) != fs::perms::none;
}

// A scratch directory of its own under the system's temporary directory (the same file system
// as the data set on most hosts; where it is not, the view is made of copies).
fs::path MakeScratch() {
  static std::atomic<unsigned> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  for (int attempt = 0; attempt < 100; ++attempt) {
    const fs::path root = fs::temp_directory_path() / ("morvit-view-" + std::to_string(stamp) +
                                                       "-" + std::to_string(counter++));
    if (fs::create_directory(root)) return root;
  }
  throw Failure("cannot make a scratch directory under " + Utf8(fs::temp_directory_path()));
}

}  // namespace

bool IsStagingName(const std::string& name) { return name.find('~') != std::string::npos; }

bool IsDomainFileName(const std::string& name) {
  return ExtensionLetter(name) == 'C' && !IsStagingName(name);
}

PrivateView::PrivateView(const fs::path& data) : m_root(MakeScratch()) {
  m_data = m_root / "data";
  m_project = m_root / "project";
  try {
    fs::create_directory(m_data);
    fs::create_directory(m_project);
    for (const auto& entry : fs::directory_iterator(data)) {
      const std::string name = Utf8(entry.path().filename());
      if (!entry.is_regular_file() || !BelongsToView(name)) continue;
      const fs::path target = m_data / name;
      std::error_code linkError;
      if (Writable(entry.path())) fs::create_hard_link(entry.path(), target, linkError);
      if (!Writable(entry.path()) || linkError) {
        fs::copy_file(entry.path(), target);
        fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write,
                        fs::perm_options::add);
      }
    }
  } catch (...) {
    std::error_code ignored;
    fs::remove_all(m_root, ignored);
    throw;
  }
}

PrivateView::~PrivateView() {
  std::error_code ignored;
  fs::remove_all(m_root, ignored);
}

}  // namespace morvit::tool
