// Table-driven DCL implode stream decoder: a 64-bit bit accumulator refilled a word at a time,
// one table look-up per prefix code, and an output window that keeps the dictionary.
//
// Format notes:
// - Bits are taken from bit 0 of each byte upward. The accumulator holds the next bits with the
//   first one in bit 0, so a prefix code is decoded by indexing a table with the low bits.
// - The fixed code tables are compile-time constants; the work area holds only the input chunk
//   and the output window, so a call needs no set-up beyond reading the header.
// - A copy may overlap its own output (distance < length); it must repeat the recent bytes, so
//   copying goes front to back, in steps no wider than the distance.
// - A token is at most 30 bits; after a refill at least 32 bits are held unless the input has
//   ended. Past the end the accumulator reads as zero bits, and a token that used more bits than
//   the input held means the stream was cut short.
#include "files/Explode.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>

namespace morvit::dcl {
namespace {

constexpr unsigned kInputChunk = 2048;   // bytes asked of the read callback at a time
constexpr unsigned kOutputChunk = 4096;  // bytes handed to the write callback at a time
// The window keeps one chunk of history behind every chunk handed on; a copy starts below
// kFlushAt and may run kMaxCopy bytes, and the 16-byte copy steps may overrun by 15.
constexpr unsigned kFlushAt = 2 * kOutputChunk;
constexpr unsigned kCopyOverrun = 16;

struct ExplodeWork {
  std::uint8_t input[kInputChunk];
  std::uint8_t output[kFlushAt + kMaxCopy + kCopyOverrun];
};
static_assert(sizeof(ExplodeWork) <= kExplodeWorkSize);
static_assert(alignof(ExplodeWork) == 1);

constexpr unsigned kTokenBitsGuaranteed = 32;  // longest token: 1 + 7 + 8 + 8 + 6 = 30 bits

constexpr auto kLiteralTable = MakeDecodeTable<kMaxLiteralCodeBits>(kLiteralCodes);
constexpr auto kLengthTable = MakeDecodeTable<kMaxLengthCodeBits>(kLengthCodes);
constexpr auto kDistanceTable = MakeDecodeTable<kMaxDistanceCodeBits>(kDistanceCodes);

// The input side: the chunk buffer, the accumulator and the callback that refills them.
class BitInput {
 public:
  BitInput(ReadFunc read, void* param, std::uint8_t* buffer)
      : m_read(read), m_param(param), m_buffer(buffer), m_next(buffer), m_end(buffer) {}

  // Reads until at least `wanted` bytes are buffered or the input ends; returns the count.
  unsigned FillAtLeast(unsigned wanted) {
    unsigned have = static_cast<unsigned>(m_end - m_buffer);
    while (have < wanted && !m_ended) {
      const unsigned got = Read(m_buffer + have, kInputChunk - have);
      have += got;
      m_end = m_buffer + have;
    }
    return have;
  }

  // Consumes bytes from the chunk without going through the accumulator (the header).
  std::uint8_t TakeByte() { return *m_next++; }

  // Makes at least kTokenBitsGuaranteed bits available unless the input has ended.
  void Refill() {
    if (m_bitCount >= static_cast<int>(kTokenBitsGuaranteed)) return;
    if (m_end - m_next >= 8) {
      m_accumulator |= LoadLittleEndian64(m_next) << m_bitCount;
      m_next += (63 - m_bitCount) >> 3;
      m_bitCount |= 56;
      return;
    }
    RefillSlowly();
  }

  std::uint64_t Peek() const { return m_accumulator; }
  unsigned Take(unsigned count) {
    const unsigned value = static_cast<unsigned>(m_accumulator & ((1u << count) - 1));
    Drop(count);
    return value;
  }
  void Drop(unsigned count) {
    m_accumulator >>= count;
    m_bitCount -= static_cast<int>(count);
  }
  // True when a token used more bits than the input held.
  bool Overrun() const { return m_bitCount < 0; }

 private:
  unsigned Read(std::uint8_t* into, unsigned wanted) {
    unsigned size = wanted;
    unsigned got = m_read(reinterpret_cast<char*>(into), &size, m_param);
    if (got > wanted) got = wanted;  // a callback claiming more than asked is not trusted
    if (got == 0) m_ended = true;
    return got;
  }

  void RefillSlowly() {
    while (m_bitCount <= 56) {
      if (m_next == m_end) {
        if (m_ended) return;
        const unsigned got = Read(m_buffer, kInputChunk);
        m_next = m_buffer;
        m_end = m_buffer + got;
        if (got == 0) return;
      }
      m_accumulator |= static_cast<std::uint64_t>(*m_next++) << m_bitCount;
      m_bitCount += 8;
    }
  }

  ReadFunc m_read;
  void* m_param;
  std::uint8_t* m_buffer;
  const std::uint8_t* m_next;
  const std::uint8_t* m_end;
  std::uint64_t m_accumulator = 0;
  int m_bitCount = 0;
  bool m_ended = false;
};

// The output side: the window and the callback that takes the finished chunks.
class WindowOutput {
 public:
  WindowOutput(WriteFunc write, void* param, std::uint8_t* window)
      : m_write(write), m_param(param), m_window(window) {}

