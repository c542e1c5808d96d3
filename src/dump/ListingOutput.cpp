// Number formatting by hand (a listing has tens of thousands of lines of six numbers each) and
// the hand-over of gathered text to the sink.
#include "dump/ListingOutput.h"

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

}  // namespace

ListingOutput::ListingOutput(morvit::VListingSink& sink) : m_sink(sink) { m_pending.reserve(256); }

void ListingOutput::Digits(const char* digits, std::size_t count, unsigned width) {
  if (count < width) m_pending.append(width - count, ' ');
  m_pending.append(digits, count);
}

void ListingOutput::Unsigned(std::uint32_t value, unsigned width) {
  char digits[10];
  char* at = digits + sizeof digits;
  do {
    *--at = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  Digits(at, static_cast<std::size_t>(digits + sizeof digits - at), width);
}

void ListingOutput::Signed(std::int32_t value, unsigned width) {
  char digits[11];
  char* at = digits + sizeof digits;
  const bool negative = value < 0;
  std::uint32_t magnitude =
      negative ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
  do {
    *--at = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (negative) *--at = '-';
  Digits(at, static_cast<std::size_t>(digits + sizeof digits - at), width);
}

void ListingOutput::Hex(std::uint32_t value, unsigned width) {
  char digits[8];
  char* at = digits + sizeof digits;
  do {
    *--at = kHexDigits[value & 0xF];
    value >>= 4;
  } while (value != 0);
  Digits(at, static_cast<std::size_t>(digits + sizeof digits - at), width);
}

void ListingOutput::Field(morvit::VListingField field) {
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

void ListingOutput::Begin(const morvit::VListingBegin& begin) {
  Flush();
  m_sink.Begin(begin);
}

void ListingOutput::End(morvit::VListingPlace kind) {
  Flush();
  m_sink.End(kind);
}

void ListingOutput::File(std::string_view name, std::uint32_t part, std::uint64_t size) {
  Flush();
  m_sink.File(name, part, size);
}

void ListingOutput::Stop(std::int64_t offset, std::string_view reason) {
  Flush();
  m_sink.Stop(offset, reason);
}

void ListingOutput::Flush() {
  if (m_pending.empty()) return;
  m_sink.Text(m_pending);
  m_pending.clear();
}
