// The listing events: spooled by a sink of the library's listing, read back as Python objects.
#include "module/Listing.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <utility>

#include "cli/Failure.h"
#include "cli/ToolPlatform.h"
#include "dataset/PrivateView.h"
#include "listing/ListingJson.h"
#include "module/DataSetHost.h"
#include "module/Errors.h"
#include "morvit/VListingEvents.h"

namespace py = pybind11;

namespace morvit::python {
namespace {

using tool::DecodedText;

// Writes every event as a record: its head, then its texts.
class SpoolSink : public VListingSink {
 public:
  SpoolSink(std::FILE* spool, bool text) : m_spool(spool), m_text(text) {}

  void File(std::string_view name, std::uint32_t part, std::uint64_t size) override {
    Event::Head head;
    head.type = Event::kFile;
    head.index = part;
    head.code = static_cast<std::int64_t>(size);
    Write(head, name);
  }
  void Begin(const VListingBegin& begin) override {
    Event::Head head;
    head.type = Event::kBegin;
    head.kind = static_cast<std::uint8_t>(begin.kind);
    head.code = begin.code;
    head.index = begin.index;
    head.offset = begin.offset;
    Write(head, begin.name, {}, begin.codeName);
  }
  void Field(const VListingField& field) override {
    Event::Head head;
    head.type = Event::kField;
    head.kind = static_cast<std::uint8_t>(field.kind);
    head.offset = field.offset;
    head.width = field.width;
    head.number = field.number;
    head.real = field.real;
    head.time = field.timeStamp;
    Write(head, field.label, field.text, {},
          std::string_view(reinterpret_cast<const char*>(field.bytes), field.width));
  }
  void End(VListingPlace kind) override {
    Event::Head head;
    head.type = Event::kEnd;
    head.kind = static_cast<std::uint8_t>(kind);
    Write(head);
  }
  void Text(std::string_view text) override {
    Event::Head head;
    head.type = Event::kText;
    Write(head, {}, text);
  }
  void Stop(std::int64_t offset, std::string_view reason) override {
    Event::Head head;
    head.type = Event::kStop;
    head.offset = offset;
    Write(head, {}, reason);
  }
  bool WantsText() const override { return m_text; }
  void Value(const VListingValue& value) override {
    Event::Head head;
    head.type = Event::kValue;
    head.kind = static_cast<std::uint8_t>(value.kind);
    head.offset = value.offset;
    head.width = value.width;
    head.number = value.number;
    head.real = value.real;
    head.length = value.length;
    head.time = value.timeStamp;
    Write(head, value.label, value.text);
  }

  // Writes what is still buffered; false when the temporary space took not all of it.
  bool Finish() {
    Flush();
    return !m_failed && std::fflush(m_spool) == 0;
  }

 private:
  static constexpr std::size_t kBlock = 1 << 20;

  void Write(Event::Head& head, std::string_view name = {}, std::string_view text = {},
             std::string_view extra = {}, std::string_view bytes = {}) {
    const std::string_view texts[4] = {name, text, extra, bytes};
    for (int i = 0; i < 4; ++i) head.sizes[i] = static_cast<std::uint32_t>(texts[i].size());
    m_buffer.append(reinterpret_cast<const char*>(&head), sizeof head);
    for (const std::string_view part : texts) m_buffer.append(part);
    if (m_buffer.size() >= kBlock) Flush();
  }

  void Flush() {
    if (!m_buffer.empty() && std::fwrite(m_buffer.data(), m_buffer.size(), 1, m_spool) != 1) {
      m_failed = true;
    }
    m_buffer.clear();
  }

