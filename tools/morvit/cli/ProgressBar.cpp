// The progress bar.
#include "cli/ProgressBar.h"

#include <algorithm>

#include "cli/ToolPlatform.h"

namespace morvit::tool {

ProgressBar::Style ProgressBar::StyleForStandardError(bool quiet, bool verbose) {
  if (quiet) return Style::kNone;
  if (StandardErrorIsTerminal()) return Style::kTerminal;
  return verbose ? Style::kLines : Style::kNone;
}

void ProgressBar::Update(const std::string& file, int percent) {
  percent = std::clamp(percent, 0, 100);
  const bool newFile = file != m_file;
  if (m_style == Style::kNone || (!newFile && percent == m_percent)) return;
  const int previous = newFile ? 0 : m_percent;
  m_file = file;
  m_percent = percent;
  m_seen.insert(file);
  if (percent == 100) m_done.insert(file);
  if (m_style == Style::kLines) {
    // A line when a quarter is reached: at most four lines per domain file.
    if (percent / 25 > previous / 25) {
      m_out << Count() << file << "  " << percent << "%\n" << std::flush;
    }
    return;
  }
  const int filled = percent * kWidth / 100;
  m_out << "\r\033[K" << Count() << file << " [" << std::string(filled, '#')
        << std::string(kWidth - filled, '.') << "] " << percent << "%" << std::flush;
  m_drawn = true;
}

std::string ProgressBar::Count() const {
  return "[" + std::to_string(m_done.size()) + "/" +
         std::to_string(std::max(m_filesToDo, m_seen.size())) + "] ";
}

void ProgressBar::Finish() {
  if (m_drawn) m_out << "\n" << std::flush;
  m_drawn = false;
  m_file.clear();
  m_percent = -1;
}

}  // namespace morvit::tool
