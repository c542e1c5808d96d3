// Rows and outline of a domain's page. A row is a JSON value:
//   [node]                                        a structure's head
//   "hex"                                         a field after the one before it (same depth),
//                                                 unlabelled, its value the unsigned hex
//   ["hex", [[label, kind, text], ...]]           the same with its values
//   [offset, width, hex, value, label, depth]     any other field
//   [offset, width, hex, value, label, depth, [[label, kind, text], ...]]
//                                                 a field with the values that end on its bytes
//   ["=", depth, [[label, kind, text], ...]]      values with no field of their own in reach
//   ["stop", offset, reason, depth]               where the listing stopped
// Labels are numbers into the outline's list of labels.
#include "view/DomainPage.h"

#include <algorithm>

#include "listing/ListingJson.h"
#include "view/SiteData.h"

namespace morvit::tool {
namespace {

// Field rows held back for values: an element's fields, or this many of a long run.
constexpr std::size_t kPendingRows = 256;

// Whether `value` is the unsigned big-endian number of `hex`.
bool PlainValue(const std::string& hex, const std::string& value) {
  if (hex.empty() || hex.size() > 8) return false;
  return std::to_string(std::stoull(hex, nullptr, 16)) == value;
}

}  // namespace

DomainPage::DomainPage(const std::filesystem::path& site, std::string id)
    : m_site(site), m_id(std::move(id)), m_search(site, m_id, kChunkRows) {}

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
  m_nextOffset = -1;  // a chunk is read on its own: its first field is written whole
}

void DomainPage::WriteField(const FieldRow& row) {
  if (row.offset == m_nextOffset && row.depth == m_lastDepth && row.label == LabelId("") &&
      PlainValue(row.hex, row.value)) {
    if (row.values.empty()) {
      AppendJsonString(m_chunk, row.hex);
    } else {
      m_chunk += "[";
      AppendJsonString(m_chunk, row.hex);
      m_chunk += ",[" + row.values + "]]";
    }
  } else {
    m_chunk += "[" + std::to_string(row.offset) + "," + std::to_string(row.width) + ",";
    AppendJsonString(m_chunk, row.hex);
    m_chunk += ",";
    AppendJsonString(m_chunk, row.value);
    m_chunk += "," + std::to_string(row.label) + "," + std::to_string(row.depth);
    if (!row.values.empty()) m_chunk += ",[" + row.values + "]";
    m_chunk += "]";
  }
  m_nextOffset = row.offset + row.width;
  m_lastDepth = row.depth;
  m_search.Row(row.label, row.search, row.offset, row.offset + std::max(row.width, 1));
  EndRow();
}

void DomainPage::Flush() {
  for (const FieldRow& row : m_pending) WriteField(row);
  m_pending.clear();
}

void DomainPage::OpenNode(std::string kind, std::string title, std::int64_t offset,
                          std::string place) {
  Flush();
  m_chunk += "[" + std::to_string(m_nodes.size()) + "]";
  m_open.push_back(m_nodes.size());
  m_nodes.push_back({m_rows, 0, m_open.size() - 1, std::move(kind), std::move(title), offset,
                     std::move(place), false});
  m_search.Row(SearchIndex::kNoLabel, {});  // the page searches titles in the outline
  EndRow();
}

void DomainPage::CloseNode() {
  Flush();
  m_nodes[m_open.back()].end = m_rows;
  m_open.pop_back();
}