  std::FILE* m_spool;
  bool m_text;
  bool m_failed = false;
  std::string m_buffer;  // records not yet written, in blocks of about kBlock bytes
};

const char* PlaceName(std::uint8_t kind) {
  return std::string_view(tool::PlaceName(static_cast<VListingPlace>(kind))).data();
}

// A decoded text as a Python string.
py::str Decoded(const std::string& text) { return py::str(DecodedText(text)); }

// A real as the events give it: a number, or for infinities and NaN the text.
py::object Real(double real) {
  if (std::isfinite(real)) return py::float_(real);
  return py::str(tool::RealText(real));
}

py::object ValueOf(const Event& event) {
  const Event::Head& head = event.head;
  if (head.type == Event::kField) {
    if (static_cast<VFieldKind>(head.kind) == VFieldKind::real) return py::float_(head.real);
    return py::int_(head.number);
  }
  if (head.type != Event::kValue) return py::none();
  switch (static_cast<VValueKind>(head.kind)) {
    case VValueKind::text:
    case VValueKind::name:
    case VValueKind::dateTime:
      return Decoded(event.text);
    case VValueKind::real:
      return Real(head.real);
    case VValueKind::boolean:
      return py::bool_(head.number != 0);
    default:
      return py::int_(head.number);
  }
}

const char* TypeName(Event::Type type) {
  static const char* const kNames[] = {"file", "begin", "field", "end", "text", "stop", "value"};
  return kNames[type];
}

py::object KindOf(const Event& event) {
  switch (event.head.type) {
    case Event::kBegin:
    case Event::kEnd:
      return py::str(PlaceName(event.head.kind));
    case Event::kField:
      return py::str(std::string(tool::FieldKindName(static_cast<VFieldKind>(event.head.kind))));
    case Event::kValue:
      return py::str(std::string(tool::ValueKindName(static_cast<VValueKind>(event.head.kind))));
    default:
      return py::none();
  }
}

bool Is(const Event& event, std::initializer_list<Event::Type> types) {
  for (const Event::Type type : types) {
    if (event.head.type == type) return true;
  }
  return false;
}

std::string Hex(const std::string& bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (const char c : bytes) {
    hex += kDigits[static_cast<unsigned char>(c) >> 4];
    hex += kDigits[static_cast<unsigned char>(c) & 0xF];
  }
  return hex;
}

// The event's members as `dump --format json` writes them, members that do not apply left out.
py::dict AsDict(const Event& event) {
  const Event::Head& head = event.head;
  py::dict out;
  out["event"] = TypeName(head.type);
  switch (head.type) {
    case Event::kFile:
      out["name"] = Decoded(event.name);
      out["part"] = head.index;
      out["size"] = head.code;
      break;
    case Event::kBegin:
      out["kind"] = KindOf(event);
      if (!event.name.empty()) out["name"] = Decoded(event.name);
      if (head.code >= 0) out["code"] = head.code;
      if (!event.extra.empty()) out["codeName"] = Decoded(event.extra);
      if (head.index >= 0) out["index"] = head.index;
      if (head.offset >= 0) out["offset"] = head.offset;
      break;
    case Event::kField:
      out["offset"] = head.offset;
      out["width"] = head.width;
      out["hex"] = Hex(event.bytes);
      out["kind"] = KindOf(event);
      out["value"] = ValueOf(event);
      out["label"] = Decoded(event.name);
      if (head.time) out["time"] = true;
      out["text"] = Decoded(event.text);
      break;
    case Event::kEnd:
      out["kind"] = KindOf(event);
      break;
    case Event::kText:
      out["text"] = Decoded(event.text);
      break;
    case Event::kStop:
      if (head.offset >= 0) out["offset"] = head.offset;
      out["reason"] = Decoded(event.text);
      break;
    case Event::kValue: {
      out["offset"] = head.offset;
      out["width"] = head.width;
      out["kind"] = KindOf(event);
      out["label"] = Decoded(event.name);
      out["value"] = ValueOf(event);
      const auto kind = static_cast<VValueKind>(head.kind);
      if (kind == VValueKind::code || kind == VValueKind::enumeration) {
        out["text"] = Decoded(event.text);
      }
      if (head.length >= 0) out["length"] = head.length;
      if (head.time) out["time"] = true;
      break;
    }
  }
  return out;
}

std::string Describe(const Event& event) {
  std::string text = std::string("<Event ") + TypeName(event.head.type);
  const py::object kind = KindOf(event);
  if (!kind.is_none()) text += " " + kind.cast<std::string>();
  if (!event.name.empty()) text += " " + DecodedText(event.name);
  if (event.head.type == Event::kBegin && event.head.code >= 0) {
    text += " " + std::to_string(event.head.code) +
            (event.extra.empty() ? "" : " " + DecodedText(event.extra));
  }
  if (event.head.type == Event::kBegin && event.head.index >= 0) {
    text += " #" + std::to_string(event.head.index);
  }
  if (Is(event, {Event::kField, Event::kValue})) {
    text += " = " + py::repr(ValueOf(event)).cast<std::string>();
  }
  if (event.head.offset >= 0) text += " at " + std::to_string(event.head.offset);
  return text + ">";
}

// The events of one listing in batches: a client iterates them through
// itertools.chain.from_iterable, so that each event costs the making of its object and no call
// into the module. A listing that was not whole ends with a MorvitError when asked to (after its
// stop event).
class EventBatches {
 public:
  static constexpr std::size_t kBatch = 1024;

