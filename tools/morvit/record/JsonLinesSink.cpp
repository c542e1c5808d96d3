// The JSON lines sink.
#include "record/JsonLinesSink.h"

#include <cerrno>
#include <iostream>
#include <nlohmann/json.hpp>

#include "cli/Failure.h"
#include "cli/StandardStreams.h"
#include "morvit/platform.h"

namespace morvit::tool {
namespace {

std::string Hex(const std::vector<std::uint8_t>& bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string text;
  text.reserve(bytes.size() * 2);
  for (std::uint8_t byte : bytes) {
    text += kDigits[byte >> 4];
    text += kDigits[byte & 0x0F];
  }
  return text;
}

nlohmann::ordered_json ToJson(const Value& value, ColumnKind kind) {
  if (const auto* number = std::get_if<std::int64_t>(&value)) return *number;
  if (const auto* text = std::get_if<std::string>(&value)) {
    return kind == ColumnKind::kJson ? nlohmann::ordered_json::parse(*text)
                                     : nlohmann::ordered_json(*text);
  }
  if (const auto* bytes = std::get_if<std::vector<std::uint8_t>>(&value)) return Hex(*bytes);
  return nullptr;
}

}  // namespace

JsonLinesSink::JsonLinesSink(std::string path) : m_path(std::move(path)), m_out(&std::cout) {
  if (IsStandardStream(m_path)) return;
  m_file.open(m_path);
  if (!m_file) throw CFileException(CFileException::OsErrorToCause(errno), errno, m_path);
  m_out = &m_file;
}

void JsonLinesSink::Check() {
  if (m_out == &std::cout) return CheckStandardOutput();
  if (!*m_out) throw CFileException(CFileException::hardIO, -1, m_path);
}

void JsonLinesSink::Write(const Row& row) {
  nlohmann::ordered_json line;
  line["table"] = row.table->name;
  for (std::size_t i = 0; i < row.values.size(); ++i) {
    line[row.table->columns[i].name] = ToJson(row.values[i], row.table->columns[i].kind);
  }
  *m_out << line.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
  // Standard output is checked once per domain file, not flushed per row.
  if (m_out != &std::cout) Check();
}

void JsonLinesSink::EndDomainFile() {
  m_out->flush();
  Check();
}

void JsonLinesSink::Close() {
  if (m_out == &m_file) {
    if (!m_file.is_open()) return;
    m_file.close();
  }
  Check();
}

}  // namespace morvit::tool
