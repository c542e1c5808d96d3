// The text rendering of the dump driver's listing events: the text of every field and every
// piece of text in order, gathered in memory and written to the listing file in large pieces.
#ifndef MORVIT_DUMP_LISTINGTEXT_H
#define MORVIT_DUMP_LISTINGTEXT_H

#include <string>
#include <string_view>

#include "morvit/VListingEvents.h"
#include "morvit/platform.h"

namespace morvit {

class ListingText : public morvit::VListingSink {
 public:
  // Writes to `file`, which stays the caller's.
  explicit ListingText(CFile& file);
  ListingText(const ListingText&) = delete;
  ListingText& operator=(const ListingText&) = delete;
  // Writes what is still gathered; a failure here cannot be reported, so callers Flush first.
  ~ListingText() override;

  void Field(const morvit::VListingField& field) override { Text(field.text); }
  void Text(std::string_view text) override;

  // Hands everything gathered to the file.
  void Flush();

  // The text gathered: the driver's output appends to it directly, then calls Gathered, which
  // writes it to the file once it is large.
  std::string& Buffer() { return m_buffer; }
  void Gathered() {
    if (m_buffer.size() >= kFlushSize) Flush();
  }

 private:
  // Text gathered before it goes to the file.
  static constexpr std::size_t kFlushSize = 64 * 1024;

  CFile& m_file;
  std::string m_buffer;
};

}  // namespace morvit

#endif  // MORVIT_DUMP_LISTINGTEXT_H
