// `morvit backtranslate node|db|pc`: a back-translation run with a database that records every
// call into SQLite (and JSON lines), a progress bar, and Ctrl-C as the user's cancel.
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <optional>
#include <set>

#include "cli/Commands.h"
#include "cli/Failure.h"
#include "cli/Interrupts.h"
#include "cli/Session.h"
#include "cli/StandardStreams.h"
#include "cli/ToolPlatform.h"
#include "dataset/PrivateView.h"
#include "morvit/VDataSet.h"
#include "morvit/VManager.h"
#include "morvit/VNameTables.h"
#include "record/RecordedRun.h"
#include "record/RunFiles.h"

namespace morvit::tool {
namespace {

struct BacktranslateOptions {
  std::string run;
  Directories directories;
  std::string database;
  std::string json;
  std::vector<std::string> answers;
  int nodeMode = 0;
  bool strict = false;
  bool inPlace = false;
};

// The names of the files in a directory.
std::set<std::string> FileNames(const std::string& directory) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(PathFromUtf8(directory))) {
    names.insert(Utf8(entry.path().filename()));
  }
  return names;
}

// Prints the files a run in place removed from the data set and added to it.
void PrintChanges(const std::set<std::string>& before, const std::set<std::string>& after) {
  for (const std::string& name : before) {
    if (after.count(name) == 0) Session::Current().Out() << "removed " << name << "\n";
  }
  for (const std::string& name : after) {
    if (before.count(name) == 0) Session::Current().Out() << "added " << name << "\n";
  }
}

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
                   "SQLite output (default RUN.sqlite unless only --json-lines is given)")
      ->check([](const std::string& value) {
        return IsStandardStream(value) ? "SQLite needs a file; - is for --json-lines" : "";
      });
  command
      ->add_option("--json-lines", options->json,
                   "the recorded rows as JSON lines (- for standard output)")
      ->each([](const std::string& value) {
        if (IsStandardStream(value)) Session::Current().ClaimStandardOutput("--json-lines -");
      });
  // --json was this option's name before it meant a run report on the other commands; it stays,
  // hidden and with a warning, for one release.
  command->add_option("--json", options->json)->group("")->each([](const std::string& value) {
    Warn(
        "backtranslate --json is deprecated and will be removed in the next release: use "
        "--json-lines");
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
  command->add_flag("--strict", options->strict, "a domain skipped fails the run (exit status 1)");
  command->add_flag("--in-place", options->inPlace,
                    "run on the data set itself, as the engineering tool does (the run removes "
                    "and adds files there), and list what changed");
  return [options] {
    const std::string data = DataDirectory(options->directories);
    // A directory without any domain file is the wrong directory, whatever the run would say.
    const std::set<std::string> names = FileNames(data);
    if (std::none_of(names.begin(), names.end(),
                     [](const std::string& name) { return VParseDataSetName(name).has_value(); })) {
      throw Failure(data +
                    ": no domain files in this directory, so there is nothing to "
                    "back-translate (give the data set with --data DIR)");
    }
    Directories directories = options->directories;
    std::optional<PrivateView> view;
    std::set<std::string> before;
    if (options->inPlace) {
      before = FileNames(data);
    } else {
      // The run reads a private view: the files it removes, expands or restores go with it. The
      // object database stays the project's.
      const std::string project = directories.project.empty() ? data : directories.project;
      if (std::getenv("MORVIT_OBJECT_DATABASE") == nullptr) {
        SetEnvironment("MORVIT_OBJECT_DATABASE",
                       Utf8(std::filesystem::absolute(PathFromUtf8(project) / "objects.json")));
      }
      view.emplace(PathFromUtf8(data));
      InterruptMoment("backtranslate:view");
      StopIfInterrupted();
      directories.data = Utf8(view->Data());
      directories.project = Utf8(view->Project());
    }
    UseDirectories(directories);
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
    settings.progress = ProgressBar::StyleForStandardError(Session::Current().Quiet(),
                                                           Session::Current().Verbose());
    settings.filesToDo = CountRunFiles(options->run, view ? view->Data() : PathFromUtf8(data));
    settings.strict = options->strict;
    settings.requireDomains = true;
    settings.dataDirectory = data;
    // A run in place that stops has changed the data set as well: the changes are listed
    // either way.
    try {
      const int status = RunRecorded(settings, Runs().at(options->run));
      if (options->inPlace) PrintChanges(before, FileNames(data));
      InterruptMoment("backtranslate:end");
      StopIfInterrupted("the run had completed and its recording is whole");
      return status;
    } catch (...) {
      if (options->inPlace) PrintChanges(before, FileNames(data));
      throw;
    }
  };
}

}  // namespace morvit::tool
