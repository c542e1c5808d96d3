// Writes the site: the built-in pages, then per domain its listing, its page data and its line
// in the index.
#include "view/ViewSite.h"

#include <ctime>
#include <map>
#include <string>
#include <vector>

#include "cli/EmbeddedTexts.h"
#include "cli/Interrupts.h"
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
std::string ListingSrc(const DomainEntry& domain, std::size_t piece) {
  std::string name = Utf8(domain.file.filename());
  for (char& c : name) {
    const bool plain =
        (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.';
    if (!plain) c = '_';
  }
  const std::string part = piece == 0 ? "" : ".part" + std::to_string(piece + 1);
  return "listings/" + domain.id + "_" + name + part + ".txt";
}

// Writes the text listing in pieces cut at line ends; returns their sources, in order.
std::vector<std::string> WriteListing(const fs::path& site, const DomainEntry& domain,
                                      std::string_view text) {
  std::vector<std::string> sources;
  while (!text.empty()) {
    std::size_t length = std::min(text.size(), kListingPiece);
    if (length < text.size()) {
      const std::size_t lineEnd = text.rfind('\n', length - 1);
      if (lineEnd != std::string_view::npos) length = lineEnd + 1;
    }
    sources.push_back(ListingSrc(domain, sources.size()));
    WriteSiteFile(site / sources.back(), text.substr(0, length));
    text.remove_prefix(length);
  }
  return sources;
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
                         const std::string& problem, const std::vector<std::string>& listing,
                         const ListingOutcome& listed, bool listingOmitted) {
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
  // The listing's pieces, none when there is no text listing, or it was left out for size.
  out += ",\"listing\":[";
  for (std::size_t i = 0; i < listing.size(); ++i) {
    if (i) out += ",";
    AppendJsonString(out, listing[i]);
  }
  out += std::string("],\"listingOmitted\":") + (listingOmitted ? "true" : "false");
  // A compressed domain is listed expanded: its offsets and bytes are the expanded domain's.
  out += std::string(",\"compressed\":") + (d.compressed ? "true" : "false");
  out += ",\"stopAt\":" + std::to_string(listed.complete ? -1 : listed.stopAt);
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

SiteSummary WriteSite(const fs::path& data, const fs::path& site, const SiteOptions& options) {
  // Whether each domain is sound is the library's verdict, as `morvit check` gives it.
  const std::vector<DomainEntry> domains = ReadInventory(data, true);
  InterruptMoment("view:inventory");
  StopIfInterrupted();
  constexpr std::string_view kSiteFolder = "tools/morvit/view/site/";
  for (const EmbeddedText& text : EmbeddedTexts()) {
    if (text.name.starts_with(kSiteFolder)) {
      WriteSiteFile(site / std::string(text.name.substr(kSiteFolder.size())), text.content);
    }
  }
  const ScratchDataSet scratch(domains);
  SiteSummary summary;
  std::string index = "{\"dataSet\":";
  AppendJsonString(index, Utf8(fs::absolute(data).lexically_normal()));
  AppendMember(index, "written", Now());
  index += ",\"domains\":[";
  for (std::size_t i = 0; i < domains.size(); ++i) {
    const DomainEntry& d = domains[i];
    if (i == 1) InterruptMoment("view:pages");
    StopIfInterrupted();
    DomainPage page(site, d.id);
    const ListingOutcome listed = ListDomain(
        d, scratch, [&page](const ListingEvent& e) { page.Add(e); },
        options.listings ? static_cast<std::size_t>(-1) : kListedUpTo);
    if (i > 0 && !domains[i - 1].olderVersions.empty())
      WriteDiffPage(site, scratch, DiffId(domains[i - 1]), d, domains[i - 1]);
    const std::string problem = Verdict(d);
    const std::vector<std::string> listing = WriteListing(site, d, listed.text);
    const std::string fields =
        DomainFields(domains, d, problem, listing, listed, listed.textOmitted);
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
