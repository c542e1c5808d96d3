// Progress of a back-translation run on standard error: the domain file and its percentage,
// redrawn in place on a terminal, as plain lines (at each quarter) otherwise, or not at all.
#ifndef MORVIT_TOOL_PROGRESSBAR_H
#define MORVIT_TOOL_PROGRESSBAR_H

#include <ostream>
#include <string>

namespace morvit::tool {

class ProgressBar {
 public:
  enum class Style { kTerminal, kLines, kNone };

  // The style for standard error: none when quiet, in place on a terminal, lines otherwise.
  static Style StyleForStandardError(bool quiet);

  ProgressBar(std::ostream& out, Style style) : m_out(out), m_style(style) {}

  // The run is at `percent` of domain file `file`.
  void Update(const std::string& file, int percent);
  // Ends the bar's line on a terminal, so that later output starts on a fresh line.
  void Finish();

 private:
  static constexpr int kWidth = 30;

  std::ostream& m_out;
  Style m_style;
  std::string m_file;
  int m_percent = -1;
  bool m_drawn = false;
};

}  // namespace morvit::tool

#endif  // MORVIT_TOOL_PROGRESSBAR_H
