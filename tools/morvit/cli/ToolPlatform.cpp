// The tool's host calls: the POSIX forms, and the Windows ones beside them.
#include "cli/ToolPlatform.h"

#include <cstdio>

#ifdef _WIN32
#include <windows.h>
// After windows.h, which they need.
#include <io.h>
#include <shellapi.h>
#else
#include <unistd.h>

#include <cstdlib>
#endif

namespace morvit::tool {

std::string Utf8(const std::filesystem::path& path) {
  const std::u8string text = path.generic_u8string();
  return std::string(text.begin(), text.end());
}

std::filesystem::path PathFromUtf8(const std::string& text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

#ifdef _WIN32

namespace {

std::wstring Wide(const std::string& text) {
  const std::u8string u8(text.begin(), text.end());
  return std::filesystem::path(u8).wstring();
}

}  // namespace

void SetEnvironment(const char* name, const std::string& value) {
  ::_wputenv_s(Wide(name).c_str(), Wide(value).c_str());
}

std::tm LocalTime(std::time_t time) {
  std::tm local{};
  ::localtime_s(&local, &time);
  return local;
}

bool StandardErrorIsTerminal() { return ::_isatty(::_fileno(stderr)) != 0; }

std::FILE* OpenFile(const std::string& name, const char* mode) {
  return ::_wfopen(PathFromUtf8(name).c_str(), Wide(mode).c_str());
}

std::vector<std::string> Utf8Arguments(int, char**) {
  int count = 0;
  wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  for (int i = 0; i < count; ++i) {
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
    std::string argument(static_cast<std::size_t>(size > 0 ? size - 1 : 0), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, argument.data(), size, nullptr, nullptr);
    arguments.push_back(std::move(argument));
  }
  ::LocalFree(wide);
  return arguments;
}

#else

void SetEnvironment(const char* name, const std::string& value) {
  ::setenv(name, value.c_str(), 1);
}

std::tm LocalTime(std::time_t time) {
  std::tm local{};
  ::localtime_r(&time, &local);
  return local;
}

bool StandardErrorIsTerminal() { return ::isatty(STDERR_FILENO) != 0; }

std::FILE* OpenFile(const std::string& name, const char* mode) {
  return std::fopen(name.c_str(), mode);
}

std::vector<std::string> Utf8Arguments(int argc, char** argv) { return {argv, argv + argc}; }

#endif

}  // namespace morvit::tool
