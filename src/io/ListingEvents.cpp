// The process-wide listing sink, the sink interface's empty defaults and the text rendering
// into a file.
#include "io/ListingEvents.h"

#include <cstdio>

#include "morvit/VMotorolaIO.h"

namespace morvit {

VListingSink::~VListingSink() = default;
void VListingSink::File(std::string_view, std::uint32_t, std::uint64_t) {}
void VListingSink::Begin(const VListingBegin&) {}
void VListingSink::Field(const VListingField&) {}
void VListingSink::End(VListingPlace) {}
void VListingSink::Text(std::string_view) {}
void VListingSink::Stop(std::int64_t, std::string_view) {}
bool VListingSink::WantsText() const { return true; }
void VListingSink::Value(const VListingValue&) {}

}  // namespace morvit

namespace morvit::events {

namespace {

struct ListingEventState {
  morvit::VListingSink* sink = nullptr;
  bool timeStamp = false;
  std::uint32_t filesBegun = 0;
  bool textWanted = true;
  std::string lineBuffer;
  int innerValues = 0;
};

ListingEventState& State() {
  static ListingEventState state;
  return state;
}

}  // namespace

morvit::VListingSink* InstalledSink() { return State().sink; }

SinkScope::SinkScope(morvit::VListingSink& sink) : m_previous(State().sink) {
  State().sink = &sink;
  State().filesBegun = 0;
  State().textWanted = sink.WantsText();
}

SinkScope::~SinkScope() {
  State().sink = m_previous;
  State().textWanted = m_previous == nullptr || m_previous->WantsText();
}

bool TextWanted() { return State().textWanted; }

void FileTextRenderer::Field(const morvit::VListingField& field) {
  std::string_view text = field.text;
  if (text.find('\n') + 1 == text.size()) {  // one line, the common case
    Text(text);
    return;
  }
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::size_t length = end == std::string_view::npos ? text.size() : end + 1;
    Text(text.substr(0, length));
    text.remove_prefix(length);
  }
}

void FileTextRenderer::Text(std::string_view text) {
  if (!text.empty()) m_file.Write(text.data(), static_cast<unsigned>(text.size()));
}

void Field(CFile& file, const morvit::VListingField& field) {
  if (morvit::VListingSink* sink = State().sink) {
    sink->Field(field);
  } else {
    FileTextRenderer(file).Field(field);
  }
}

void Text(CFile& file, std::string_view text) {
  if (morvit::VListingSink* sink = State().sink) {
    sink->Text(text);
  } else {
    FileTextRenderer(file).Text(text);
  }
}

void Begin(const morvit::VListingBegin& begin) {
  if (morvit::VListingSink* sink = State().sink) sink->Begin(begin);
}

void End(morvit::VListingPlace kind) {
  if (morvit::VListingSink* sink = State().sink) sink->End(kind);
}

void FileBegins(std::string_view name, std::uint64_t size) {
  if (morvit::VListingSink* sink = State().sink) sink->File(name, State().filesBegun++, size);
}

void Stop(std::int64_t offset, std::string_view reason) {
  if (morvit::VListingSink* sink = State().sink) sink->Stop(offset, reason);
}

void BeginHeader(int listing, std::string_view name) {
  if (listing == 0) return;
  morvit::VListingBegin begin{morvit::VListingPlace::header, name, -1, {}, -1, -1};
  begin.offset = VMotorolaIO::m_lByteOffset;
  Begin(begin);
}

void EndHeader(int listing) {
  if (listing != 0) End(morvit::VListingPlace::header);
}

TimeStampScope::TimeStampScope() : m_previous(State().timeStamp) { State().timeStamp = true; }

TimeStampScope::~TimeStampScope() { State().timeStamp = m_previous; }

bool InTimeStamp() { return State().timeStamp; }

bool ValuesWanted() { return State().sink != nullptr && State().innerValues == 0; }

void Value(const morvit::VListingValue& value) {
  if (ValuesWanted()) State().sink->Value(value);
}

InnerValues::InnerValues() { ++State().innerValues; }

InnerValues::~InnerValues() { --State().innerValues; }

void TextValue(std::int64_t offset, std::uint32_t width, std::string_view label,
               std::string_view chars, morvit::VValueKind kind, std::int64_t number) {
  if (!ValuesWanted()) return;
  morvit::VListingValue value;
  value.offset = offset;
  value.width = width;
  value.kind = kind;
  value.label = TrimLabel(label);
  value.number = number;
  value.text = chars.substr(0, chars.find('\0'));
  const bool characters = kind == morvit::VValueKind::text || kind == morvit::VValueKind::name;
  value.length = characters ? static_cast<std::int64_t>(chars.size()) : -1;
  value.timeStamp = InTimeStamp();
  Value(value);
}

std::string DateTimeText(unsigned year, unsigned month, unsigned day, unsigned hour,
                         unsigned minute, unsigned second, unsigned millisecond) {
  char text[64];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u.%03u", year, month, day, hour,
                minute, second, millisecond);
  return text;
}

std::string& LineBuffer() { return State().lineBuffer; }

std::string_view TrimLabel(std::string_view label) {
  const std::size_t end = label.find_last_not_of(" \t");
  return end == std::string_view::npos ? std::string_view() : label.substr(0, end + 1);
}

}  // namespace morvit::events
