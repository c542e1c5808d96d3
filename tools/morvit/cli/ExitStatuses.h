// The exit statuses of every command, in one table: `morvit help`, each command's help, the
// manual page and the table in docs/tool-safety.md (`morvit --generate-exit-statuses`, which a
// test compares with the document) are all drawn from it.
#ifndef MORVIT_TOOL_EXITSTATUSES_H
#define MORVIT_TOOL_EXITSTATUSES_H

#include <string>

namespace morvit::tool {

// "Exit status: 0 done; 1 failed" and what every command shares, for a command's help; the
// whole table for the tool's help when `command` is empty.
std::string ExitStatusHelp(const std::string& command);
// The EXIT STATUS section's body of the manual page (roff).
std::string ExitStatusManual();
// The table as Markdown, as docs/tool-safety.md holds it.
std::string ExitStatusMarkdown();

}  // namespace morvit::tool

#endif  // MORVIT_TOOL_EXITSTATUSES_H
