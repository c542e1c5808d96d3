// Running the tool as a process: through the shell, with output captured in files.
#include "tool/ToolRun.h"

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace morvit::tooltest {

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string Query(const std::string& path, const std::string& sql) {
  const std::string command = "sqlite3 '" + path + "' \"" + sql + "\"";
  std::string rows;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[512];
    while (fgets(buffer, sizeof buffer, pipe)) rows += buffer;
    pclose(pipe);
  }
  return rows;
}

std::string ToolPath() {
  const char* other = std::getenv("MORVIT_TOOL");
  return other != nullptr && *other != '\0' ? std::string(other) : std::string(MORVIT_TOOL_PATH);
}

namespace {

// The Windows tool under wine names the host's directories through wine's drive of the root,
// "Z:/tmp/x" for "/tmp/x": taken back, one set of expectations serves both tools. (A Windows
// tool shows paths with '/' separators, as the library keeps them.)
std::string HostPaths(std::string text) {
  if (std::getenv("MORVIT_TOOL") == nullptr) return text;
  for (std::size_t at = text.find("Z:/"); at != std::string::npos; at = text.find("Z:/", at)) {
    text.erase(at, 2);
  }
  return text;
}

// Runs `program` (a shell command line) in `directory` with output captured in files.
ToolResult Run(const std::string& directory, const std::string& environment,
               const std::string& program) {
  const std::string out = directory + "/.tool-stdout";
  const std::string err = directory + "/.tool-stderr";
  const std::string command = "cd '" + directory + "' && env -u MORVIT_DATA_DIR -u " +
                              "MORVIT_PROJECT_DIR " + environment + " " + program + " >'" + out +
                              "' 2>'" + err + "'";
  const int raw = std::system(command.c_str());
  ToolResult result{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, HostPaths(ReadText(out)),
                    HostPaths(ReadText(err))};
  std::remove(out.c_str());
  std::remove(err.c_str());
  return result;
}

}  // namespace

ToolResult RunTool(const std::string& directory, const std::string& arguments,
                   const std::string& environment) {
  return Run(directory, environment, "'" + ToolPath() + "' " + arguments);
}

ToolResult GenerateExample(const std::string& directory) {
  return RunTool(directory, "generate '" MORVIT_SOURCE_DIR "/examples/job.json' --data data");
}

ToolResult RunScript(const std::string& directory, const std::string& script) {
  const std::string file = directory + "/.tool-script";
  std::ofstream(file) << script << "\n";
  const ToolResult result = Run(directory, "MORVIT='" + ToolPath() + "'", "bash '" + file + "'");
  std::remove(file.c_str());
  return result;
}

}  // namespace morvit::tooltest
