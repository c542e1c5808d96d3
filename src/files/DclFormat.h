// Shared facts of the DCL implode stream: header values, token limits, the three fixed prefix
// codes, and the callback interface and result codes of implode and explode.
#ifndef MORVIT_FILES_DCLFORMAT_H
#define MORVIT_FILES_DCLFORMAT_H

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace morvit::dcl {

// ---- Caller interface ---------------------------------------------------------------------

// Read callback: fills at most *size bytes of buf, returns the count placed (0 at the end).
using ReadFunc = unsigned int (*)(char* buf, unsigned int* size, void* param);
// Write callback: must consume all *size bytes of buf.
using WriteFunc = void (*)(char* buf, unsigned int* size, void* param);

enum ResultCode : int {
  kOk = 0,
  kInvalidDictionarySize = 1,  // implode: not 1024/2048/4096; explode: size code not 4..6
  kInvalidMode = 2,            // literal mode not 0 or 1
  kStreamTooShort = 3,         // explode: the input cannot hold a header and an end code
  kStreamBroken = 4,           // explode: input ended or a copy reached before the output start
};

// Literal modes (header byte 0).
constexpr unsigned kBinaryMode = 0;  // literals as 8 plain bits
constexpr unsigned kAsciiMode = 1;   // literals with the literal prefix code

// ---- Stream limits ------------------------------------------------------------------------

constexpr unsigned kHeaderSize = 2;        // literal mode byte, dictionary size code byte
constexpr unsigned kMinSizeCode = 4;       // 1024-byte dictionary
constexpr unsigned kMaxSizeCode = 6;       // 4096-byte dictionary
constexpr unsigned kMaxDictionary = 4096;  // 1 << (kMaxSizeCode + 6)
constexpr unsigned kMinCopy = 2;
constexpr unsigned kMaxCopy = 518;
constexpr unsigned kEndLength = 519;       // a copy of this length is the end code
constexpr unsigned kShortCopyLowBits = 2;  // low distance bits of a length-2 copy
constexpr unsigned kMaxShortDistance = 64u << kShortCopyLowBits;  // 256
// The shortest complete stream: header plus the 16-bit end code.
constexpr unsigned kMinStreamSize = kHeaderSize + 2;

// ---- Prefix codes -------------------------------------------------------------------------
//
// Each code is fixed by one code length per symbol. Codes are canonical (ordered by length, then
// symbol), every bit inverted, and sent most significant bit first. Since the bit stream fills
// bytes from bit 0, the tables below hold each code bit-reversed ("LSB-first value"): writing
// that value as a plain field emits the code, and peeking bits as an integer yields it.

constexpr unsigned kLiteralSymbols = 256;
constexpr unsigned kLengthSymbols = 16;
constexpr unsigned kDistanceSymbols = 64;
constexpr unsigned kMaxLiteralCodeBits = 13;
constexpr unsigned kMaxLengthCodeBits = 7;
constexpr unsigned kMaxDistanceCodeBits = 8;

constexpr std::array<std::uint8_t, kLiteralSymbols> kLiteralCodeBits = {
    11, 12, 12, 12, 12, 12, 12, 12, 12, 8,  7,  12, 12, 7,  12, 12,  //
    12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 13, 12, 12, 12, 12, 12,  //
    4,  10, 8,  12, 10, 12, 10, 8,  7,  7,  8,  9,  7,  6,  7,  8,   //
    7,  6,  7,  7,  7,  7,  8,  7,  7,  8,  8,  12, 11, 7,  9,  11,  //
    12, 6,  7,  6,  6,  5,  7,  8,  8,  6,  11, 9,  6,  7,  6,  6,   //
    7,  11, 6,  6,  6,  7,  9,  8,  9,  9,  11, 8,  11, 9,  12, 8,   //
    12, 5,  6,  6,  6,  5,  6,  6,  6,  5,  11, 7,  5,  6,  5,  5,   //
    6,  10, 5,  5,  5,  5,  8,  7,  8,  8,  10, 11, 11, 12, 12, 12,  //
    13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13,  //
    13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13,  //
    13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13,  //
    12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12,  //
    12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12,  //
    12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12,  //
    13, 12, 13, 13, 13, 12, 13, 13, 13, 12, 13, 13, 13, 13, 12, 13,  //
    13, 13, 12, 12, 12, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13,  //
};

// Length symbol s covers lengths kLengthBase[s] .. kLengthBase[s] + 2^kLengthExtraBits[s] - 1.
// Symbol 1 is length 2 and symbol 0 length 3; symbol 15 with extra value 255 is the end code.
constexpr std::array<std::uint8_t, kLengthSymbols> kLengthCodeBits = {2, 3, 3, 3, 4, 4, 4, 5,
                                                                      5, 5, 5, 6, 6, 6, 7, 7};
constexpr std::array<std::uint16_t, kLengthSymbols> kLengthBase = {
    3, 2, 4, 5, 6, 7, 8, 9, 10, 12, 16, 24, 40, 72, 136, 264};
constexpr std::array<std::uint8_t, kLengthSymbols> kLengthExtraBits = {0, 0, 0, 0, 0, 0, 0, 0,
                                                                       1, 2, 3, 4, 5, 6, 7, 8};

// Distance code: the high part of distance - 1 (above 2 low bits for length 2, above k low bits
// for longer copies).
constexpr std::array<std::uint8_t, kDistanceSymbols> kDistanceCodeBits = [] {
  std::array<std::uint8_t, kDistanceSymbols> bits{};
  for (unsigned s = 0; s < kDistanceSymbols; ++s)
    bits[s] = s == 0 ? 2 : s < 3 ? 4 : s < 7 ? 5 : s < 22 ? 6 : s < 48 ? 7 : 8;
  return bits;
}();

// A code word as written: `value` sent as a plain field of `bits` bits.
struct CodeWord {
  std::uint16_t value;
  std::uint8_t bits;
};

// Builds the LSB-first code words of a code from its code lengths (steps 1 to 4 above).
template <std::size_t N>
constexpr std::array<CodeWord, N> MakeCodeWords(const std::array<std::uint8_t, N>& lengths) {
  std::array<CodeWord, N> words{};
  unsigned code = 0, previousBits = 0;
  bool first = true;
  for (unsigned bits = 1; bits <= 16; ++bits) {
    for (unsigned s = 0; s < N; ++s) {
      if (lengths[s] != bits) continue;
      if (!first) code = (code + 1) << (bits - previousBits);
      first = false;
      previousBits = bits;
      const unsigned inverted = ~code & ((1u << bits) - 1);
      unsigned reversed = 0;
      for (unsigned b = 0; b < bits; ++b) reversed |= ((inverted >> b) & 1u) << (bits - 1 - b);
      words[s] = {static_cast<std::uint16_t>(reversed), static_cast<std::uint8_t>(bits)};
    }
  }
  return words;
}

inline constexpr auto kLiteralCodes = MakeCodeWords(kLiteralCodeBits);
inline constexpr auto kLengthCodes = MakeCodeWords(kLengthCodeBits);
inline constexpr auto kDistanceCodes = MakeCodeWords(kDistanceCodeBits);

// Decoding table entry for a peeked bit field: the symbol and its code length.
struct DecodeEntry {
  std::uint8_t symbol;
  std::uint8_t bits;
};

// Table indexed by the next `peekBits` stream bits (as an LSB-first integer): every index whose
// low L bits equal a symbol's code word of L bits maps to that symbol. Complete codes leave no
// entry unset.
template <unsigned peekBits, std::size_t N>
constexpr std::array<DecodeEntry, (1u << peekBits)> MakeDecodeTable(
    const std::array<CodeWord, N>& words) {
  std::array<DecodeEntry, (1u << peekBits)> table{};
  for (unsigned s = 0; s < N; ++s)
    for (unsigned i = words[s].value; i < (1u << peekBits); i += 1u << words[s].bits)
      table[i] = {static_cast<std::uint8_t>(s), words[s].bits};
  return table;
}

// The 8 bytes at `p` as one number, the first byte lowest: the next 64 stream bits, first bit
// in bit 0. (Stream bytes, not controller values: the bit stream is filled from bit 0 upward.)
inline std::uint64_t LoadLittleEndian64(const std::uint8_t* p) {
  std::uint64_t value;
  std::memcpy(&value, p, sizeof value);  // one load; reordered below on big-endian hosts
  if constexpr (std::endian::native == std::endian::big) {
    std::uint64_t reordered = 0;
    for (unsigned i = 0; i < 8; ++i) reordered = (reordered << 8) | ((value >> (8 * i)) & 0xFF);
    value = reordered;
  }
  return value;
}

// The length symbol whose range holds `length` (2..519).
constexpr unsigned LengthSymbolOf(unsigned length) {
  unsigned s = 0;
  while (!(length >= kLengthBase[s] && length < kLengthBase[s] + (1u << kLengthExtraBits[s]))) ++s;
  return s;
}

}  // namespace morvit::dcl

#endif  // MORVIT_FILES_DCLFORMAT_H
