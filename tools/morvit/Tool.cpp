// The command line: the commands under one application, parsing, and the one place where a
// failure becomes a message and an exit status.
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <vector>

#include "Commands.h"
#include "Failure.h"
#include "ToolPlatform.h"

namespace morvit::tool {

// Made absolute here: the library resolves them at first use, and its newest-file search
// changes the current directory before that may happen.
void UseDirectories(const Directories& directories) {
  if (!directories.data.empty()) {
    SetEnvironment("MORVIT_DATA_DIR", Utf8(std::filesystem::absolute(directories.data)));
  }
  if (!directories.project.empty()) {
    SetEnvironment("MORVIT_PROJECT_DIR", Utf8(std::filesystem::absolute(directories.project)));
  }
}

void AddDirectoryOptions(CLI::App& command, Directories& directories) {
  command.add_option("--data", directories.data,
                     "data-set directory of the domain files (default: MORVIT_DATA_DIR, else .)");
  command.add_option("--project", directories.project,
                     "project directory of the node files (default: MORVIT_PROJECT_DIR, else "
                     "the data directory)");
}

int RunTool(int argc, const char* const* argv) {
  CLI::App app{"Generates, lists and back-translates the domain files of a process controller.",
               "morvit"};
  app.set_version_flag("--version", "morvit " MORVIT_TOOL_VERSION);
  app.require_subcommand(1, 1);
  std::map<const CLI::App*, CommandAction> actions;
  const auto add = [&](CommandAction (*adder)(CLI::App&)) {
    const std::size_t before = app.get_subcommands({}).size();
    CommandAction action = adder(app);
    actions[app.get_subcommands({}).at(before)] = std::move(action);
  };
  add(AddGenerateCommand);
  add(AddDumpCommand);
  add(AddBacktranslateCommand);
  add(AddCheckLibsCommand);
  add(AddImplodeCommand);
  add(AddExplodeCommand);
  add(AddDemoCommand);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    const int status = app.exit(error);
    return status == 0 ? kExitSuccess : kExitUsage;
  }
  try {
    return actions.at(app.get_subcommands().front())();
  } catch (const std::exception& failure) {
    std::cerr << "morvit " << app.get_subcommands().front()->get_name() << ": "
              << DescribeFailure(failure) << "\n";
    return kExitFailed;
  }
}

}  // namespace morvit::tool
