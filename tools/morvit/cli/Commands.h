// The tool's commands: each adds its subcommand, with its options, to the application and
// returns the action that runs it once the arguments are parsed.
#ifndef MORVIT_TOOL_COMMANDS_H
#define MORVIT_TOOL_COMMANDS_H

#include <CLI/CLI.hpp>
#include <functional>
#include <string>

namespace morvit::tool {

// Runs a parsed command; returns its exit status or throws (see Failure.h).
using CommandAction = std::function<int()>;

CommandAction AddImplodeCommand(CLI::App& app);
CommandAction AddExplodeCommand(CLI::App& app);
CommandAction AddGenerateCommand(CLI::App& app);
CommandAction AddDemoCommand(CLI::App& app);
CommandAction AddBacktranslateCommand(CLI::App& app);
CommandAction AddDumpCommand(CLI::App& app);
CommandAction AddCheckLibsCommand(CLI::App& app);
CommandAction AddCheckCommand(CLI::App& app);
CommandAction AddViewCommand(CLI::App& app);
CommandAction AddDiffCommand(CLI::App& app);

// The data-set and project directories a command works on (empty: the library's default).
struct Directories {
  std::string data;
  std::string project;
};

// The data-set directory a command works on: --data, else MORVIT_DATA_DIR, else the current
// directory. A directory that does not exist is a failure.
std::string DataDirectory(const Directories& directories);

// Adds --data and --project to a command.
void AddDirectoryOptions(CLI::App& command, Directories& directories);

// Makes the directories given the library's for this process: the library reads them from its
// environment at first use.
void UseDirectories(const Directories& directories);

// Runs the tool on its arguments; returns the exit status.
int RunTool(int argc, const char* const* argv);

}  // namespace morvit::tool

#endif  // MORVIT_TOOL_COMMANDS_H
