// Sizes of the header records that open domain files, and the file-size rules they serve.
// All header values are big-endian; each size is the sum of its fields in file order.
#ifndef MORVIT_FILES_HEADERFORMAT_H
#define MORVIT_FILES_HEADERFORMAT_H

#include <cstdint>

namespace morvit::headerformat {

// Common domain header: offset to last byte (2), type (1), scope (1), version (2),
// compact date-time: date (2), time (2), milliseconds (2); major (1), minor (1).
inline constexpr std::uint16_t kCommonHeaderSize = 2 + 1 + 1 + 2 + (2 + 2 + 2) + 1 + 1;
static_assert(kCommonHeaderSize == 14);

// Compress header: own domain number (2), number of domains - 1 (2), compress version (2),
// length of the compressed block (2), spare (2).
inline constexpr std::uint16_t kCompressHeaderSize = 2 + 2 + 2 + 2 + 2;
static_assert(kCompressHeaderSize == 10);

// Structure header: major and minor structure version (1 + 1), offsets to block 1, block 2
// and the extension (4 each), spare (six words).
inline constexpr std::uint16_t kStructureSpareWords = 6;
inline constexpr std::uint16_t kStructureHeaderSize = 1 + 1 + 4 + 4 + 4 + kStructureSpareWords * 2;
static_assert(kStructureHeaderSize == 26);

// Decoder header: offset to the decoder table (2), offset to the description (2), decoder
// major and minor version (1 + 1), G1, G2, G3 (2 each).
inline constexpr std::uint16_t kDecoderHeaderSize = 2 + 2 + 1 + 1 + 2 + 2 + 2;
static_assert(kDecoderHeaderSize == 12);

// What a spare word holds when written.
inline constexpr std::uint16_t kSpareWord = 0xFFFF;
// The decoder table version that the decoder header always carries.
inline constexpr std::uint8_t kDecoderMajorVersion = 1;
inline constexpr std::uint8_t kDecoderMinorVersion = 0;

// Headers of a file of a split (block-addressed) domain: every part opens with the common
// and the compress header; the first part file adds the structure header.
inline constexpr std::uint16_t kPartHeaderSize = kCommonHeaderSize + kCompressHeaderSize;
inline constexpr std::uint16_t kFirstPartHeaderSize = kPartHeaderSize + kStructureHeaderSize;
static_assert(kPartHeaderSize == 24 && kFirstPartHeaderSize == 50);

// The largest domain file before padding, and the unit every domain file is padded to.
inline constexpr std::uint32_t kMaximumPartSize = 65501;
inline constexpr std::uint32_t kPaddingUnit = 1024;

}  // namespace morvit::headerformat

#endif  // MORVIT_FILES_HEADERFORMAT_H
