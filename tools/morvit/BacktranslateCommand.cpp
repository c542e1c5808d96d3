// `morvit backtranslate node|db|pc`: a back-translation run with a database that records every
// call into SQLite (and JSON lines), a progress bar, and Ctrl-C as the user's cancel.
#include <cerrno>
#include <cstdlib>
#include <iostream>
#include <map>
#include <memory>

#include "Backtranslate.h"
#include "Commands.h"
#include "Failure.h"
#include "JsonLinesSink.h"
#include "RunFiles.h"
#include "Session.h"
#include "SqliteSink.h"
#include "StandardStreams.h"
#include "ToolHost.h"
#include "morvit/VManager.h"
#include "morvit/VNameTables.h"

namespace morvit::tool {
namespace {

struct BacktranslateOptions {
  std::string run;
  Directories directories;
  std::string database;
  std::string json;
  std::vector<std::string> answers;
  int nodeMode = 0;
};

// The runs, by the name on the command line.
const std::map<std::string, RecordedRun>& Runs() {
  static const std::map<std::string, RecordedRun> runs = {
      {"node",
       [](VManager& manager, int nodeMode) {
         CString nodeName;
         const int result = manager.NodeBacktranslate(nodeName, nodeMode);
         Session::Current().Out() << "node initialisation file: " << nodeName << "\n";
         return result;
       }},
      {"db", [](VManager& manager, int) { return manager.DBBacktranslate(); }},
      {"pc", [](VManager& manager, int) { return manager.PCBacktranslate(); }},
  };
  return runs;
}

// "OPERATION=NUMBER" split into its parts; false when it is not of that form.
bool SplitAnswer(const std::string& setting, std::string& operation, long& value) {
  const std::size_t equals = setting.find('=');
  if (equals == std::string::npos) return false;
  operation = setting.substr(0, equals);
  const std::string number = setting.substr(equals + 1);
  char* end = nullptr;
  errno = 0;
  value = std::strtol(number.c_str(), &end, 10);
  return !number.empty() && *end == '\0' && errno == 0;
}

// Checks one --answer setting: an empty text when it is good, else what is wrong.
std::string CheckAnswer(const std::string& setting) {
  std::string operation;
  long value = 0;
  const bool split = SplitAnswer(setting, operation, value);
  if (const auto range = DatabaseAnswers::RangeOf(operation); split && range) {
    if (value >= range->first && value <= range->second) return "";
    return "\"" + setting + "\": " + operation + " takes " + std::to_string(range->first) + " to " +
           std::to_string(range->second);
  }
  std::string names;
  for (const std::string& name : DatabaseAnswers::Names()) names += " " + name;
  return "\"" + setting + "\" is not OPERATION=NUMBER with one of:" + names;
}

DatabaseAnswers ParseAnswers(const std::vector<std::string>& settings) {
  DatabaseAnswers answers;
  for (const std::string& setting : settings) {
    std::string operation;
    long value = 0;
    SplitAnswer(setting, operation, value);
    answers.Set(operation, value);
  }
  return answers;
}

}  // namespace

int RunRecorded(const RecordedRunSettings& settings, const RecordedRun& run) {
  std::vector<std::unique_ptr<RecordSink>> sinks;
  if (!settings.database.empty()) sinks.push_back(std::make_unique<SqliteSink>(settings.database));
  if (!settings.json.empty()) sinks.push_back(std::make_unique<JsonLinesSink>(settings.json));
  std::vector<RecordSink*> sinkPointers = settings.extraSinks;
  for (const auto& sink : sinks) sinkPointers.push_back(sink.get());
  RecordingDatabase database(sinkPointers, settings.answers, settings.namer);
  ProgressBar bar(std::cerr, settings.progress);
  bar.SetFilesToDo(settings.filesToDo);
  int result = 0;
  {
    ToolHost host(bar, [&](const std::string& file) { database.SetDomainFile(file); });
    VManager manager(&database);
    result = run(manager, settings.nodeMode);
  }
  database.Finish(settings.command, result);
  std::ostream& out = Session::Current().Out();
  out << settings.command << " back-translation " << (result ? "completed" : "stopped") << ": "
      << database.CallCount() << " calls, " << database.ElementCount() << " elements";
  for (const std::string* output : {&settings.database, &settings.json}) {
    if (!output->empty()) out << " -> " << *output;
  }
  out << "\n";
  if (result == 0) {
    throw Failure(settings.command + " back-translation stopped" +
                  (ToolHost::Interrupted() ? " (interrupted)"
                                           : " (a domain failed or the database said stop)") +
                  "; the output keeps what was handed over");
  }
  return kExitSuccess;
}

CommandAction AddBacktranslateCommand(CLI::App& app) {
  auto options = std::make_shared<BacktranslateOptions>();
  CLI::App* command =
      app.add_subcommand("backtranslate",
                         "Back-translates the node, database or PC program domains, recording "
                         "every call into SQLite (tables in docs/recorded-runs.md)");
  command->add_option("RUN", options->run, "node, db or pc")
      ->required()
      ->check(CLI::IsMember({"node", "db", "pc"}));
  AddDirectoryOptions(*command, options->directories);
  // SQLite must seek in its file, so "-" is no stream for it.
  command
      ->add_option("--db", options->database,
                   "SQLite output (default RUN.sqlite unless only --json is given)")
      ->check([](const std::string& value) {
        return IsStandardStream(value) ? "SQLite needs a file; - is for --json" : "";
      });
  command->add_option("--json", options->json, "JSON lines output (- for standard output)")
      ->each([](const std::string& value) {
        if (IsStandardStream(value)) Session::Current().ClaimStandardOutput("--json -");
      });
  // One value per --answer, so that the run's name after it is not taken as a second one.
  command
      ->add_option("--answer", options->answers,
                   "the database's answer to an operation, OPERATION=NUMBER (GetMaxTask, "
                   "GetPCProgNo, PCTCRestored, ...); repeatable")
      ->allow_extra_args(false)
      ->check(CheckAnswer);
  command->add_option("--node-mode", options->nodeMode, "node-mode flag of the node run")
      ->default_val(0);
  return [options] {
    UseDirectories(options->directories);
    RecordedRunSettings settings;
    settings.command = options->run;
    settings.database = options->database.empty() && options->json.empty()
                            ? options->run + ".sqlite"
                            : options->database;
    settings.json = options->json;
    settings.answers = ParseAnswers(options->answers);
    settings.nodeMode = options->nodeMode;
    // Element codes named as the dump names them; a code in neither table stays unnamed.
    settings.namer = [](std::uint16_t code) {
      const char* name = FunctionBlockName(code);
      if (name == nullptr) name = OrderName(code);
      return std::string(name ? name : "");
    };
    settings.progress = ProgressBar::StyleForStandardError(Session::Current().Quiet());
    const char* data = std::getenv("MORVIT_DATA_DIR");
    settings.filesToDo = CountRunFiles(options->run, data != nullptr ? data : ".");
    return RunRecorded(settings, Runs().at(options->run));
  };
}

}  // namespace morvit::tool
