// The command line: the commands under one application, parsing, and the one place where a
// failure becomes a message and an exit status.
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>

#include "cli/Commands.h"
#include "cli/ExitStatuses.h"
#include "cli/Failure.h"
#include "cli/Help.h"
#include "cli/Interrupts.h"
#include "cli/Session.h"
#include "cli/StandardStreams.h"
#include "cli/ToolPlatform.h"
#include "morvit/VHostServices.h"

namespace morvit::tool {

// Made absolute here: the library resolves them at first use, and its newest-file search
// changes the current directory before that may happen.
void UseDirectories(const Directories& directories) {
  RereadHostSettings();
  if (!directories.data.empty()) {
    SetEnvironment("MORVIT_DATA_DIR",
                   Utf8(std::filesystem::absolute(PathFromUtf8(directories.data))));
  }
  if (!directories.project.empty()) {
    SetEnvironment("MORVIT_PROJECT_DIR",
                   Utf8(std::filesystem::absolute(PathFromUtf8(directories.project))));
  }
  const char* data = std::getenv("MORVIT_DATA_DIR");
  const char* project = std::getenv("MORVIT_PROJECT_DIR");
  Session::Current().Note(std::string("data directory ") + (data ? data : ".") +
                          ", project directory " + (project ? project : "(the data directory)"));
}

std::string DataDirectory(const Directories& directories) {
  std::string data = directories.data;
  if (data.empty()) {
    const char* setting = std::getenv("MORVIT_DATA_DIR");
    data = setting != nullptr && *setting != '\0' ? setting : ".";
  }
  if (!std::filesystem::is_directory(PathFromUtf8(data))) {
    throw Failure(data + ": the data-set directory does not exist");
  }
  // Absolute: the library's newest-file search changes the current directory.
  return Utf8(std::filesystem::absolute(PathFromUtf8(data)));
}

void AddDirectoryOptions(CLI::App& command, Directories& directories) {
  command
      .add_option("--data", directories.data,
                  "data-set directory of the domain files (default: MORVIT_DATA_DIR, else .)")
      ->type_name("DIR");
  command
      .add_option("--project", directories.project,
                  "project directory of the node files (default: MORVIT_PROJECT_DIR, else "
                  "the data directory)")
      ->type_name("DIR");
}

namespace {

// A first argument that is no option and no command: "unknown command", the list of commands.
bool IsUnknownCommand(const CLI::App& app, int argc, const char* const* argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (!argument.empty() && argument[0] == '-') continue;
    for (const CLI::App* command : VisibleCommands(app)) {
      if (command->get_name() == argument) return false;
    }
    std::cerr << UnknownCommand(app, argument);
    return true;
  }
  return false;
}

// Ends a run: its failure in words on standard error, then the report (not for a usage
// error: the run never started). The report is written on every other way out: a failure, an
// interrupt, a reader of standard output that went away (then only into a file). A report that
// cannot be written fails the run; a reader that went away ends it quietly.
int FinishRun(Session& session, int status, const std::string& error) {
  if (!error.empty() && status != kExitOutputClosed)
    std::cerr << "morvit " << session.Command() << ": " << error << "\n";
  try {
    if (status == kExitOutputClosed) {
      if (!session.ReportOnStandardOutput()) session.Finish(status, "standard output was closed");
      return status;
    }
    if (status != kExitUsage) session.Finish(status, error);
    CheckStandardOutput();
  } catch (const OutputFailure& failure) {
    if (failure.Closed()) return kExitOutputClosed;
    // A failed write to standard output stays failed: said once, by the run it ended.
    if (error.empty())
      std::cerr << "morvit " << session.Command() << ": " << failure.what() << "\n";
    return kExitFailed;
  } catch (const std::exception& failure) {
    std::cerr << "morvit " << session.Command() << ": " << DescribeFailure(failure) << "\n";
    return kExitFailed;
  }
  return status;
}

// The status and words of a run that an exception ended.
int FinishFailedRun(Session& session, const std::exception& failure) {
  if (const auto* output = dynamic_cast<const OutputFailure*>(&failure)) {
    return FinishRun(session, output->Closed() ? kExitOutputClosed : kExitFailed, output->what());
  }
  if (StandardOutputClosed()) return FinishRun(session, kExitOutputClosed, "");
  const bool interrupted = dynamic_cast<const InterruptedRun*>(&failure) != nullptr;
  const int status = FinishRun(session, interrupted ? InterruptedExitStatus() : kExitFailed,
                               DescribeFailure(failure));
  return interrupted && status == kExitFailed ? InterruptedExitStatus() : status;
}

// Runs the command under one watch for interrupts: every way out of it is a status and the
// report, and its scratch space is gone before the process ends.
int RunCommand(Session& session, const CLI::App& command, const CommandAction& action) {
  InterruptWatch interrupts;
  int status = kExitFailed;
  try {
    status = action();
    CheckStandardOutput();
    // An interrupt that came after the command's last safe point: its work is whole, and the
    // run still ends as interrupted.
    StopIfInterrupted("the command had completed");
    status = FinishRun(session, status, "");
  } catch (const CLI::ParseError& error) {
    // A usage error found only when the command runs (two outputs on standard output).
    status = FinishRun(session, command.exit(error) == 0 ? kExitSuccess : kExitUsage, "");
  } catch (const std::exception& failure) {
    status = FinishFailedRun(session, failure);
  }
  RunEnded();
  return status;
}

}  // namespace

