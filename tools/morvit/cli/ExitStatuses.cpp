// The table of exit statuses and its three renderings.
#include "cli/ExitStatuses.h"

#include <initializer_list>
#include <utility>

namespace morvit::tool {
namespace {

struct Status {
  int status;
  const char* meaning;
};

struct CommandStatuses {
  const char* command;
  std::initializer_list<Status> statuses;
};

// What every command may end with, beside its own statuses.
constexpr const char* kEveryCommand = "every command";

const CommandStatuses kTable[] = {
    {"generate",
     {{0, "done"}, {1, "failed: the job's faults, or the domain, the step and the cause"}}},
    {"dump",
     {{0, "every file listed (a file kind without a listing is a note)"},
      {1,
       "a file that is not sound, or a listing stopped short or not written (the file, the "
       "reader and where)"}}},
    {"diff",
     {{0, "the same"},
      {1, "different"},
      {2,
       "trouble: a side is not sound (its verdict), a file cannot be read, or one file and one "
       "directory"}}},
    {"check",
     {{0, "every domain sound"}, {1, "anything to report, no domain at all, or the check failed"}}},
    {"check-libs", {{0, "the library files match"}, {1, "otherwise"}}},
    {"backtranslate",
     {{0, "completed (also with domains skipped, each a warning)"},
      {1,
       "stopped (the reason in words), no domain of its kind, or a domain skipped with --strict"}}},
    {"view", {{0, "the site written"}, {1, "failed; OUT stays as it was"}}},
    {"implode, explode", {{0, "done"}, {1, "failed"}}},
    {"demo", {{0, "done"}, {1, "failed"}}},
    {"help", {{0, "done"}, {2, "no such command"}}},
    {kEveryCommand,
     {{2, "a usage error (nothing was changed)"},
      {129, "hung up (SIGHUP; on Windows the console closed)"},
      {130,
       "interrupted by Ctrl-C (SIGINT): the scratch space removed, one line says what was "
       "completed"},
      {141, "standard output closed by its reader (the run ends quietly)"},
      {143, "terminated (SIGTERM), as for Ctrl-C"}}},
};

std::string Statuses(const CommandStatuses& row, const char* between) {
  std::string text;
  for (const Status& status : row.statuses) {
    text += (text.empty() ? "" : between) + std::to_string(status.status) + " " + status.meaning;
  }
  return text;
}

bool Names(const CommandStatuses& row, const std::string& command) {
  const std::string names = std::string(row.command) + ",";
  return names.find(command + ",") == 0 || names.find(" " + command + ",") != std::string::npos;
}

// A text for roff: hyphens escaped.
std::string Roff(const std::string& text) {
  std::string out;
  for (char c : text) out += c == '-' ? std::string("\\-") : std::string(1, c);
  return out;
}

}  // namespace

std::string ExitStatusHelp(const std::string& command) {
  std::string text = "Exit status:\n";
  for (const CommandStatuses& row : kTable) {
    if (!command.empty() && !Names(row, command) && row.command != std::string(kEveryCommand)) {
      continue;
    }
    text += "  " + std::string(row.command) + ": " + Statuses(row, "; ") + "\n";
  }
  return text;
}

std::string ExitStatusManual() {
  std::string text;
  for (const CommandStatuses& row : kTable) {
    text += ".TP\n\\fB" + Roff(row.command) + "\\fR\n" + Roff(Statuses(row, "; ")) + "\n";
  }
  return text;
}

std::string ExitStatusMarkdown() {
  std::string text = "| Command | Exit status |\n| --- | --- |\n";
  for (const CommandStatuses& row : kTable) {
    text += "| " + std::string(row.command) + " | " + Statuses(row, "; ") + " |\n";
  }
  return text;
}

}  // namespace morvit::tool
