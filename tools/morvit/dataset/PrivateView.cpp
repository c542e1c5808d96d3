// The private view: a scratch directory of links (or copies) of a data set's files.
#include "dataset/PrivateView.h"

#include "cli/Failure.h"
#include "cli/ToolPlatform.h"

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

}  // namespace

bool IsStagingName(const std::string& name) { return name.find('~') != std::string::npos; }

// A view that fails half-way goes with its scratch directory.
PrivateView::PrivateView(const fs::path& data) : m_scratch("view") {
  m_data = m_scratch.Path() / "data";
  m_project = m_scratch.Path() / "project";
  {
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
  }
}

}  // namespace morvit::tool
