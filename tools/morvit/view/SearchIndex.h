// The search index of a domain's page, written beside its rows as a compact piece of its own:
// for each row its label (one character, the label's number) and the text of its values, and
// for each chunk of rows the range of the field offsets it holds. The page searches labels,
// values, and its outline's titles (keys and names) without loading the rows, and goes to an
// offset by loading the one chunk that holds it.
#ifndef MORVIT_TOOL_SEARCHINDEX_H
#define MORVIT_TOOL_SEARCHINDEX_H

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace morvit::tool {

class SearchIndex {
 public:
  // Chunks of rows per index file: few files for the page to load, each a few megabytes at most.
  static constexpr std::size_t kChunksPerFile = 16;
  // A row without a label (a structure's head, values of their own, a stop).
  static constexpr int kNoLabel = -1;

  SearchIndex(const std::filesystem::path& site, std::string id, std::size_t chunkRows);

  // The next row: its label's number (or kNoLabel), the text of its values as the page shows
  // them, and the offsets of its bytes ([offset, end), none for a row that is no field).
  void Row(int label, const std::string& text, std::int64_t offset = -1, std::int64_t end = -1);
  // Writes what is left; the number of index files written.
  std::size_t Finish();

 private:
  void EndChunk();
  void WriteFile();

  std::filesystem::path m_site;
  std::string m_id;
  std::size_t m_chunkRows;
  std::size_t m_rows = 0;
  std::string m_labels;  // the chunk's label characters, UTF-8
  std::string m_text;    // the chunk's texts, one line per row
  std::int64_t m_low = -1, m_high = -1;
  std::string m_file;  // the chunks of the file being made
  std::size_t m_fileChunks = 0;
  std::size_t m_files = 0;
};

}  // namespace morvit::tool

#endif  // MORVIT_TOOL_SEARCHINDEX_H
