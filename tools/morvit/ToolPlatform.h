// The few host calls of the tool itself, the same on every host: environment settings, local
// time, whether standard error is a terminal, the Ctrl-C handler, and the UTF-8 texts of paths
// and arguments (the library takes UTF-8 paths; a Windows path and command line are UTF-16).
#ifndef MORVIT_TOOL_TOOLPLATFORM_H
#define MORVIT_TOOL_TOOLPLATFORM_H

#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

namespace morvit::tool {

void SetEnvironment(const char* name, const std::string& value);
std::tm LocalTime(std::time_t time);
bool StandardErrorIsTerminal();

// Routes Ctrl-C to `handler` (given the signal number) until the returned restorer runs; the
// handler may put the default back itself.
using InterruptHandler = void (*)(int);
class InterruptRoute {
 public:
  explicit InterruptRoute(InterruptHandler handler);
  ~InterruptRoute();
  InterruptRoute(const InterruptRoute&) = delete;
  InterruptRoute& operator=(const InterruptRoute&) = delete;
  // Gives Ctrl-C back to its default (from inside the handler).
  static void RestoreDefault();

 private:
  InterruptHandler m_previous;
};

// A path's text in UTF-8 and a path from UTF-8 text.
std::string Utf8(const std::filesystem::path& path);
std::filesystem::path PathFromUtf8(const std::string& text);

// The program's arguments in UTF-8 (on Windows read again from the wide command line).
std::vector<std::string> Utf8Arguments(int argc, char** argv);

}  // namespace morvit::tool

#endif  // MORVIT_TOOL_TOOLPLATFORM_H
