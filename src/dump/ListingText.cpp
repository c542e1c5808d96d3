// Number formatting by hand: a listing has tens of thousands of lines of six numbers each.
#include "dump/ListingText.h"

namespace {

// Text gathered before it goes to the file.
constexpr std::size_t kFlushSize = 64 * 1024;
constexpr char kHexDigits[] = "0123456789ABCDEF";

}  // namespace

ListingText::ListingText(CFile& file) : m_file(file) { m_buffer.reserve(kFlushSize + 256); }

ListingText::~ListingText() {
  try {
    Flush();
  } catch (const CFileException&) {
    // Reported to callers that flush first; nothing to tell from a destructor.
  }
}

void ListingText::LineEnd() {
  m_buffer.push_back('\n');
  if (m_buffer.size() >= kFlushSize) Flush();
}

void ListingText::Digits(const char* digits, std::size_t count, unsigned width) {
  if (count < width) m_buffer.append(width - count, ' ');
  m_buffer.append(digits, count);
}

void ListingText::Unsigned(std::uint32_t value, unsigned width) {
  char digits[10];
  char* at = digits + sizeof digits;
  do {
    *--at = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  Digits(at, static_cast<std::size_t>(digits + sizeof digits - at), width);
}

void ListingText::Signed(std::int32_t value, unsigned width) {
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

void ListingText::Hex(std::uint32_t value, unsigned width) {
  char digits[8];
  char* at = digits + sizeof digits;
  do {
    *--at = kHexDigits[value & 0xF];
    value >>= 4;
  } while (value != 0);
  Digits(at, static_cast<std::size_t>(digits + sizeof digits - at), width);
}

void ListingText::Flush() {
  if (m_buffer.empty()) return;
  m_file.Write(m_buffer.data(), static_cast<unsigned>(m_buffer.size()));
  m_buffer.clear();
}
