// Fixed headers driven by their layout tables: copy in, write out field by field.
#include "domains/FieldLayout.h"

#include <algorithm>
#include <array>
#include <vector>

namespace morvit {

namespace {

std::uint32_t ValueWidth(FieldEncoding encoding) {
  switch (encoding) {
    case FieldEncoding::Byte:
      return 1;
    case FieldEncoding::Cardinal:
    case FieldEncoding::Integer:
      return 2;
    case FieldEncoding::LongCard:
    case FieldEncoding::LongInt:
      return 4;
    case FieldEncoding::Chars:
    case FieldEncoding::Bytes:
      break;
  }
  return 0;
}

// Reads exactly `count` bytes or raises end of file.
void ReadExactly(CFile& file, void* buffer, unsigned count) {
  if (file.Read(buffer, count) != count) AfxThrowFileException(CFileException::endOfFile);
}

std::uint32_t ReadBigEndian(CFile& image, std::uint32_t width) {
  std::array<std::uint8_t, 4> bytes{};
  ReadExactly(image, bytes.data(), width);
  std::uint32_t value = 0;
  for (std::uint32_t i = 0; i < width; ++i) value = (value << 8) | bytes[i];
  return value;
}

}  // namespace

std::uint32_t FieldSize(const FieldSpec& field) {
  if (field.encoding == FieldEncoding::Chars) return field.width + (field.width & 1u);
  if (field.encoding == FieldEncoding::Bytes) return field.width;
  return ValueWidth(field.encoding);
}

std::uint32_t LayoutSize(FieldLayout layout) {
  std::uint32_t size = 0;
  for (const FieldSpec& field : layout) size += FieldSize(field);
  return size;
}

std::uint32_t FieldOffset(FieldLayout layout, std::size_t index) {
  return LayoutSize(layout.first(index));
}

void ReadLayout(CFile& file, CFile& image, FieldLayout layout) {
  std::vector<std::uint8_t> bytes(LayoutSize(layout));
  ReadExactly(file, bytes.data(), static_cast<unsigned>(bytes.size()));
  image.SeekToEnd();
  image.Write(bytes.data(), static_cast<unsigned>(bytes.size()));
}

void WriteLayout(VMotorolaIO& io, CFile& image, CFile& file, FieldLayout layout, int listing) {
  for (const FieldSpec& field : layout) {
    switch (field.encoding) {
      case FieldEncoding::Byte:
        io.WriteByte(file, static_cast<std::uint8_t>(ReadBigEndian(image, 1)), listing,
                     field.label);
        break;
      case FieldEncoding::Cardinal:
        io.WriteCardinal(file, static_cast<std::uint16_t>(ReadBigEndian(image, 2)), listing,
                         field.label);
        break;
      case FieldEncoding::Integer:
        io.WriteInteger(file, static_cast<std::int16_t>(ReadBigEndian(image, 2)), listing,
                        field.label);
        break;
      case FieldEncoding::LongCard:
        io.WriteLongCard(file, ReadBigEndian(image, 4), listing, field.label);
        break;
      case FieldEncoding::LongInt:
        io.WriteLongInt(file, static_cast<std::int32_t>(ReadBigEndian(image, 4)), listing,
                        field.label);
        break;
      case FieldEncoding::Chars: {
        std::vector<char> chars(FieldSize(field));
        ReadExactly(image, chars.data(), static_cast<unsigned>(chars.size()));
        io.WriteString(file, field.width, chars.data(), 0, listing, field.label);
        break;
      }
      case FieldEncoding::Bytes:
        for (std::uint16_t i = 0; i < field.width; ++i) {
          io.WriteByte(file, static_cast<std::uint8_t>(ReadBigEndian(image, 1)), listing,
                       field.label);
        }
        break;
    }
  }
}

void SetField(CFile& image, FieldLayout layout, std::size_t index, std::uint32_t value,
              std::uint32_t base) {
  const std::uint32_t width = ValueWidth(layout[index].encoding);
  std::array<std::uint8_t, 4> bytes{};
  for (std::uint32_t i = 0; i < width; ++i)
    bytes[i] = static_cast<std::uint8_t>(value >> (8 * (width - 1 - i)));
  image.Seek(base + FieldOffset(layout, index), CFile::begin);
  image.Write(bytes.data(), width);
}

void SetField(CFile& image, FieldLayout layout, std::size_t index, std::string_view text,
              std::uint32_t base) {
  std::vector<char> chars(FieldSize(layout[index]), '\0');
  std::copy_n(text.data(), std::min<std::size_t>(text.size(), layout[index].width), chars.begin());
  image.Seek(base + FieldOffset(layout, index), CFile::begin);
  image.Write(chars.data(), static_cast<unsigned>(chars.size()));
}

std::uint32_t GetField(CFile& image, FieldLayout layout, std::size_t index, std::uint32_t base) {
  image.Seek(base + FieldOffset(layout, index), CFile::begin);
  return ReadBigEndian(image, ValueWidth(layout[index].encoding));
}

}  // namespace morvit
