// Runs the built morvit tool as a separate process in a scratch directory and captures its
// exit status, standard output and standard error.
#ifndef MORVIT_TESTS_TOOL_TOOLRUN_H
#define MORVIT_TESTS_TOOL_TOOLRUN_H

#include <string>

namespace morvit::tooltest {

// The tool under test: the built morvit, or the program named by MORVIT_TOOL (the Windows
// build's morvit.exe through a wine launcher, which runs these suites against that tool).
std::string ToolPath();

struct ToolResult {
  int status;
  std::string out;
  std::string err;
};

// Runs `morvit ARGS` (arguments as one shell-quoted string) with `directory` as the working
// directory and MORVIT_DATA_DIR unset unless `environment` sets it ("NAME=value ...").
ToolResult RunTool(const std::string& directory, const std::string& arguments,
                   const std::string& environment = "");

// Generates the example job's domains into `directory`/data (the sample data set of most tool
// tests).
ToolResult GenerateExample(const std::string& directory);

// Runs a bash script in `directory` (environment as above), the tool's path in $MORVIT, for
// what needs the shell: standard input, pipes, /dev/full. Captures the script's own output.
ToolResult RunScript(const std::string& directory, const std::string& script);

// The rows of `sql` on the SQLite database at `path`, as the sqlite3 shell prints them.
std::string Query(const std::string& path, const std::string& sql);

// The text of a file.
std::string ReadText(const std::string& path);

}  // namespace morvit::tooltest

#endif  // MORVIT_TESTS_TOOL_TOOLRUN_H
