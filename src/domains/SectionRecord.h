// Reads the fields of a caller's section record (TSectionInfo) at their byte offsets, and
// appends what a record becomes to an element. The layout of a record is the domain type's, so
// fields are copied out one by one; every offset is checked at compile time against the
// record's 512 bytes, and texts are cut at the record's end.
#ifndef MORVIT_DOMAINS_SECTIONRECORD_H
#define MORVIT_DOMAINS_SECTIONRECORD_H

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "domains/VDomainSection.h"
#include "morvit/VBase.h"
#include "morvit/VElement.h"

namespace morvit {

class SectionRecord {
 public:
  static constexpr std::size_t kRecordSize = sizeof(TSectionInfo);

  explicit SectionRecord(const TSectionInfo& record)
      : m_pBytes(reinterpret_cast<const char*>(&record)) {}

  // The field of type T at byte `Offset`, in host byte order.
  template <typename T, std::size_t Offset>
  T Field() const {
    static_assert(Offset + sizeof(T) <= kRecordSize, "field runs past the record's end");
    T value;
    std::memcpy(&value, m_pBytes + Offset, sizeof value);
    return value;
  }

  std::int32_t Kind() const { return Field<std::int32_t, 0>(); }

  // The characters at `TextAt` whose count is the 16-bit field at `LengthAt`. A count that
  // would run past the record's end is cut there: nothing beyond the record is read.
  template <std::size_t TextAt, std::size_t LengthAt>
  std::string_view Text() const {
    static_assert(TextAt < kRecordSize, "text starts past the record's end");
    const std::size_t length = Field<std::uint16_t, LengthAt>();
    return {m_pBytes + TextAt, std::min(length, kRecordSize - TextAt)};
  }

  // The zero-terminated characters at `TextAt`: at most `Limit` of them, and never past the
  // record's end.
  template <std::size_t TextAt, std::size_t Limit = kRecordSize>
  std::string_view TerminatedText() const {
    static_assert(TextAt < kRecordSize, "text starts past the record's end");
    const std::size_t room = std::min(Limit, kRecordSize - TextAt);
    const char* text = m_pBytes + TextAt;
    return {text, static_cast<std::size_t>(std::find(text, text + room, '\0') - text)};
  }

  // Copies `count` bytes from `Offset` on.
  template <std::size_t Offset, std::size_t Count>
  void CopyBytes(void* destination) const {
    static_assert(Offset + Count <= kRecordSize, "bytes run past the record's end");
    std::memcpy(destination, m_pBytes + Offset, Count);
  }

 private:
  const char* m_pBytes;
};

// Largest element that one section block can carry: the block's 16-bit size counts its code
// and size words too.
inline constexpr std::uint64_t kMaxElementLength = 0xFFFF - kSectionBlockHeaderSize;

// Appends what `write(element)` writes to the end of `element` and returns the number of bytes
// added. If the element would then be longer than `maxLength` (by default: too long for its
// block), the bytes are taken back and the record is refused with the generic file exception:
// a block size that wrapped around would make the domain unreadable.
template <typename Write>
std::uint16_t AppendToElement(VElement& element, Write&& write,
                              std::uint64_t maxLength = kMaxElementLength) {
  const std::uint64_t before = element.GetLength();
  element.SeekToEnd();
  write(element);
  const std::uint64_t after = element.GetLength();
  if (after > maxLength) {
    element.SetLength(before);
    element.SeekToEnd();
    AfxThrowFileException(CFileException::genericException);
  }
  return static_cast<std::uint16_t>(after - before);
}

}  // namespace morvit

#endif  // MORVIT_DOMAINS_SECTIONRECORD_H
