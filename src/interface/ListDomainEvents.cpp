// morvit::ListDomainEvents: the dump of VBase_DumpDomain (class listing first, the dump driver
// for every other file) with its events going to the caller's sink instead of a listing file.
#include "dump/DumpDriver.h"
#include "files/StorageFailure.h"
#include "io/ListingEvents.h"
#include "morvit/VListingEvents.h"
#include "morvit/VManager.h"

using namespace morvit;

namespace morvit {
namespace {

bool Exists(const CString& path) {
  CFile file;
  return file.Open(path, CFile::modeRead | CFile::typeBinary);
}

// The class listing writes its listing file as it goes (empty while a sink takes the events):
// a listing that was there before is put aside for the time and put back afterwards, and the
// empty one goes.
class ListingFileKept {
 public:
  explicit ListingFileKept(CString path)
      : m_path(std::move(path)), m_kept(m_path + ".kept"), m_had(Exists(m_path)) {
    if (m_had) CFile::Rename(m_path, m_kept);
  }
  ~ListingFileKept() {
    try {
      if (Exists(m_path)) CFile::Remove(m_path);
      if (m_had) CFile::Rename(m_kept, m_path);
    } catch (const CFileException&) {
      // Nothing to report from here; the listing put aside keeps its ".kept" name.
    }
  }
  ListingFileKept(const ListingFileKept&) = delete;
  ListingFileKept& operator=(const ListingFileKept&) = delete;

 private:
  CString m_path;
  CString m_kept;
  bool m_had;
};

// Passes every event on and notes whether the listing gave any field and whether it stopped.
class WatchedSink : public morvit::VListingSink {
 public:
  explicit WatchedSink(morvit::VListingSink& inner) : m_inner(inner) {}
  void File(std::string_view name, std::uint32_t part, std::uint64_t size) override {
    m_inner.File(name, part, size);
  }
  void Begin(const morvit::VListingBegin& begin) override { m_inner.Begin(begin); }
  void Field(const morvit::VListingField& field) override {
    m_fields = true;
    m_inner.Field(field);
  }
  void End(morvit::VListingPlace kind) override { m_inner.End(kind); }
  void Text(std::string_view text) override { m_inner.Text(text); }
  void Stop(std::int64_t offset, std::string_view reason) override {
    m_stopped = true;
    m_inner.Stop(offset, reason);
  }
  bool WantsText() const override { return m_inner.WantsText(); }
  void Value(const morvit::VListingValue& value) override { m_inner.Value(value); }
  bool Listed() const { return m_fields && !m_stopped; }
  bool Stopped() const { return m_stopped; }

 private:
  morvit::VListingSink& m_inner;
  bool m_fields = false;
  bool m_stopped = false;
};

}  // namespace
}  // namespace morvit

namespace morvit {

bool ListDomainEvents(const CString& path, VListingSink& sink) {
  const DumpPath where = SplitDumpPath(path);
  const CString listingName = DumpOutputName(where.fileName);
  if (listingName.empty()) {
    sink.Stop(-1, "the name gives no listing (no extension, or a listing itself)");
    return false;
  }
  WatchedSink watched(sink);
  const ListingFileKept kept(where.directory + listingName);
  const events::SinkScope scope(watched);
  try {
    VManager manager(nullptr);
    manager.DumpDomain(path);
  } catch (const CFileException& e) {
    if (IsStorageFailure(e)) {
      watched.Stop(
          -1, std::string("the file cannot be read: ") + CFileException::GetCauseText(e.m_cause));
      return false;
    }
    ListThroughDriver(where.directory, where.fileName, watched);
    // The driver lists whatever it could read; a read that stopped short is no whole listing.
    return !watched.Stopped();
  }
  return watched.Listed();
}

}  // namespace morvit
