// Rows and outline of a domain's page. A row is a JSON array: [node] for a structure's head,
// [offset, width, hex, value, label id, depth] for a field, ["stop", offset, reason, depth].
#include "view/DomainPage.h"

#include "listing/ListingJson.h"
#include "view/SiteData.h"

namespace morvit::tool {

DomainPage::DomainPage(const std::filesystem::path& site, std::string id)
    : m_site(site), m_id(std::move(id)) {}

int DomainPage::LabelId(const std::string& label) {
  const auto [it, added] = m_labelIds.try_emplace(label, static_cast<int>(m_labels.size()));
  if (added) m_labels.push_back(&it->first);
  return it->second;
}

void DomainPage::EndRow() {
  ++m_rows;
  if (m_rows % kChunkRows != 0) {
    m_chunk += ",";
    return;
  }
  m_chunk += "]";
  WriteDataFile(m_site, "data/" + m_id + "/c" + std::to_string(m_chunks++) + ".js", "[" + m_chunk);
  m_chunk.clear();
}

void DomainPage::OpenNode(std::string kind, std::string title) {
  m_chunk += "[" + std::to_string(m_nodes.size()) + "]";
  m_open.push_back(m_nodes.size());
  m_nodes.push_back({m_rows, 0, m_open.size() - 1, std::move(kind), std::move(title)});
  EndRow();
}

void DomainPage::CloseNode() {
  m_nodes[m_open.back()].end = m_rows;
  m_open.pop_back();
}

void DomainPage::Add(const ListingEvent& event) {
  using Kind = ListingEvent::Kind;
  switch (event.kind) {
    case Kind::file:
      while (!m_open.empty()) CloseNode();
      OpenNode("file", "file " + event.label);
      return;
    case Kind::begin: {
      std::string title = event.structure;
      if (!event.name.empty()) title += " " + event.name;
      if (event.code >= 0) title += " code " + std::to_string(event.code);
      if (!event.codeName.empty()) title += " " + event.codeName;
      if (event.index >= 0) title += " #" + std::to_string(event.index);
      title += " at " + std::to_string(event.offset);
      OpenNode(event.structure, std::move(title));
      return;
    }
    case Kind::end:
      // A file's own node closes only at the next file; an unmatched end changes nothing.
      if (m_open.size() > 1 || (m_open.size() == 1 && m_nodes[m_open.back()].kind != "file"))
        CloseNode();
      return;
    case Kind::field:
      m_chunk += "[" + std::to_string(event.offset) + "," + std::to_string(event.width) + ",";
      AppendJsonString(m_chunk, event.hex);
      m_chunk += ",";
      AppendJsonString(m_chunk, event.value);
      m_chunk +=
          "," + std::to_string(LabelId(event.label)) + "," + std::to_string(m_open.size()) + "]";
      EndRow();
      return;
    case Kind::stop:
      m_chunk += "[\"stop\"," + std::to_string(event.offset) + ",";
      AppendJsonString(m_chunk, event.label);
      m_chunk += "," + std::to_string(m_open.size()) + "]";
      EndRow();
      return;
  }
}

void DomainPage::Finish(const std::string& fields) {
  while (!m_open.empty()) CloseNode();
  if (!m_chunk.empty()) {
    m_chunk.back() = ']';
    WriteDataFile(m_site, "data/" + m_id + "/c" + std::to_string(m_chunks++) + ".js",
                  "[" + m_chunk);
    m_chunk.clear();
  }
  std::string outline = "{" + fields;
  outline += ",\"rows\":" + std::to_string(m_rows);
  outline += ",\"chunkRows\":" + std::to_string(kChunkRows);
  outline += std::string(",\"collapse\":") + (m_rows > kFoldAbove ? "true" : "false");
  outline += ",\"labels\":[";
  for (std::size_t i = 0; i < m_labels.size(); ++i) {
    if (i) outline += ",";
    AppendJsonString(outline, *m_labels[i]);
  }
  outline += "],\"nodes\":{";
  const auto column = [&](const char* name, auto value) {
    if (outline.back() == ']') outline += ",";
    outline += std::string("\"") + name + "\":[";
    for (std::size_t i = 0; i < m_nodes.size(); ++i) {
      if (i) outline += ",";
      value(m_nodes[i]);
    }
    outline += "]";
  };
  column("row", [&](const Node& n) { outline += std::to_string(n.row); });
  column("end", [&](const Node& n) { outline += std::to_string(n.end); });
  column("depth", [&](const Node& n) { outline += std::to_string(n.depth); });
  column("kind", [&](const Node& n) { AppendJsonString(outline, n.kind); });
  column("title", [&](const Node& n) { AppendJsonString(outline, n.title); });
  outline += "}}";
  WriteDataFile(m_site, "data/" + m_id + "/outline.js", outline);
}

}  // namespace morvit::tool
