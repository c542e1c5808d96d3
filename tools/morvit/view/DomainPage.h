// The data of one domain's page: the listing events as rows (a structure's head, a field, the
// place where the listing stopped), written in chunks that the page loads as they come into
// view, and an outline of the structures that lets the page fold and scroll without them.
#ifndef MORVIT_TOOL_DOMAINPAGE_H
#define MORVIT_TOOL_DOMAINPAGE_H

#include <cstddef>
#include <filesystem>
#include <string>
#include <unordered_map>
#include <vector>

#include "listing/ListingEvents.h"

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
  };

  void OpenNode(std::string kind, std::string title);
  void CloseNode();
  void EndRow();
  int LabelId(const std::string& label);

  std::filesystem::path m_site;
  std::string m_id;
  std::vector<Node> m_nodes;
  std::vector<std::size_t> m_open;  // indexes of the open structures, outermost first
  std::unordered_map<std::string, int> m_labelIds;
  std::vector<const std::string*> m_labels;
  std::string m_chunk;
  std::size_t m_rows = 0;
  std::size_t m_chunks = 0;
};

}  // namespace morvit::tool

#endif  // MORVIT_TOOL_DOMAINPAGE_H
