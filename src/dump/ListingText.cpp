// The driver's text rendering, buffered: a listing has tens of thousands of lines.
#include "dump/ListingText.h"

namespace morvit {

ListingText::ListingText(CFile& file) : m_file(file) { m_buffer.reserve(kFlushSize + 256); }

ListingText::~ListingText() {
  try {
    Flush();
  } catch (const CFileException&) {
    // Reported to callers that flush first; nothing to tell from a destructor.
  }
}

void ListingText::Text(std::string_view text) {
  m_buffer.append(text);
  Gathered();
}

void ListingText::Flush() {
  if (m_buffer.empty()) return;
  m_file.Write(m_buffer.data(), static_cast<unsigned>(m_buffer.size()));
  m_buffer.clear();
}

}  // namespace morvit
