// Writes the site: the built-in pages, then per domain its listing, its page data and its line
// in the index.
#include "view/ViewSite.h"

#include <ctime>
#include <map>
#include <string>
#include <vector>

#include "cli/EmbeddedTexts.h"
#include "cli/ToolPlatform.h"
#include "dataset/DataSetInventory.h"
#include "listing/ListingEvents.h"
#include "listing/ListingJson.h"
#include "view/DiffPage.h"
#include "view/DomainPage.h"
#include "view/SiteData.h"

namespace morvit::tool {
namespace {

// Whether a domain is sound is the library's verdict (the same as `morvit check` gives): empty
// when it is, otherwise the verdict in words.
// The page says "damaged: " itself; the other verdicts are named.
std::string Verdict(const DomainEntry& domain) {
  const std::string prefix = "damaged: ";
  const std::string& text = domain.headerProblem;
  return text.starts_with(prefix) ? text.substr(prefix.size()) : text;
}

namespace fs = std::filesystem;

// Listing files keep the domain's name where it is plain, so that a saved listing says whose
// it is; anything else in the name becomes '_'.
std::string ListingSrc(const DomainEntry& domain) {
  std::string name = Utf8(domain.file.filename());
  for (char& c : name) {
    const bool plain =
        (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.';
    if (!plain) c = '_';
  }
  return "listings/" + domain.id + "_" + name + ".txt";
}

// The comparison of a domain with its previous version is named after the newer one.
std::string DiffId(const DomainEntry& newer) { return "x" + newer.id.substr(1); }

void AppendMember(std::string& out, const char* name, const std::string& value) {
  out += std::string(",\"") + name + "\":";
  AppendJsonString(out, value);
}

void AppendNumber(std::string& out, const char* name, std::uintmax_t value) {
  out += std::string(",\"") + name + "\":" + std::to_string(value);
}

// The members that the index and the domain's page share.
std::string DomainFields(const std::vector<DomainEntry>& domains, const DomainEntry& d,
                         const std::string& problem, const std::string& listing) {
  std::string out = "\"id\":\"" + d.id + "\"";
  AppendMember(out, "name", Utf8(d.file.filename()));
  AppendNumber(out, "type", d.type);
  AppendMember(out, "typeName", d.typeName);
  AppendNumber(out, "scope", d.scope);
  AppendNumber(out, "version", d.version);
  AppendNumber(out, "object", d.object);
  AppendMember(out, "time", d.time);
  AppendNumber(out, "major", static_cast<std::uintmax_t>(d.major));
  AppendNumber(out, "minor", static_cast<std::uintmax_t>(d.minor));
  out += std::string(",\"clean\":") + (problem.empty() ? "true" : "false");
  AppendMember(out, "problem", problem);
  out += ",\"listing\":";
  if (listing.empty()) {
    out += "null";
  } else {
    AppendJsonString(out, listing);
  }
  out += ",\"related\":[";
  for (std::size_t i = 0; i < d.related.size(); ++i) {
    out +=
        std::string(i ? "," : "") + "{\"id\":\"" + domains[d.related[i].other].id + "\",\"label\":";
    AppendJsonString(out, d.related[i].label);
    out += "}";
  }
  out += "],\"diffs\":[";
  // Each domain with its previous version, and with the next one.
  const auto link = [&](const DomainEntry& newer, const DomainEntry& other) {
    out += std::string(out.back() == '[' ? "" : ",") + "{\"id\":\"" + DiffId(newer) +
           "\",\"label\":\"with version " + std::to_string(other.version) + "\"}";
  };
  const std::size_t self = static_cast<std::size_t>(&d - domains.data());
  if (!d.olderVersions.empty()) link(d, domains[d.olderVersions.front()]);
  if (self > 0 && !domains[self - 1].olderVersions.empty())
    link(domains[self - 1], domains[self - 1]);
  out += "]";
  return out;
}

std::string IndexEntry(const DomainEntry& d, const std::string& fields) {
  std::string out = "{" + fields;
  AppendMember(out, "area", d.area);
  AppendNumber(out, "parts", d.parts.size());
  std::uintmax_t total = 0;
  out += ",\"sizes\":[";
  for (std::size_t i = 0; i < d.sizes.size(); ++i) {
    out += (i ? "," : "") + std::to_string(d.sizes[i]);
    total += d.sizes[i];
  }
  out += "]";
  AppendNumber(out, "size", total);
  out += ",\"page\":true}";
  return out;
}

std::string Now() {
  const std::time_t now = std::time(nullptr);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M UTC", std::gmtime(&now));
  return text;
}

}  // namespace

SiteSummary WriteSite(const fs::path& data, const fs::path& site) {
  const std::vector<DomainEntry> domains = ReadInventory(data, true);
  fs::remove_all(site / "data");
  fs::remove_all(site / "listings");
  constexpr std::string_view kSiteFolder = "tools/morvit/view/site/";
  for (const EmbeddedText& text : EmbeddedTexts()) {
    if (text.name.starts_with(kSiteFolder)) {
      WriteSiteFile(site / std::string(text.name.substr(kSiteFolder.size())), text.content);
    }
  }
  const ScratchDataSet scratch(domains, site / "scratch");
  SiteSummary summary;
  std::string index = "{\"dataSet\":";
  AppendJsonString(index, Utf8(fs::absolute(data).lexically_normal()));
  AppendMember(index, "written", Now());
  index += ",\"domains\":[";
  for (std::size_t i = 0; i < domains.size(); ++i) {
    const DomainEntry& d = domains[i];
    DomainPage page(site, d.id);
    const ListingOutcome listed =
        ListDomain(d, scratch, [&page](const ListingEvent& e) { page.Add(e); });
    if (i > 0 && !domains[i - 1].olderVersions.empty())
      WriteDiffPage(site, scratch, DiffId(domains[i - 1]), d, domains[i - 1]);
    const std::string problem = Verdict(d);
    std::string listing;
    if (!listed.text.empty()) {
      listing = ListingSrc(d);
      WriteSiteFile(site / listing, listed.text);
    }
    const std::string fields = DomainFields(domains, d, problem, listing);
    page.Finish(fields);
    index += (summary.domains ? "," : "") + IndexEntry(d, fields);
    ++summary.domains;
    if (!problem.empty()) ++summary.damaged;
  }
  index += "]}";
  WriteDataFile(site, "data/index.js", index);
  return summary;
}

}  // namespace morvit::tool