// A value goes beside the field on whose bytes it ends; an element's key and name (its first)
// also name the element in the outline.
void DomainPage::AddValue(const ListingEvent& event) {
  if (!m_open.empty()) {
    Node& node = m_nodes[m_open.back()];
    if (node.kind == "element" && event.name == "key" && !node.title.starts_with("entry ")) {
      node.title = "entry " + event.value + node.place;
    } else if (node.kind == "element" && event.name == "name" && !node.named) {
      // An element with a name and no key (a decoder table's description) is named by it too.
      node.title.insert(node.title.size() - node.place.size(), " \"" + event.value + "\"");
      node.named = true;
    }
  }
  std::string value = "[" + std::to_string(LabelId(event.label)) + ",";
  AppendJsonString(value, event.name);
  value += ",";
  AppendJsonString(value, event.value);
  value += "]";
  // As the page reads it: "value A = 42", "name = \"PUMP_01\"".
  const bool quoted = event.name == "text" || event.name == "name";
  const std::string shown = (event.label.empty() ? event.name : event.label) + " = " +
                            (quoted ? "\"" + event.value + "\"" : event.value);
  const std::int64_t last = event.offset + std::max(event.width, 1) - 1;
  auto row = std::find_if(m_pending.rbegin(), m_pending.rend(), [&](const FieldRow& r) {
    return last >= r.offset && last < r.offset + std::max(r.width, 1);
  });
  if (row == m_pending.rend() && !m_pending.empty()) row = m_pending.rbegin();
  if (row != m_pending.rend()) {
    row->values += (row->values.empty() ? "" : ",") + value;
    row->search += (row->search.empty() ? "" : ", ") + shown;
    return;
  }
  m_chunk += "[\"=\"," + std::to_string(m_open.size()) + ",[" + value + "]]";
  m_search.Row(SearchIndex::kNoLabel, shown);
  EndRow();
}

void DomainPage::Add(const ListingEvent& event) {
  using Kind = ListingEvent::Kind;
  switch (event.kind) {
    case Kind::file:
      while (!m_open.empty()) CloseNode();
      OpenNode("file", "file " + event.label, 0);
      return;
    case Kind::begin: {
      std::string title = event.structure;
      if (!event.name.empty()) title += " " + event.name;
      if (event.code >= 0) title += " code " + std::to_string(event.code);
      if (!event.codeName.empty()) title += " " + event.codeName;
      if (event.index >= 0) title += " #" + std::to_string(event.index);
      std::string place = " at " + std::to_string(event.offset);
      OpenNode(event.structure, title + place, event.offset, place);
      return;
    }
    case Kind::end:
      // A file's own node closes only at the next file; an unmatched end changes nothing.
      if (m_open.size() > 1 || (m_open.size() == 1 && m_nodes[m_open.back()].kind != "file"))
        CloseNode();
      return;
    case Kind::field:
      if (m_pending.size() >= kPendingRows) Flush();
      m_pending.push_back({event.offset,
                           event.width,
                           event.hex,
                           event.value,
                           LabelId(event.label),
                           m_open.size(),
                           {},
                           {}});
      return;
    case Kind::value:
      AddValue(event);
      return;
    case Kind::stop:
      Flush();
      m_chunk += "[\"stop\"," + std::to_string(event.offset) + ",";
      AppendJsonString(m_chunk, event.label);
      m_chunk += "," + std::to_string(m_open.size()) + "]";
      m_nextOffset = -1;
      m_search.Row(SearchIndex::kNoLabel,
                   "stop " + std::to_string(event.offset) + " " + event.label);
      EndRow();
      return;
  }
}

void DomainPage::Finish(const std::string& fields) {
  while (!m_open.empty()) CloseNode();
  Flush();
  if (!m_chunk.empty()) {
    m_chunk.back() = ']';
    WriteDataFile(m_site, "data/" + m_id + "/c" + std::to_string(m_chunks++) + ".js",
                  "[" + m_chunk);
    m_chunk.clear();
  }
  std::string outline = "{" + fields;
  outline += ",\"rows\":" + std::to_string(m_rows);
  outline += ",\"chunkRows\":" + std::to_string(kChunkRows);
  outline += ",\"searchFiles\":" + std::to_string(m_search.Finish());
  outline += ",\"searchChunks\":" + std::to_string(SearchIndex::kChunksPerFile);
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
  column("offset", [&](const Node& n) { outline += std::to_string(n.offset); });
  column("kind", [&](const Node& n) { AppendJsonString(outline, n.kind); });
  column("title", [&](const Node& n) { AppendJsonString(outline, n.title); });
  outline += "}}";
  WriteDataFile(m_site, "data/" + m_id + "/outline.js", outline);
}

}  // namespace morvit::tool
