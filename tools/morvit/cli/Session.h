// One run of the tool and the conventions every command shares: `-q/--quiet` (no lines for
// people on standard output, no progress), `-v/--verbose` (notes on what the command does, on
// standard error), `--json FILE|-` (the run's report, see Report.h) for the commands that
// offer it, and who writes to standard output.
#ifndef MORVIT_TOOL_SESSION_H
#define MORVIT_TOOL_SESSION_H

#include <CLI/CLI.hpp>
#include <ostream>
#include <string>

#include "cli/Report.h"

namespace morvit::tool {

class Session {
 public:
  // The session of the run in progress. RunTool opens one per run; the demo's steps, runs
  // within a run, open their own and give the outer one back when they end.
  static Session& Current();

  explicit Session(std::string command = "");
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // Adds -q/--quiet and -v/--verbose to a command (RunTool does, for every command).
  void AddCommonOptions(CLI::App& command);
  // Adds --json FILE|- to a command that feeds the report.
  void AddReportOption(CLI::App& command);

  void SetCommand(const std::string& command) { m_command = command; }
  const std::string& Command() const { return m_command; }
  // -q: also no progress. (Out() is quiet as well while standard output carries a file.)
  bool Quiet() const { return m_quiet; }
  // -v: notes on standard error (and progress lines when it is no terminal).
  bool Verbose() const { return m_verbose; }

  // The command's lines for people: standard output, or nowhere when quiet or when standard
  // output carries a file's content.
  std::ostream& Out();
  // A note for -v, on standard error as "morvit COMMAND: TEXT".
  void Note(const std::string& text);

  // Standard output is to carry a file's content for `what` (an option or argument given
  // "-"): the lines for people are dropped. Two claims are a usage error (CLI::ValidationError).
  void ClaimStandardOutput(const std::string& what);

  Report& GetReport() { return m_report; }
  // Ends the run: writes the report when --json asked for it. A report that cannot be
  // written raises (a CFileException or an OutputFailure).
  void Finish(int exitStatus, const std::string& error);
  // Whether --json asks for the report on standard output.
  bool ReportOnStandardOutput() const;

 private:
  std::string m_command;
  bool m_quiet = false;
  bool m_verbose = false;
  std::string m_reportFile;
  std::string m_standardOutputOwner;
  Report m_report;
  Session* m_outer;
};

}  // namespace morvit::tool

#endif  // MORVIT_TOOL_SESSION_H
