// Number formatting by hand (a listing has tens of thousands of lines of six numbers each) and
// the hand-over of gathered text to the sink.
#include "dump/ListingOutput.h"

namespace morvit {

ListingOutput::ListingOutput(morvit::VListingSink& sink)
    : m_sink(sink),
      m_direct(dynamic_cast<ListingText*>(&sink)),
      m_text(m_direct != nullptr ? &m_direct->Buffer() : &m_pending) {
  m_pending.reserve(256);
}

void ListingOutput::Digits(const char* digits, std::size_t count, unsigned width) {
  if (count < width) m_text->append(width - count, ' ');
  m_text->append(digits, count);
}

void ListingOutput::Unsigned(std::uint32_t value, unsigned width) {
  char digits[10];
  char* const end = digits + sizeof digits;
  const char* start = DecimalBefore(end, value);
  Digits(start, static_cast<std::size_t>(end - start), width);
}

void ListingOutput::Signed(std::int32_t value, unsigned width) {
  char digits[11];
  char* const end = digits + sizeof digits;
  const char* start = SignedBefore(end, value);
  Digits(start, static_cast<std::size_t>(end - start), width);
}

void ListingOutput::Hex(std::uint32_t value, unsigned width) {
  char digits[8];
  char* const end = digits + sizeof digits;
  const char* start = HexBefore(end, value);
  Digits(start, static_cast<std::size_t>(end - start), width);
}

void ListingOutput::Field(morvit::VListingField field) {
  if (m_direct != nullptr) {
    m_direct->Gathered();
    return;
  }
  field.text = m_pending;
  m_sink.Field(field);
  m_pending.clear();
}

void ListingOutput::Column(std::int64_t offset, const std::uint8_t* bytes, std::uint32_t width,
                           std::uint32_t value, std::string_view label) {
  morvit::VListingField field;
  field.offset = offset;
  field.width = width;
  field.bytes = bytes;
  field.kind = morvit::VFieldKind::number;
  field.number = value;
  field.label = label;
  Field(field);
}

void ListingOutput::Value(const morvit::VListingValue& value) {
  if (m_direct != nullptr) return;
  FlushPending();
  m_sink.Value(value);
}

void ListingOutput::Flag(std::int64_t offset, std::uint32_t width, std::string_view label,
                         bool on) {
  if (m_direct != nullptr) return;
  morvit::VListingValue value;
  value.offset = offset;
  value.width = width;
  value.kind = morvit::VValueKind::boolean;
  value.label = label;
  value.number = on ? 1 : 0;
  value.text = on ? "true" : "false";
  Value(value);
}

void ListingOutput::Begin(const morvit::VListingBegin& begin) {
  Flush();
  if (m_direct != nullptr) return;
  m_sink.Begin(begin);
}

void ListingOutput::End(morvit::VListingPlace kind) {
  Flush();
  if (m_direct != nullptr) return;
  m_sink.End(kind);
}

void ListingOutput::File(std::string_view name, std::uint32_t part, std::uint64_t size) {
  Flush();
  m_sink.File(name, part, size);
}

void ListingOutput::Stop(std::int64_t offset, std::string_view reason) {
  Flush();
  if (m_stopReason.empty()) m_stopReason = reason.empty() ? "stopped" : std::string(reason);
  m_sink.Stop(offset, reason);
}

void ListingOutput::FlushPending() {
  if (m_pending.empty()) return;
  m_sink.Text(m_pending);
  m_pending.clear();
}

}  // namespace morvit
