// Comparison lines: ["@", place] where the place changes, ["~", place, label, old, new] for a
// changed value or field, ["-", ...] and ["+", ...] for those only one side has (of a whole
// place, each value it held).
#include "view/DiffPage.h"

#include "cli/ToolPlatform.h"
#include "listing/DumpDirectory.h"
#include "listing/ListingDiff.h"
#include "listing/ListingJson.h"
#include "view/SiteData.h"

namespace morvit::tool {
namespace {

class DiffLines {
 public:
  void Line(char op, const std::string& place, const std::string& label, const std::string& before,
            const std::string& after) {
    if (place != m_place) {
      m_out += std::string(m_out.empty() ? "" : ",") + "[\"@\",";
      AppendJsonString(m_out, place);
      m_out += ",\"\",\"\",\"\"]";
      m_place = place;
    }
    m_out += std::string(",[\"") + op + "\"";
    for (const std::string* text : {&place, &label, &before, &after}) {
      m_out += ",";
      AppendJsonString(m_out, *text);
    }
    m_out += "]";
    ++m_count[op == '-' ? 0 : op == '+' ? 1 : 2];
  }

  std::string Summary() const {
    return std::to_string(m_count[2]) + " changed, " + std::to_string(m_count[1]) + " added, " +
           std::to_string(m_count[0]) + " removed";
  }
  const std::string& Json() const { return m_out; }

 private:
  std::string m_out;
  std::string m_place = "\n";
  std::size_t m_count[3] = {0, 0, 0};
};

std::string Side(const DomainEntry& d) {
  std::string out = "{\"id\":\"" + d.id + "\",\"name\":";
  AppendJsonString(out, Utf8(d.file.filename()));
  return out + "}";
}

}  // namespace

void WriteDiffPage(const std::filesystem::path& site, const ScratchDataSet& scratch,
                   const std::string& id, const DomainEntry& older, const DomainEntry& newer) {
  DiffListing a, b;
  {
    DumpDirectory directory(scratch.Directory());
    a = ReadListing(ListedFiles(older, scratch.Directory()));
    b = ReadListing(ListedFiles(newer, scratch.Directory()));
  }
  DiffLines lines;
  for (const Difference& d : CompareListings(a, b, DiffOptions{})) {
    using Kind = Difference::Kind;
    const char op = d.kind == Kind::changed ? '~' : d.kind == Kind::added ? '+' : '-';
    if (d.whole) {
      // What a place only one side has held, value by value.
      for (const auto& [label, side] : d.contents) {
        lines.Line(op, d.place, label, op == '-' ? side.text : "", op == '+' ? side.text : "");
      }
    } else {
      lines.Line(op, d.place, d.label, d.a ? d.a->text : "", d.b ? d.b->text : "");
    }
  }
  std::string out = "{\"a\":" + Side(older) + ",\"b\":" + Side(newer) + ",\"typeName\":";
  AppendJsonString(out, newer.typeName);
  out += ",\"summary\":";
  std::string summary = "version " + std::to_string(older.version) + " -> " +
                        std::to_string(newer.version) + ": " + lines.Summary();
  if (!a.whole || !b.whole)
    summary += " (a listing stops short: " + (a.whole ? b.stop : a.stop) + ")";
  AppendJsonString(out, summary);
  WriteDataFile(site, "data/" + id + ".js", out + ",\"lines\":[" + lines.Json() + "]}");
}

}  // namespace morvit::tool
