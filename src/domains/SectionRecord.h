// Reads the fields of a caller's section record (TSectionInfo) at their byte offsets. The
// layout of a record is the domain type's, so fields are copied out one by one; every offset is
// checked at compile time against the record's 512 bytes, and texts are cut at the record's end.
#ifndef MORVIT_DOMAINS_SECTIONRECORD_H
#define MORVIT_DOMAINS_SECTIONRECORD_H

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "morvit/VBase.h"

class SectionRecord {
 public:
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

  // Copies `count` bytes from `Offset` on.
  template <std::size_t Offset, std::size_t Count>
  void CopyBytes(void* destination) const {
    static_assert(Offset + Count <= kRecordSize, "bytes run past the record's end");
    std::memcpy(destination, m_pBytes + Offset, Count);
  }

 private:
  static constexpr std::size_t kRecordSize = sizeof(TSectionInfo);

  const char* m_pBytes;
};

#endif  // MORVIT_DOMAINS_SECTIONRECORD_H