  void Literal(std::uint8_t byte) { m_window[m_size++] = byte; }

  // Copies `length` bytes from `distance` back; false if that reaches before the first byte.
  bool Copy(unsigned length, unsigned distance) {
    if (distance > m_size) return false;
    std::uint8_t* to = m_window + m_size;
    const std::uint8_t* from = to - distance;
    if (distance >= 16) {
      for (unsigned i = 0; i < length; i += 16) std::memcpy(to + i, from + i, 16);
    } else if (distance >= 8) {
      for (unsigned i = 0; i < length; i += 8) std::memcpy(to + i, from + i, 8);
    } else if (distance == 1) {
      std::memset(to, *from, length);
    } else {
      // The copy repeats a pattern of `distance` bytes: once 16 bytes are out byte by byte,
      // 8-byte steps can read from a whole number of periods back, at least 8 bytes away.
      const unsigned period = distance * ((8 + distance - 1) / distance);
      const unsigned head = std::min(length, 16u);
      for (unsigned i = 0; i < head; ++i) to[i] = from[i];
      for (unsigned i = head; i < length; i += 8) std::memcpy(to + i, to + i - period, 8);
    }
    m_size += length;
    return true;
  }

  // Hands on the oldest chunk once two chunks have gathered, keeping one as history.
  void FlushIfFull() {
    if (m_size < kFlushAt) return;
    Write(m_window, kOutputChunk);
    m_size -= kOutputChunk;
    std::memmove(m_window, m_window + kOutputChunk, m_size);
  }

  void FlushAll() {
    unsigned done = 0;
    for (; m_size - done > kOutputChunk; done += kOutputChunk) Write(m_window + done, kOutputChunk);
    if (m_size > done) Write(m_window + done, m_size - done);
  }

 private:
  void Write(std::uint8_t* from, unsigned count) {
    unsigned size = count;
    m_write(reinterpret_cast<char*>(from), &size, m_param);
  }

  WriteFunc m_write;
  void* m_param;
  std::uint8_t* m_window;
  unsigned m_size = 0;  // bytes in the window; all of them are output of this stream
};

template <bool ascii>
int DecodeTokens(BitInput& in, WindowOutput& out, unsigned sizeCode) {
  for (;;) {
    in.Refill();
    const std::uint64_t bits = in.Peek();
    if ((bits & 1) == 0) {
      std::uint8_t byte;
      if constexpr (ascii) {
        const DecodeEntry e = kLiteralTable[(bits >> 1) & ((1u << kMaxLiteralCodeBits) - 1)];
        byte = e.symbol;
        in.Drop(1u + e.bits);
      } else {
        byte = static_cast<std::uint8_t>(bits >> 1);
        in.Drop(9);
      }
      if (in.Overrun()) return kStreamBroken;
      out.Literal(byte);
    } else {
      const DecodeEntry ls = kLengthTable[(bits >> 1) & ((1u << kMaxLengthCodeBits) - 1)];
      in.Drop(1u + ls.bits);
      const unsigned length = kLengthBase[ls.symbol] + in.Take(kLengthExtraBits[ls.symbol]);
      if (length == kEndLength) return in.Overrun() ? kStreamBroken : kOk;
      const unsigned lowBits = length == kMinCopy ? kShortCopyLowBits : sizeCode;
      const DecodeEntry ds = kDistanceTable[in.Peek() & ((1u << kMaxDistanceCodeBits) - 1)];
      in.Drop(ds.bits);
      const unsigned distance = ((unsigned{ds.symbol} << lowBits) | in.Take(lowBits)) + 1;
      if (in.Overrun() || !out.Copy(length, distance)) return kStreamBroken;
    }
    out.FlushIfFull();
  }
}

}  // namespace

int explode(ReadFunc read, WriteFunc write, char* workArea, void* param) {
  auto* work = new (workArea) ExplodeWork;
  BitInput in(read, param, work->input);
  // The shortest stream is the header and the end code; anything shorter cannot be a stream.
  // (A 4-byte stream is the valid encoding of empty data and is expanded normally.)
  if (in.FillAtLeast(kMinStreamSize) < kMinStreamSize) return kStreamTooShort;
  const unsigned mode = in.TakeByte();
  const unsigned sizeCode = in.TakeByte();
  if (sizeCode < kMinSizeCode || sizeCode > kMaxSizeCode) return kInvalidDictionarySize;
  if (mode != kBinaryMode && mode != kAsciiMode) return kInvalidMode;

  WindowOutput out(write, param, work->output);
  const int result = mode == kAsciiMode ? DecodeTokens<true>(in, out, sizeCode)
                                        : DecodeTokens<false>(in, out, sizeCode);
  out.FlushAll();
  return result;
}

}  // namespace morvit::dcl
