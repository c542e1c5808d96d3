// Fixed headers described once as data. The read-only domain types (TADE, REDE, PODE, CODA,
// COIO, BxD) keep their fixed header as an image: the file's bytes, unchanged, in an element.
// A layout table names each field's label, encoding and width; reading copies the bytes into
// the image, writing walks the table and writes each field from the image (as data or as its
// listing line), so a reader and its writer cannot drift apart.
#ifndef MORVIT_DOMAINS_FIELDLAYOUT_H
#define MORVIT_DOMAINS_FIELDLAYOUT_H

#include <cstdint>
#include <span>
#include <string_view>

#include "morvit/VMotorolaIO.h"
#include "morvit/platform.h"

namespace morvit {

enum class FieldEncoding : std::uint8_t {
  Cardinal,  // 16-bit unsigned
  Integer,   // 16-bit signed
  LongCard,  // 32-bit unsigned
  LongInt,   // 32-bit signed
  Byte,      // one byte (listing pairs bytes into words)
  Chars,     // `width` bytes of text, written with WriteString (a zero pad byte if odd)
  Bytes,     // `width` bytes carried unchanged (listing: byte pairs, each line with the label)
};

struct FieldSpec {
  const char* label;
  FieldEncoding encoding;
  std::uint16_t width = 0;  // Chars and Bytes only: the number of bytes
};

using FieldLayout = std::span<const FieldSpec>;

// The bytes the field takes in the file (a Chars field of odd width with its pad byte).
std::uint32_t FieldSize(const FieldSpec& field);
// The bytes the whole layout takes in the file.
std::uint32_t LayoutSize(FieldLayout layout);
// The byte offset of field `index` from the layout's start.
std::uint32_t FieldOffset(FieldLayout layout, std::size_t index);

// Copies the layout's bytes unchanged from `file` to the end of `image`. A file that ends
// first raises end of file: a fixed header is never read short.
void ReadLayout(CFile& file, CFile& image, FieldLayout layout);

// Writes every field of the layout to `file` from `image`'s current position on, each with its
// label, as data or (listing non-zero) as listing lines. The image advances past the layout.
void WriteLayout(VMotorolaIO& io, CFile& image, CFile& file, FieldLayout layout, int listing);

// Builders: a field's value in an image that holds the layout from offset `base` on.
// Numbers are stored big-endian in the field's width; text is cut or zero-filled to the width.
void SetField(CFile& image, FieldLayout layout, std::size_t index, std::uint32_t value,
              std::uint32_t base = 0);
void SetField(CFile& image, FieldLayout layout, std::size_t index, std::string_view text,
              std::uint32_t base = 0);
std::uint32_t GetField(CFile& image, FieldLayout layout, std::size_t index, std::uint32_t base = 0);

}  // namespace morvit

#endif  // MORVIT_DOMAINS_FIELDLAYOUT_H
