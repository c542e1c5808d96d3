// The tool's help beyond --help, all drawn from the same command definitions as --help, so
// that nothing here can drift from the commands: `morvit help [COMMAND]`, the message for a
// command that does not exist, the manual page and the bash completion script.
#ifndef MORVIT_TOOL_HELP_H
#define MORVIT_TOOL_HELP_H

#include <CLI/CLI.hpp>
#include <string>

#include "cli/Commands.h"

namespace morvit::tool {

// `morvit help [COMMAND]`: the tool's help, or a command's.
CommandAction AddHelpCommand(CLI::App& app);

// The commands a user may call (hidden ones left out), in the order they were added.
std::vector<const CLI::App*> VisibleCommands(const CLI::App& app);

// "Commands:" and one line per command with its description.
std::string CommandList(const CLI::App& app);

// "unknown command 'NAME'" and the list of commands, one per line with its description.
std::string UnknownCommand(const CLI::App& app, const std::string& name);

// The manual page (roff, section 1) and the bash completion script of the whole tool.
std::string ManualPage(const CLI::App& app);
std::string BashCompletion(const CLI::App& app);

}  // namespace morvit::tool

#endif  // MORVIT_TOOL_HELP_H
