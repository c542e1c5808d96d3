// The data of one domain's page: the listing events as rows (a structure's head, a field with
// the values that end on its bytes, the place where the listing stopped), written in chunks
// that the page loads as they come into view, and an outline of the structures (with their
// offsets, and an entry's key and name in its title) that lets the page fold, scroll, search
// titles and go to an offset without them. Rows are kept short: a field that follows the one
// before it, unlabelled and with its plain value, is its hex alone.
#ifndef MORVIT_TOOL_DOMAINPAGE_H
#define MORVIT_TOOL_DOMAINPAGE_H

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <unordered_map>
#include <vector>

#include "listing/ListingEvents.h"
#include "view/SearchIndex.h"

namespace morvit::tool {

class DomainPage {
 public:
  // Rows per chunk file: small enough to load at once, large enough to keep the files few.
  static constexpr std::size_t kChunkRows = 4096;
  // A page with more rows than this opens with everything below the top level folded.
  static constexpr std::size_t kFoldAbove = 20000;

  DomainPage(const std::filesystem::path& site, std::string id);

  void Add(const ListingEvent& event);
  // Writes the last chunk and the outline; `fields` is the outline's other members (a JSON
  // object's text without its braces), written before the rows and structures.
  void Finish(const std::string& fields);

 private:
  struct Node {
    std::size_t row = 0;
    std::size_t end = 0;
    std::size_t depth = 0;
    std::string kind;
    std::string title;
    std::int64_t offset = -1;
    std::string place;   // the title's tail: " at OFFSET"
    bool named = false;  // the title holds the element's name
  };
  // A field row waiting for the values that end on its bytes.
  struct FieldRow {
    std::int64_t offset = 0;
    int width = 0;
    std::string hex;
    std::string value;
    int label = 0;
    std::size_t depth = 0;
    std::string values;  // [[label, kind, text], ...] without the brackets
    std::string search;  // the values as the page shows them, for the search index
  };

  void OpenNode(std::string kind, std::string title, std::int64_t offset = -1,
                std::string place = {});
  void CloseNode();
  void EndRow();
  void Flush();
  void WriteField(const FieldRow& row);
  void AddValue(const ListingEvent& event);
  int LabelId(const std::string& label);

  std::filesystem::path m_site;
  std::string m_id;
  std::vector<Node> m_nodes;
  std::vector<std::size_t> m_open;  // indexes of the open structures, outermost first
  std::unordered_map<std::string, int> m_labelIds;
  std::vector<const std::string*> m_labels;
  std::vector<FieldRow> m_pending;
  std::int64_t m_nextOffset = -1;  // where a short field row stands: after the one before it
  std::size_t m_lastDepth = 0;
  std::string m_chunk;
  std::size_t m_rows = 0;
  std::size_t m_chunks = 0;
  SearchIndex m_search;
};

}  // namespace morvit::tool

#endif  // MORVIT_TOOL_DOMAINPAGE_H
