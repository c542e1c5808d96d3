// A recorded back-translation run: the settings of its output and answers, and the driver that
// wires the recording database, the progress bar and Ctrl-C around any run of the library.
#ifndef MORVIT_TOOL_BACKTRANSLATE_H
#define MORVIT_TOOL_BACKTRANSLATE_H

#include <functional>
#include <string>
#include <vector>

#include "ProgressBar.h"
#include "RecordingDatabase.h"
#include "morvit/VManager.h"

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
};

// Runs `run` recorded; prints a summary. A stopped run (result 0) is a failure whose message
// says that the output keeps what was handed over.
int RunRecorded(const RecordedRunSettings& settings, const RecordedRun& run);

}  // namespace morvit::tool

#endif  // MORVIT_TOOL_BACKTRANSLATE_H
