// A domain's listing events for Python: the library lists the file in one call into a spool (a
// temporary file of compact records), and the events are read back one by one as the client
// iterates, so that memory stays the same for a domain of any size, and the library's listing
// never stays half done while other calls run.
#ifndef MORVIT_PYTHON_LISTING_H
#define MORVIT_PYTHON_LISTING_H

#include <pybind11/pybind11.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

namespace morvit::python {

// One event, as `dump --format json` gives it (docs/listing-events.md).
struct Event {
  enum Type : std::uint8_t { kFile, kBegin, kField, kEnd, kText, kStop, kValue };
  struct Head {
    Type type = kText;
    std::uint8_t kind = 0;  // the place, field kind or value kind
    bool time = false;
    std::uint32_t width = 0;
    std::int64_t offset = -1;
    std::int64_t index = -1;  // begin: index; file: part
    std::int64_t code = -1;   // begin: code; file: size
    std::int64_t number = 0;
    std::int64_t length = -1;
    double real = 0.0;
    std::uint32_t sizes[4] = {};  // of the four texts below
  } head;
  std::string name;   // file, begin: name; field, value: label
  std::string text;   // field, text: listing text; value: its text; stop: reason
  std::string extra;  // begin: code name
  std::string bytes;  // field: its bytes
};

// The events of one listing, read back in order.
class EventStream {
 public:
  // Lists the file at `path` (in its directory, which must be one the library may write into)
  // into the spool; `text` false leaves the fields' listing texts out (faster).
  EventStream(const std::string& path, bool text);
  EventStream(const EventStream&) = delete;
  EventStream& operator=(const EventStream&) = delete;

  // The next event, or false at the end.
  bool Next(Event& event);
  // Whether the listing was whole, and why not.
  bool Whole() const { return m_whole; }
  const std::string& StopReason() const { return m_stopReason; }

 private:
  static constexpr std::size_t kBlock = 1 << 20;

  // At least `bytes` unread bytes of the spool in the buffer; false at its end.
  bool Fill(std::size_t bytes);

  std::unique_ptr<std::FILE, int (*)(std::FILE*)> m_spool;
  std::string m_buffer;  // a block of the spool read ahead
  std::size_t m_at = 0;  // the next record in it
  bool m_whole = false;
  std::string m_stopReason;
};

// The events of the file `read` (a copy in a private view) as an iterator of Event objects
// (itertools.chain over batches of them);
// `shown` is the file's name for the user. With `strict`, a listing that was not whole raises a
// MorvitError after its last event.
pybind11::object ListEvents(const std::string& shown, const std::filesystem::path& read, bool text,
                            bool strict, bool valuesOnly);

// A member that only some objects have: None for the others.
template <typename T>
pybind11::object When(bool present, T value) {
  return present ? pybind11::cast(std::move(value)) : pybind11::none();
}

void BindListing(pybind11::module_& module);

}  // namespace morvit::python

#endif  // MORVIT_PYTHON_LISTING_H