int RunTool(int argc, const char* const* argv) {
  PrepareStandardStreams();
  Session session;
  CLI::App app{"Generates, lists and back-translates the domain files of a process controller.",
               "morvit"};
  app.set_version_flag("--version", "morvit " MORVIT_TOOL_VERSION);
  // Options are "--name" and "-x" on every host: "/data" is a path, also on Windows.
  app.allow_windows_style_options(false);
  app.require_subcommand(0, 1);
  // Hidden: the build makes the manual page and the completion script with them.
  bool manualPage = false;
  bool completion = false;
  bool exitStatuses = false;
  app.add_flag("--generate-man", manualPage)->group("");
  app.add_flag("--generate-bash-completion", completion)->group("");
  // The table of exit statuses that docs/tool-safety.md holds.
  app.add_flag("--generate-exit-statuses", exitStatuses)->group("");
  std::map<const CLI::App*, CommandAction> actions;
  const auto add = [&](CommandAction (*adder)(CLI::App&)) {
    const std::size_t before = app.get_subcommands({}).size();
    CommandAction action = adder(app);
    actions[app.get_subcommands({}).at(before)] = std::move(action);
  };
  add(AddGenerateCommand);
  add(AddDumpCommand);
  add(AddDiffCommand);
  add(AddBacktranslateCommand);
  add(AddCheckLibsCommand);
  add(AddCheckCommand);
  add(AddImplodeCommand);
  add(AddExplodeCommand);
  add(AddDemoCommand);
  add(AddViewCommand);
  add(AddHelpCommand);
  app.footer(ExitStatusHelp(""));
  for (CLI::App* command : app.get_subcommands({})) {
    session.AddCommonOptions(*command);
    command->footer(ExitStatusHelp(command->get_name()));
  }

  if (IsUnknownCommand(app, argc, argv)) return kExitUsage;
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    // --help and --version are parse errors too, with status 0: their text is a run's output.
    const int status = app.exit(error) == 0 ? kExitSuccess : kExitUsage;
    return FinishRun(session, status, "");
  }
  if (manualPage || completion || exitStatuses) {
    std::cout << (manualPage   ? ManualPage(app)
                  : completion ? BashCompletion(app)
                               : ExitStatusMarkdown());
    return FinishRun(session, kExitSuccess, "");
  }
  if (app.get_subcommands().empty()) {
    std::cerr << "morvit: a command is required\n" << CommandList(app);
    return kExitUsage;
  }
  const CLI::App* command = app.get_subcommands().front();
  session.SetCommand(command->get_name());
  SetCommandName(command->get_name());
  return RunCommand(session, *command, actions.at(command));
}

}  // namespace morvit::tool