  EventBatches(std::shared_ptr<EventStream> stream, std::string file, bool strict, bool valuesOnly)
      : m_stream(std::move(stream)),
        m_file(std::move(file)),
        m_strict(strict),
        m_valuesOnly(valuesOnly) {}

  py::list Next() {
    py::list batch;
    Event event;
    while (batch.size() < kBatch && m_stream->Next(event)) {
      if (!m_valuesOnly || event.head.type == Event::kValue || event.head.type == Event::kStop) {
        batch.append(py::cast(std::move(event)));
        event = Event();
      }
    }
    if (!batch.empty()) return batch;
    if (m_strict && !m_stream->Whole() && !m_raised) {
      m_raised = true;
      py::dict members;
      members["cause"] = m_stream->StopReason();
      members["file"] = m_file;
      Raise("MorvitError", m_file + ": no whole listing: " + m_stream->StopReason(), members);
    }
    throw py::stop_iteration();
  }

 private:
  std::shared_ptr<EventStream> m_stream;
  std::string m_file;
  bool m_strict;
  bool m_valuesOnly;
  bool m_raised = false;
};

}  // namespace

EventStream::EventStream(const std::string& path, bool text)
    : m_spool(std::tmpfile(), std::fclose) {
  if (!m_spool) throw tool::Failure("cannot make a temporary file for the listing events");
  SpoolSink sink(m_spool.get(), text);
  // The interpreter lock stays held: the library serves one caller at a time.
  m_whole = ListDomainEvents(path, sink);
  if (!sink.Finish()) throw tool::Failure("the listing events do not fit the temporary space");
  std::rewind(m_spool.get());
}

bool EventStream::Fill(std::size_t bytes) {
  if (m_buffer.size() - m_at >= bytes) return true;
  m_buffer.erase(0, m_at);
  m_at = 0;
  const std::size_t had = m_buffer.size();
  m_buffer.resize(std::max(bytes, kBlock));
  m_buffer.resize(had + std::fread(m_buffer.data() + had, 1, m_buffer.size() - had, m_spool.get()));
  return m_buffer.size() >= bytes;
}

bool EventStream::Next(Event& event) {
  if (!Fill(sizeof event.head)) return false;
  std::memcpy(&event.head, m_buffer.data() + m_at, sizeof event.head);
  m_at += sizeof event.head;
  std::string* const texts[4] = {&event.name, &event.text, &event.extra, &event.bytes};
  std::size_t total = 0;
  for (const std::uint32_t size : event.head.sizes) total += size;
  if (!Fill(total)) return false;
  for (int i = 0; i < 4; ++i) {
    texts[i]->assign(m_buffer, m_at, event.head.sizes[i]);
    m_at += event.head.sizes[i];
  }
  if (event.head.type == Event::kStop && m_stopReason.empty()) m_stopReason = event.text;
  return true;
}

py::object ListEvents(const std::string& shown, const std::filesystem::path& read, bool text,
                      bool strict, bool valuesOnly) {
  auto stream = std::make_shared<EventStream>(tool::Utf8(read), text && !valuesOnly);
  return py::module_::import("itertools")
      .attr("chain")
      .attr("from_iterable")(EventBatches(stream, shown, strict, valuesOnly));
}

void BindListing(py::module_& module) {
  py::class_<Event>(
      module, "Event",
      "One event of a domain's listing, as `morvit dump --format json` gives it.\n\n"
      "`event` says which: file, begin, field, end, text, stop or value. Members that\n"
      "do not apply to it are None.")
      .def_property_readonly(
          "event", [](const Event& e) { return TypeName(e.head.type); },
          "file, begin, field, end, text, stop or value")
      .def_property_readonly("kind", &KindOf,
                             "begin/end: header, section, element, table, row; field: word, "
                             "integer, longWord, longInteger, real, number; value: text, real, "
                             "number, dateTime, boolean, enumeration, code, key, name")
      .def_property_readonly(
          "name",
          [](const Event& e) {
            return When(Is(e, {Event::kFile, Event::kBegin}) && !e.name.empty(),
                        DecodedText(e.name));
          },
          "the file's, header's, section's or table's name")
      .def_property_readonly(
          "part", [](const Event& e) { return When(e.head.type == Event::kFile, e.head.index); },
          "file: 0 for the file named, 1, 2, ... for each further file listed with it")
      .def_property_readonly(
          "size", [](const Event& e) { return When(e.head.type == Event::kFile, e.head.code); },
          "file: bytes listed")
      .def_property_readonly(
          "code",
          [](const Event& e) {
            return When(e.head.type == Event::kBegin && e.head.code >= 0, e.head.code);
          },
          "begin: the element's or section's code")
      .def_property_readonly(
          "code_name",
          [](const Event& e) {
            return When(e.head.type == Event::kBegin && !e.extra.empty(), DecodedText(e.extra));
          },
          "begin: the code's name in the listing")
      .def_property_readonly(
          "index",
          [](const Event& e) {
            return When(e.head.type == Event::kBegin && e.head.index >= 0, e.head.index);
          },
          "begin: the element's index in its section, a row's index")
      .def_property_readonly(
          "offset",
          [](const Event& e) {
            return When(Is(e, {Event::kBegin, Event::kField, Event::kValue, Event::kStop}) &&
                            e.head.offset >= 0,
                        e.head.offset);
          },
          "byte offset in the file listed")
      .def_property_readonly(
          "width",
          [](const Event& e) {
            return When(Is(e, {Event::kField, Event::kValue}), e.head.width);
          },
          "field, value: the bytes it spans")
      .def_property_readonly(
          "data",
          [](const Event& e) {
            return e.head.type == Event::kField ? py::object(py::bytes(e.bytes)) : py::none();
          },
          "field: its bytes as the file holds them")
      .def_property_readonly(
          "hex", [](const Event& e) { return When(e.head.type == Event::kField, Hex(e.bytes)); },
          "field: its bytes in hexadecimal")
      .def_property_readonly("value", &ValueOf,
                             "field: the number read; value: the decoded value (str, int, "
                             "float or bool)")
      .def_property_readonly(
          "label",
          [](const Event& e) {
            return When(Is(e, {Event::kField, Event::kValue}), DecodedText(e.name));
          },
          "field: its label; value: the item's name in the layout")
      .def_property_readonly(
          "time",
          [](const Event& e) {
            return When(Is(e, {Event::kField, Event::kValue}), e.head.time);
          },
          "field, value: a date, time or version stamp of the file")
      .def_property_readonly(
          "text",
          [](const Event& e) {
            const auto kind = static_cast<VValueKind>(e.head.kind);
            const bool named = e.head.type == Event::kValue &&
                               (kind == VValueKind::code || kind == VValueKind::enumeration);
            return When(Is(e, {Event::kField, Event::kText}) || named, DecodedText(e.text));
          },
          "field, text: the listing text; value: a code's or enumeration's name")
      .def_property_readonly(
          "length",
          [](const Event& e) {
            return When(e.head.type == Event::kValue && e.head.length >= 0, e.head.length);
          },
          "value: a text's declared length in characters")
      .def_property_readonly(
          "reason",
          [](const Event& e) { return When(e.head.type == Event::kStop, DecodedText(e.text)); },
          "stop: why the listing stopped short")
      .def("as_dict", &AsDict, "The members of the event's JSON line, as a dict.")
      .def("__repr__", &Describe);

  py::class_<EventBatches>(module, "_EventBatches")
      .def("__iter__", [](py::object self) { return self; })
      .def("__next__", &EventBatches::Next);

  module.def(
      "listing",
      [](const std::string& path, bool text, bool strict, bool valuesOnly) {
        const std::filesystem::path file = std::filesystem::absolute(tool::PathFromUtf8(path));
        if (!std::filesystem::is_regular_file(file)) {
          throw CFileException(CFileException::fileNotFound, ENOENT, path);
        }
        // The library lists in a private view of the file's directory: what it writes while it
        // reads (an expanded sibling) goes with the view.
        const tool::PrivateView view(file.parent_path());
        const std::filesystem::path inView = view.Data() / file.filename();
        if (!std::filesystem::exists(inView)) std::filesystem::copy_file(file, inView);
        const CallHost host(tool::Utf8(view.Data()));
        return ListEvents(path, inView, text, strict, valuesOnly);
      },
      py::arg("path"), py::arg("text") = false, py::arg("strict") = true,
      py::arg("values_only") = false,
      "The listing events of the domain file at `path`, lazily (an iterator of Event).\n\n"
      "The fields' listing texts (the lines of the text listing) come with `text=True`;\n"
      "left out, the listing takes half the time. A file that gives\n"
      "no whole listing ends with its stop event and then raises MorvitError, unless\n"
      "`strict=False`. `values_only=True` gives only the value events (and a stop event). The\n"
      "file's directory is not written to.");
}

}  // namespace morvit::python
