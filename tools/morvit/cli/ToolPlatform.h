// The few host calls of the tool itself, the same on every host: environment settings, local
// time, whether standard error is a terminal, the Ctrl-C handler, and the UTF-8 texts of paths
// and arguments (the library takes UTF-8 paths; a Windows path and command line are UTF-16).
#ifndef MORVIT_TOOL_TOOLPLATFORM_H
#define MORVIT_TOOL_TOOLPLATFORM_H

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

namespace morvit::tool {

void SetEnvironment(const char* name, const std::string& value);
std::tm LocalTime(std::time_t time);
bool StandardErrorIsTerminal();

// A path's text in UTF-8 with '/' separators (the library's form, shown alike on every host),
// and a path from UTF-8 text.
std::string Utf8(const std::filesystem::path& path);
std::filesystem::path PathFromUtf8(const std::string& text);

// std::fopen with a UTF-8 name (on Windows through _wfopen: a narrow name there is ANSI).
std::FILE* OpenFile(const std::string& name, const char* mode);

// The program's arguments in UTF-8 (on Windows read again from the wide command line).
std::vector<std::string> Utf8Arguments(int argc, char** argv);

}  // namespace morvit::tool

#endif  // MORVIT_TOOL_TOOLPLATFORM_H
