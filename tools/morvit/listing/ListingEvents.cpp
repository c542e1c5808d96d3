// The listing events of a domain, from the library's event stream (morvit::ListDomainEvents)
// run on the domain's copy in a scratch directory: the same events `morvit dump --format json`
// prints, and the text listing as the sum of their texts.
#include "listing/ListingEvents.h"

#include "cli/ToolPlatform.h"
#include "listing/DumpDirectory.h"
#include "listing/ListingJson.h"
#include "morvit/VBase.h"
#include "morvit/VListingEvents.h"

namespace morvit::tool {
namespace {

namespace fs = std::filesystem;

// Turns the library's events into the site's and gathers the text listing on the way.
class SiteSink : public VListingSink {
 public:
  SiteSink(const ListingEventHandler& handler, ListingOutcome& outcome, std::size_t textLimit)
      : m_handler(handler), m_outcome(outcome), m_textLimit(textLimit) {}

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
    Gather(field.text);
  }
  void End(VListingPlace kind) override {
    ListingEvent event;
    event.kind = ListingEvent::Kind::end;
    event.structure = PlaceName(kind);
    m_handler(event);
  }
  void Value(const VListingValue& value) override {
    ListingEvent event;
    event.kind = ListingEvent::Kind::value;
    event.offset = value.offset;
    event.width = static_cast<int>(value.width);
    event.label = value.label;
    event.name = ValueKindName(value.kind);
    event.value = value.kind == VValueKind::name || value.kind == VValueKind::text
                      ? std::string(value.text)  // shown as it is, not quoted
                      : ValueText(value);
    m_handler(event);
  }
  void Text(std::string_view text) override { Gather(text); }
  void Stop(std::int64_t offset, std::string_view reason) override {
    if (m_outcome.stopAt < 0) m_outcome.stopAt = offset;
    ListingEvent event;
    event.kind = ListingEvent::Kind::stop;
    event.offset = offset;
    event.label = reason;
    m_handler(event);
    if (m_outcome.problem.empty()) m_outcome.problem = reason;
  }

 private:
  const ListingEventHandler& m_handler;
  // The text listing as it grows, until it passes the limit: then none is kept.
  void Gather(std::string_view text) {
    if (m_outcome.textOmitted) return;
    if (m_outcome.text.size() + text.size() > m_textLimit) {
      m_outcome.textOmitted = true;
      std::string().swap(m_outcome.text);
      return;
    }
    m_outcome.text += text;
  }

  ListingOutcome& m_outcome;
  std::size_t m_textLimit;
  ListingEvent m_field;  // reused: its strings keep their room from field to field
};

// Passes every event on and counts the files listed.
class FileCounter : public VListingSink {
 public:
  explicit FileCounter(VListingSink& inner) : m_inner(inner) {}
  void File(std::string_view name, std::uint32_t part, std::uint64_t size) override {
    ++m_files;
    m_inner.File(name, part, size);
  }
  void Begin(const VListingBegin& begin) override { m_inner.Begin(begin); }
  void Field(const VListingField& field) override { m_inner.Field(field); }
  void End(VListingPlace kind) override { m_inner.End(kind); }
  void Text(std::string_view text) override { m_inner.Text(text); }
  void Stop(std::int64_t offset, std::string_view reason) override { m_inner.Stop(offset, reason); }
  bool WantsText() const override { return m_inner.WantsText(); }
  void Value(const VListingValue& value) override { m_inner.Value(value); }
  std::uint32_t Files() const { return m_files; }

 private:
  VListingSink& m_inner;
  std::uint32_t m_files = 0;
};

}  // namespace

bool ListDomainFiles(const std::vector<fs::path>& parts, VListingSink& sink,
                     const std::function<void(std::uint32_t)>& partBegins) {
  for (std::size_t part = 0; part < parts.size(); ++part) {
    if (parts[part].empty()) {
      sink.Stop(-1, "part " + std::to_string(part) + " of " + std::to_string(parts.size()) +
                        " is missing");
      return false;
    }
  }
  if (parts.empty()) return false;
  FileCounter counted(sink);
  bool whole = ListDomainEvents(Utf8(parts.front()), counted);
  if (counted.Files() != 1) return whole;
  for (std::size_t part = 1; part < parts.size() && whole; ++part) {
    if (partBegins) partBegins(static_cast<std::uint32_t>(part));
    whole = ListDomainEvents(Utf8(parts[part]), sink);
  }
  return whole;
}

ScratchDataSet::ScratchDataSet(const std::vector<DomainEntry>& domains) : m_scratch("listing") {
  for (const DomainEntry& domain : domains) {
    for (const fs::path& part : domain.parts) {
      if (!part.empty()) fs::copy_file(part, Directory() / part.filename());
    }
  }
}

std::vector<fs::path> ListedFiles(const DomainEntry& domain, const fs::path& directory) {
  std::vector<fs::path> copies{directory / domain.file.filename()};
  if (domain.compressed) return copies;
  for (std::size_t part = 1; part < domain.parts.size(); ++part) {
    const fs::path& file = domain.parts[part];
    copies.push_back(file.empty() ? file : directory / file.filename());
  }
  return copies;
}

ListingOutcome ListDomain(const DomainEntry& domain, const ScratchDataSet& scratch,
                          const ListingEventHandler& handler, std::size_t textLimit) {
  ListingOutcome outcome;
  SiteSink sink(handler, outcome, textLimit);
  DumpDirectory directory(scratch.Directory());
  VBase_EnableLineNumbers(1);
  VBase_EnableTimeOutput(1);
  outcome.complete = ListDomainFiles(ListedFiles(domain, scratch.Directory()), sink);
  if (outcome.complete) outcome.problem.clear();
  return outcome;
}

}  // namespace morvit::tool
