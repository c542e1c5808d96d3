// A recorded back-translation run: the settings of its output and answers, and the driver that
// wires the recording database, the progress bar and Ctrl-C around any run of the library.
#ifndef MORVIT_TOOL_RECORDEDRUN_H
#define MORVIT_TOOL_RECORDEDRUN_H

#include <functional>
#include <string>
#include <vector>

#include "cli/ProgressBar.h"
#include "morvit/VManager.h"
#include "record/RecordingDatabase.h"
#include "record/ToolHost.h"

namespace morvit::tool {

// A run of the library on a manager that carries the recording database; returns its result
// (1 completed, 0 stopped).
using RecordedRun = std::function<int(VManager& manager, int nodeMode)>;

struct RecordedRunSettings {
  std::string command;   // "node", "db", "pc": the run's name in the output
  std::string database;  // SQLite output, or empty
  std::string json;      // JSON lines output, or empty
  DatabaseAnswers answers;
  RecordingDatabase::CodeNamer namer;
  int nodeMode = 0;
  ProgressBar::Style progress = ProgressBar::Style::kNone;
  std::size_t filesToDo = 0;  // domain files the run is expected to read, for the progress bar
  std::vector<RecordSink*> extraSinks;  // further sinks of the caller's (not owned)
  bool strict = false;                  // a domain skipped fails the run
  bool requireDomains = false;          // a run that hands over no domain at all fails
  std::string dataDirectory;            // the data set's directory, as the user named it
};

// Runs `run` recorded; warns of every domain skipped and prints a summary. A stopped run
// (result 0) is a failure that names its reason and says that the output keeps what was handed
// over (an interrupted one an InterruptedRun); so is a run that handed over no domain when
// `requireDomains`, and one that skipped a domain when `strict`.
// How a hint names a database answer: the tool's option, or a script's answers dict.
enum class AnswerSyntax { kOption, kPython };
// Why a run stopped, in words, with a hint where an answer given would have let it go on.
std::string StopText(const VRunStop& reason, AnswerSyntax syntax = AnswerSyntax::kOption);
// A domain the run passed over, in words: its file and the reason.
std::string SkippedText(const SkippedDomain& domain);

int RunRecorded(const RecordedRunSettings& settings, const RecordedRun& run);

}  // namespace morvit::tool

#endif  // MORVIT_TOOL_RECORDEDRUN_H
