// Failures and warnings in words.
#include "cli/Failure.h"

#include <filesystem>
#include <iostream>
#include <nlohmann/json.hpp>

#include "cli/ToolPlatform.h"
#include "morvit/platform.h"

namespace morvit::tool {
namespace {

std::string g_commandName;

// The JSON reader's message without its "[json.exception.parse_error.101] parse error" head.
std::string JsonText(const nlohmann::json::exception& e) {
  std::string text = e.what();
  const std::size_t head = text.find("] ");
  if (head != std::string::npos) text = text.substr(head + 2);
  return "not valid JSON: " + text;
}

}  // namespace

std::string DescribeFailure(const std::exception& failure) {
  if (const auto* file = dynamic_cast<const CFileException*>(&failure)) {
    CFileException named = *file;
    if (named.m_strFileName.empty()) named.m_strFileName = "(unnamed file)";
    return DescribeFileException(named);
  }
  if (const auto* json = dynamic_cast<const nlohmann::json::exception*>(&failure)) {
    return JsonText(*json);
  }
  if (const auto* system = dynamic_cast<const std::filesystem::filesystem_error*>(&failure)) {
    std::string text = system->path1().empty() ? std::string() : Utf8(system->path1()) + ": ";
    return text + system->code().message();
  }
  if (dynamic_cast<const std::ios_base::failure*>(&failure) != nullptr) {
    return "a file cannot be read or written (a directory, or a device that failed)";
  }
  return failure.what();
}

void Warn(const std::string& text) {
  std::cerr << "morvit" << (g_commandName.empty() ? "" : " " + g_commandName)
            << ": warning: " << text << "\n";
}

void SetCommandName(const std::string& name) { g_commandName = name; }

}  // namespace morvit::tool
