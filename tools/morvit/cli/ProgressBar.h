// Progress of a back-translation run on standard error: files done of files to do, the
// current domain file and its share done ("[2/9] RB000001.C01 [#####....] 40%"), redrawn in
// place on a terminal; into a log (standard error no terminal) only as plain lines at each
// quarter of a file, and only when -v asks for notes; or not at all.
#ifndef MORVIT_TOOL_PROGRESSBAR_H
#define MORVIT_TOOL_PROGRESSBAR_H

#include <cstddef>
#include <ostream>
#include <set>
#include <string>

namespace morvit::tool {

class ProgressBar {
 public:
  enum class Style { kTerminal, kLines, kNone };

  // The style for standard error: none when quiet, in place on a terminal, lines when
  // standard error is no terminal and `verbose`, none otherwise.
  static Style StyleForStandardError(bool quiet, bool verbose);

  ProgressBar(std::ostream& out, Style style) : m_out(out), m_style(style) {}

  // The files the run expects to read (an estimate: more seen raise it).
  void SetFilesToDo(std::size_t count) { m_filesToDo = count; }
  // The run is at `percent` of domain file `file`.
  void Update(const std::string& file, int percent);
  // Ends the bar's line on a terminal, so that later output starts on a fresh line.
  void Finish();

 private:
  static constexpr int kWidth = 30;

  std::ostream& m_out;
  Style m_style;
  // "[done/to do] ": a file counts as done once it reached 100 %; a file read again (the run
  // passes over some domains twice) stays done.
  std::string Count() const;

  std::size_t m_filesToDo = 0;
  std::set<std::string> m_seen;  // files reported so far
  std::set<std::string> m_done;  // files that reached 100 %
  std::string m_file;
  int m_percent = -1;
  bool m_drawn = false;
};

}  // namespace morvit::tool

#endif  // MORVIT_TOOL_PROGRESSBAR_H
