// The listing events of a domain, from the library's event stream (morvit::ListDomainEvents)
// run on the domain's copy in a scratch directory: the same events `morvit dump --format json`
// prints, and the text listing as the sum of their texts.
#include "ListingEvents.h"

#include "DataSetCheck.h"
#include "DumpDirectory.h"
#include "ListingJson.h"
#include "morvit/VBase.h"
#include "morvit/VListingEvents.h"

namespace morvit::tool {
namespace {

namespace fs = std::filesystem;

// Turns the library's events into the site's and gathers the text listing on the way.
class SiteSink : public VListingSink {
 public:
  SiteSink(const ListingEventHandler& handler, ListingOutcome& outcome)
      : m_handler(handler), m_outcome(outcome) {}

  void File(std::string_view name, std::uint32_t, std::uint64_t) override {
    ListingEvent event;
    event.kind = ListingEvent::Kind::file;
    event.label = name;
    m_handler(event);
  }
  void Begin(const VListingBegin& begin) override {
    ListingEvent event;
    event.kind = ListingEvent::Kind::begin;
    event.structure = PlaceName(begin.kind);
    event.name = begin.name;
    event.code = begin.code;
    event.codeName = begin.codeName;
    event.index = begin.index;
    event.offset = begin.offset;
    m_handler(event);
  }
  void Field(const VListingField& field) override {
    static constexpr char kDigits[] = "0123456789abcdef";
    m_field.offset = field.offset;
    m_field.width = static_cast<int>(field.width);
    m_field.hex.clear();
    for (std::uint32_t i = 0; field.bytes != nullptr && i < field.width; ++i) {
      m_field.hex += kDigits[field.bytes[i] >> 4];
      m_field.hex += kDigits[field.bytes[i] & 0xF];
    }
    m_field.value = FieldValue(field);
    m_field.label = field.label;
    m_handler(m_field);
    m_outcome.text += field.text;
  }
  void End(VListingPlace kind) override {
    ListingEvent event;
    event.kind = ListingEvent::Kind::end;
    event.structure = PlaceName(kind);
    m_handler(event);
  }
  void Text(std::string_view text) override { m_outcome.text += text; }
  void Stop(std::int64_t offset, std::string_view reason) override {
    ListingEvent event;
    event.kind = ListingEvent::Kind::stop;
    event.offset = offset;
    event.label = reason;
    m_handler(event);
    if (m_outcome.problem.empty()) m_outcome.problem = reason;
  }

 private:
  const ListingEventHandler& m_handler;
  ListingOutcome& m_outcome;
  ListingEvent m_field;  // reused: its strings keep their room from field to field
};

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
  SiteSink sink(handler, outcome);
  const std::string name = domain.file.filename().string();
  DumpDirectory directory(scratch.Directory());
  VBase_EnableLineNumbers(1);
  VBase_EnableTimeOutput(1);
  outcome.complete = ListDomainEvents((scratch.Directory() / name).string(), sink);
  if (outcome.complete) outcome.problem.clear();
  return outcome;
}

std::map<std::string, std::string> CheckFindings(const std::filesystem::path& directory) {
  std::map<std::string, std::string> findings;
  for (const FileState& state : CheckDataSet(directory)) {
    if (state.kind != FileState::kClean) {
      // The site says "damaged: " itself; the other kinds are named.
      findings[state.file] = state.kind == FileState::kDamaged
                                 ? state.text
                                 : std::string(KindName(state.kind)) + ": " + state.text;
    }
  }
  return findings;
}

std::string ReadsCleanly(const DomainEntry& domain, const ListingOutcome& listed,
                         const std::map<std::string, std::string>& findings) {
  for (const std::filesystem::path& part : domain.parts) {
    const auto found = findings.find(part.filename().string());
    if (found != findings.end()) return found->second;
  }
  if (!domain.headerProblem.empty()) return domain.headerProblem;
  if (!listed.complete) return listed.problem.empty() ? "no listing" : listed.problem;
  return "";
}

}  // namespace morvit::tool
