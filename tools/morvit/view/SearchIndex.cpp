// The search index: a file of chunks, each [labels, texts, lowest offset, end of the highest].
// Labels are characters U+0100 and up (the label's number above 0x100, U+00FF for none), so
// that they never meet a query's text; texts are JSON strings with a line per row.
#include "view/SearchIndex.h"

#include <algorithm>

#include "listing/ListingJson.h"
#include "view/SiteData.h"

namespace morvit::tool {
namespace {

constexpr char32_t kNoLabelChar = 0xFF;
constexpr char32_t kFirstLabelChar = 0x100;
// Labels past the characters below the surrogates share the last one.
constexpr char32_t kLastLabelChar = 0xD7FF;

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
  }
  out += static_cast<char>(0x80 | (c & 0x3F));
}

}  // namespace

SearchIndex::SearchIndex(const std::filesystem::path& site, std::string id, std::size_t chunkRows)
    : m_site(site), m_id(std::move(id)), m_chunkRows(chunkRows) {}

void SearchIndex::Row(int label, const std::string& text, std::int64_t offset, std::int64_t end) {
  AppendUtf8(m_labels, label == kNoLabel
                           ? kNoLabelChar
                           : std::min<char32_t>(kFirstLabelChar + label, kLastLabelChar));
  for (const char c : text) m_text += c == '\n' ? ' ' : c;
  m_text += '\n';
  if (offset >= 0) {
    m_low = m_low < 0 ? offset : std::min(m_low, offset);
    m_high = std::max(m_high, end);
  }
  if (++m_rows % m_chunkRows == 0) EndChunk();
}

void SearchIndex::EndChunk() {
  m_file += m_fileChunks++ == 0 ? "[" : ",";
  // The label characters are written as they are: none of them needs escaping in a string.
  m_file += "[\"" + m_labels + "\",";
  AppendJsonString(m_file, m_text);
  m_file += "," + std::to_string(m_low) + "," + std::to_string(m_high) + "]";
  m_labels.clear();
  m_text.clear();
  m_low = m_high = -1;
  if (m_fileChunks == kChunksPerFile) WriteFile();
}

void SearchIndex::WriteFile() {
  WriteDataFile(m_site, "data/" + m_id + "/s" + std::to_string(m_files++) + ".js", m_file + "]");
  m_file.clear();
  m_fileChunks = 0;
}

std::size_t SearchIndex::Finish() {
  if (m_rows % m_chunkRows != 0) EndChunk();
  if (m_fileChunks != 0) WriteFile();
  return m_files;
}

}  // namespace morvit::tool
