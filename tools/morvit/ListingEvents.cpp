// The listing events of a domain, read from the library's text listing of a scratch copy: each
// word line ("offset: hex dec high low  cc  label") becomes a two-byte field.
#include "ListingEvents.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "DumpDirectory.h"
#include "Failure.h"
#include "morvit/VBase.h"

namespace morvit::tool {
namespace {

namespace fs = std::filesystem;

// The listing's name: the extension's first letter becomes 'D'.
fs::path ListingPath(const fs::path& file) {
  std::string name = file.filename().string();
  const std::size_t dot = name.find('.');
  if (dot != std::string::npos && dot + 1 < name.size()) name[dot + 1] = 'D';
  return file.parent_path() / name;
}

// Reads a signed decimal number at `at`, after any spaces; false when there is none.
bool Number(const std::string& line, std::size_t& at, long& value, int base = 10) {
  while (at < line.size() && line[at] == ' ') ++at;
  const char* begin = line.c_str() + at;
  char* end = nullptr;
  value = std::strtol(begin, &end, base);
  if (end == begin) return false;
  at += static_cast<std::size_t>(end - begin);
  return true;
}

// A word line: offset, ':', hex word, decimal, high and low byte, two characters, label. The
// class listings set the characters off by two spaces on each side, the driver's listings by
// three before and six after.
bool ParseWordLine(const std::string& line, bool driver, ListingEvent& event) {
  std::size_t at = 0;
  long offset = 0, word = 0, decimal = 0, high = 0, low = 0;
  if (!Number(line, at, offset) || at >= line.size() || line[at] != ':') return false;
  ++at;
  if (!Number(line, at, word, 16) || !Number(line, at, decimal) || !Number(line, at, high) ||
      !Number(line, at, low))
    return false;
  const std::size_t before = driver ? 3 : 2, after = driver ? 6 : 2;
  if (at + before + 2 > line.size()) return false;
  event = ListingEvent{};
  event.offset = offset;
  event.width = 2;
  char hex[8];
  std::snprintf(hex, sizeof hex, "%04lx", word & 0xFFFF);
  event.hex = hex;
  event.value = std::to_string(decimal);
  const std::size_t label = at + before + 2 + after;
  event.label = label <= line.size() ? line.substr(label) : "";
  while (!event.label.empty() && event.label.back() == ' ') event.label.pop_back();
  return true;
}

}  // namespace

ScratchDataSet::ScratchDataSet(const std::vector<DomainEntry>& domains, fs::path directory)
    : m_directory(std::move(directory)) {
  fs::remove_all(m_directory);
  fs::create_directories(m_directory);
  for (const DomainEntry& domain : domains) {
    for (const fs::path& part : domain.parts) {
      if (!part.empty()) fs::copy_file(part, m_directory / part.filename());
    }
  }
}

ScratchDataSet::~ScratchDataSet() {
  std::error_code ignored;
  fs::remove_all(m_directory, ignored);
}

ListingOutcome ListDomain(const DomainEntry& domain, const ScratchDataSet& scratch,
                          const ListingEventHandler& handler) {
  ListingOutcome outcome;
  const std::string name = domain.file.filename().string();
  const fs::path listing = ListingPath(scratch.Directory() / name);
  {
    DumpDirectory directory(scratch.Directory());
    VBase_EnableLineNumbers(1);
    VBase_EnableTimeOutput(1);
    VBase_DumpDomain(static_cast<std::uint16_t>(name.size()), name.c_str());
  }
  std::ifstream in(listing, std::ios::binary);
  if (in) {
    std::ostringstream text;
    text << in.rdbuf();
    outcome.text = text.str();
  }
  in.close();
  std::error_code ignored;
  fs::remove(listing, ignored);
  ListingEvent event;
  ListingEvent file;
  file.kind = ListingEvent::Kind::file;
  file.label = name;
  handler(file);
  std::istringstream lines(outcome.text);
  std::string line;
  std::int64_t next = 0;
  bool driver = false;
  while (std::getline(lines, line)) {
    if (line.rfind(" Index", 0) == 0) driver = true;
    if (!ParseWordLine(line, driver, event)) continue;
    handler(event);
    next = event.offset + event.width;
  }
  outcome.complete = !outcome.text.empty();
  if (!outcome.complete) {
    outcome.problem = "no listing (damaged, or of a kind without one)";
    ListingEvent stop;
    stop.kind = ListingEvent::Kind::stop;
    stop.offset = next;
    stop.label = outcome.problem;
    handler(stop);
  }
  return outcome;
}

std::string ReadsCleanly(const DomainEntry& domain, const ListingOutcome& listed) {
  if (!domain.headerProblem.empty()) return domain.headerProblem;
  if (!listed.complete) return listed.problem;
  return "";
}

}  // namespace morvit::tool
