// DCL implode stream encoder with a bit-exact optimal parse over blocks, inside the caller's
// 36312-byte work area.
//
// Design:
// - The code tables are fixed, so every token's exact size in bits is known in advance. The
//   parser therefore works out, for a block of up to kBlock input positions, the token sequence
//   with the fewest bits (shortest path over positions: a literal moves one position on, a copy
//   of length l moves l on), instead of choosing greedily.
// - Match finding: binary trees, one per 2-byte hash, hold the positions of the last 4096
//   bytes, each tree a heap by recency and a search tree by the bytes that follow each position.
//   Entering a position walks from the root down to its place, and the nodes passed on the way
//   are exactly those sharing the longest prefixes with it; they are met nearest first, so each
//   longer match met is the nearest (cheapest: distance codes never shrink with the distance)
//   source of its length, including the nearest length-2 source. The two child links of each
//   position live in a ring of 4096 slots, which is all the history a distance can reach.
//   Links and roots hold positions modulo 65536; roots older than the dictionary are aged to a
//   fixed far-away value every 16384 positions, so no stale entry can pass for a near one, and
//   every candidate is verified byte by byte, so a hash collision costs time, never validity.
// - Limits: a walk visits at most kTreeDepth nodes and orders positions by at most kNiceLength
//   bytes. A match of kNiceLength or more is followed on to its end and taken as it stands; of
//   the positions it covers only the last kTailInserts enter the trees. This bounds the work per
//   byte on long repeats.
// - Block ends: a copy may run past the end of the block. The block then ends either exactly at
//   its last position or with the best such crossing copy, judged by its bits less the bytes it
//   covers beyond the block valued at the previous block's bits per byte.
// - Memory: the window keeps 4096 bytes of history (and the tail positions before the block),
//   the block, the longest copy beyond it and room for one 4096-byte read. Per block position the
//   parse keeps its cost (16 bits suffice: a block costs at most 14 bits per byte) and the last
//   token of the cheapest path to it. Block size barely changes the result, so the trees get the
//   memory first.
#include "files/Implode.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

namespace morvit::dcl {
namespace {

constexpr unsigned kInputChunk = 4096;   // bytes asked of the read callback at a time
constexpr unsigned kOutputChunk = 2048;  // bytes handed to the write callback at a time
constexpr unsigned kBlock = 712;         // positions parsed together
constexpr unsigned kHashBits = 11;
constexpr unsigned kTreeDepth = 24;  // most tree nodes visited per position
constexpr unsigned kMaxMatches = kTreeDepth;
constexpr unsigned kNiceLength = 48;
constexpr unsigned kTailInserts = 16;
// History kept before a block: the dictionary, for the block's own positions, and the tail
// positions before it that may still enter the trees.
constexpr unsigned kHistory = kMaxDictionary + kTailInserts;
constexpr unsigned kWindowSize = kHistory + kBlock + kMaxCopy + kInputChunk;
constexpr unsigned kRefreshInterval = 16384;
constexpr std::uint16_t kFarAway = 32768;  // age given to stale table entries
constexpr std::uint16_t kUnreached = 0xFFFF;
constexpr unsigned kRateScale = 1024;  // fixed-point scale of bits per byte

struct ImplodeWork {
  std::uint16_t head[1u << kHashBits];     // newest position of each 2-byte hash: a tree's root
  std::uint16_t tree[2 * kMaxDictionary];  // per position (ring): smaller and larger subtree
  std::uint16_t cost[kBlock + 1];          // bits of the cheapest parse up to each block position
  std::uint16_t length[kBlock + 1];        // its last token: 1 for a literal, else copy length
  std::uint16_t distance[kBlock + 1];      // and the copy's distance
  std::uint8_t window[kWindowSize];
  std::uint8_t output[kOutputChunk + 8];
};
static_assert(sizeof(ImplodeWork) + alignof(ImplodeWork) - 1 <= kImplodeWorkSize);
static_assert(kBlock * 14 < kUnreached, "block costs must fit 16 bits");

// Token code words: flag bit first, then the code (and for copies the extra length bits).
constexpr std::array<CodeWord, kLiteralSymbols> MakeLiteralTokens(bool ascii) {
  std::array<CodeWord, kLiteralSymbols> tokens{};
  for (unsigned b = 0; b < kLiteralSymbols; ++b) {
    const CodeWord code = ascii ? kLiteralCodes[b] : CodeWord{static_cast<std::uint16_t>(b), 8};
    tokens[b] = {static_cast<std::uint16_t>(code.value << 1),
                 static_cast<std::uint8_t>(code.bits + 1)};
  }
  return tokens;
}
constexpr std::array<CodeWord, kLiteralSymbols> kLiteralTokens[2] = {MakeLiteralTokens(false),
                                                                     MakeLiteralTokens(true)};

constexpr auto kLengthTokens = [] {
  std::array<CodeWord, kEndLength + 1> tokens{};
  for (unsigned l = kMinCopy; l <= kEndLength; ++l) {
    const unsigned s = LengthSymbolOf(l);
    const CodeWord code = kLengthCodes[s];
    tokens[l] = {static_cast<std::uint16_t>(1u | (code.value << 1) |
                                            ((l - kLengthBase[s]) << (code.bits + 1))),
                 static_cast<std::uint8_t>(1 + code.bits + kLengthExtraBits[s])};
  }
  return tokens;
}();

// Bits of the distance field of a copy (its code plus its plain low bits).
inline unsigned DistanceBits(unsigned distance, unsigned lowBits) {
  return kDistanceCodes[(distance - 1) >> lowBits].bits + lowBits;
}

inline unsigned Hash2(const std::uint8_t* p) {
  const std::uint32_t key = std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8;
  return (key * 2654435761u) >> (32 - kHashBits);
}

// Number of equal bytes at `a` and `b`, at most `limit`.
inline unsigned MatchLength(const std::uint8_t* a, const std::uint8_t* b, unsigned limit) {
  unsigned n = 0;
  while (n + 8 <= limit) {
    const std::uint64_t diff = LoadLittleEndian64(a + n) ^ LoadLittleEndian64(b + n);
    if (diff != 0) return n + static_cast<unsigned>(std::countr_zero(diff)) / 8;
    n += 8;
  }
  while (n < limit && a[n] == b[n]) ++n;
  return n;
}

// Collects bits from the low end of an accumulator and hands on full chunks.
class BitOutput {
 public:
  BitOutput(WriteFunc write, void* param, std::uint8_t* buffer)
      : m_write(write), m_param(param), m_buffer(buffer) {}

  void Put(std::uint32_t value, unsigned count) {
    m_accumulator |= std::uint64_t{value} << m_bitCount;
    m_bitCount += count;
    if (m_bitCount < 32) return;
    for (unsigned i = 0; i < 4; ++i)
      m_buffer[m_size + i] = static_cast<std::uint8_t>(m_accumulator >> (8 * i));
    m_size += 4;
    m_accumulator >>= 32;
    m_bitCount -= 32;
    if (m_size >= kOutputChunk) {
      Write(kOutputChunk);
      m_size -= kOutputChunk;
      std::memmove(m_buffer, m_buffer + kOutputChunk, m_size);
    }
  }

  // Pads the last byte with zero bits and hands on the rest.
  void Finish() {
    for (; m_bitCount > 0; m_bitCount -= std::min(m_bitCount, 8u)) {
      m_buffer[m_size++] = static_cast<std::uint8_t>(m_accumulator);
      m_accumulator >>= 8;
    }
    if (m_size > 0) Write(m_size);
  }

 private:
  void Write(unsigned count) {
    unsigned size = count;
    m_write(reinterpret_cast<char*>(m_buffer), &size, m_param);
  }

  WriteFunc m_write;
  void* m_param;
  std::uint8_t* m_buffer;
  unsigned m_size = 0;
  std::uint64_t m_accumulator = 0;
  unsigned m_bitCount = 0;
};

struct Match {
  unsigned length;
  unsigned distance;
};

class Encoder {
 public:
  Encoder(ImplodeWork& work, ReadFunc read, WriteFunc write, void* param, unsigned mode,
          unsigned sizeCode)
      : m_work(work),
        m_read(read),
        m_param(param),
        m_out(write, param, work.output),
        m_literals(kLiteralTokens[mode]),
        m_mode(mode),
        m_sizeCode(sizeCode),
        m_dictionarySize(1u << (sizeCode + 6)) {
    std::fill(std::begin(work.head), std::end(work.head), kFarAway);
  }

  void Run() {
    m_out.Put(m_mode, 8);
    m_out.Put(m_sizeCode, 8);
    for (;;) {
      FillLookahead();
      if (m_pos == m_end) break;
      ParseBlock();
    }
    m_out.Put(kLengthTokens[kEndLength].value, kLengthTokens[kEndLength].bits);
    m_out.Finish();
  }

 private:
  std::uint8_t* At(std::uint64_t position) {
    assert(position >= m_base && position - m_base <= kWindowSize);
    return m_work.window + (position - m_base);
  }

  // Reads until a whole block and the longest copy beyond it are in the window, or the input
  // ends. Before a read that would not fit, drops all but kHistory bytes of history.
  void FillLookahead() {
    while (!m_ended && m_end - m_pos < kBlock + kMaxCopy) {
      if (kWindowSize - (m_end - m_base) < kInputChunk) {
        const std::uint64_t keepFrom = m_pos - std::min<std::uint64_t>(m_pos, kHistory);
        std::memmove(m_work.window, At(keepFrom), m_end - keepFrom);
        m_base = keepFrom;
      }
      unsigned size = kInputChunk;
      unsigned got = m_read(reinterpret_cast<char*>(At(m_end)), &size, m_param);
      if (got == 0) m_ended = true;
      m_end += std::min(got, kInputChunk);  // a callback claiming more than asked is not trusted
    }
  }

  // Gives every root older than the dictionary the far-away age.
  void AgeOutRoots(std::uint16_t now) {
    for (std::uint16_t& root : m_work.head)
      if (static_cast<std::uint16_t>(now - root) > kMaxDictionary)
        root = static_cast<std::uint16_t>(now - kFarAway);
  }

  // Inserts `position` into its tree and fills `matches` with the copies found on the way, of
  // increasing length (2 or more), each the nearest of its length; returns their count.
  unsigned InsertAndFind(std::uint64_t position, unsigned fullLimit, Match* matches) {
    m_inserted = position + 1;
    const auto p16 = static_cast<std::uint16_t>(position);
    if (position >= m_nextRefresh) {
      AgeOutRoots(p16);
      m_nextRefresh += kRefreshInterval;
    }
    if (fullLimit < kMinCopy) return 0;
    // The trees order positions by their next kNiceLength bytes at most; a match that long is
    // then followed on as far as it goes.
    const unsigned limit = std::min(fullLimit, kNiceLength);
    const std::uint8_t* current = At(position);
    std::uint16_t& root = m_work.head[Hash2(current)];
    unsigned distance = static_cast<std::uint16_t>(p16 - root);
    root = p16;
    const auto far = static_cast<std::uint16_t>(p16 - kFarAway);
    std::uint16_t* smaller = &m_work.tree[2 * (position & (kMaxDictionary - 1))];
    std::uint16_t* larger = smaller + 1;
    const unsigned maxDistance =
        static_cast<unsigned>(std::min<std::uint64_t>(m_dictionarySize, position));
    unsigned smallerLength = 0, largerLength = 0, best = 1, count = 0;
    for (unsigned depth = kTreeDepth; depth > 0 && distance >= 1 && distance < kMaxDictionary;
         --depth) {
      const std::uint64_t node = position - distance;
      assert(node >= m_base);
      std::uint16_t* children = &m_work.tree[2 * (node & (kMaxDictionary - 1))];
      const std::uint8_t* source = current - distance;
      unsigned length = std::min(smallerLength, largerLength);
      length += MatchLength(current + length, source + length, limit - length);
      if (length > best && distance <= maxDistance) {
        matches[count++] = {length, distance};
        best = length;
      }
      if (length == limit) {  // the node is replaced by this position
        *smaller = children[0];
        *larger = children[1];
        if (count > 0 && matches[count - 1].length == limit)
          matches[count - 1].length += MatchLength(
              current + limit, current + limit - matches[count - 1].distance, fullLimit - limit);
        return count;
      }
      // The node goes to the smaller or the larger side, and the walk on to its other child;
      // written as selections, since which side it is cannot be predicted.
      const bool nodeSmaller = source[length] < current[length];
      *(nodeSmaller ? smaller : larger) = static_cast<std::uint16_t>(node);
      std::uint16_t* next = children + (nodeSmaller ? 1 : 0);
      smaller = nodeSmaller ? next : smaller;
      larger = nodeSmaller ? larger : next;
      smallerLength = nodeSmaller ? length : smallerLength;
      largerLength = nodeSmaller ? largerLength : length;
      distance = static_cast<std::uint16_t>(p16 - *next);
    }
    *smaller = far;
    *larger = far;
    return count;
  }

  // Inserts the last kTailInserts positions before `end` that a long match passed over, so
  // that they can serve as near sources.
  void InsertTail(std::uint64_t end) {
    Match ignored[kMaxMatches];
    for (std::uint64_t p = std::max(m_inserted, end - std::min<std::uint64_t>(end, kTailInserts));
         p < end; ++p)
      InsertAndFind(p, static_cast<unsigned>(std::min<std::uint64_t>(kMaxCopy, m_end - p)),
                    ignored);
  }

  void Relax(unsigned to, unsigned cost, unsigned length, unsigned distance) {
    if (cost < m_work.cost[to]) {
      m_work.cost[to] = static_cast<std::uint16_t>(cost);
      m_work.length[to] = static_cast<std::uint16_t>(length);
      m_work.distance[to] = static_cast<std::uint16_t>(distance);
    }
  }

  unsigned CopyBits(unsigned length, unsigned distance) const {
    return kLengthTokens[length].bits +
           DistanceBits(distance, length == kMinCopy ? kShortCopyLowBits : m_sizeCode);
  }

  void ParseBlock();
  void EmitLiteral(std::uint8_t byte) { m_out.Put(m_literals[byte].value, m_literals[byte].bits); }
  void EmitCopy(unsigned length, unsigned distance);

  ImplodeWork& m_work;
  ReadFunc m_read;
  void* m_param;
  BitOutput m_out;
  const std::array<CodeWord, kLiteralSymbols>& m_literals;
  unsigned m_mode;
  unsigned m_sizeCode;
  unsigned m_dictionarySize;
  std::uint64_t m_base = 0;  // input position of window[0]
  std::uint64_t m_pos = 0;   // next input position to encode
  std::uint64_t m_end = 0;   // input position after the last byte read
  std::uint64_t m_nextRefresh = kRefreshInterval;
  std::uint64_t m_inserted = 0;  // one past the last position entered into the trees
  bool m_ended = false;
  unsigned m_rate = 4 * kRateScale;  // bits per input byte of the previous block, scaled
};

void Encoder::EmitCopy(unsigned length, unsigned distance) {
  const unsigned lowBits = length == kMinCopy ? kShortCopyLowBits : m_sizeCode;
  const unsigned d = distance - 1;
  const CodeWord code = kDistanceCodes[d >> lowBits];
  m_out.Put(kLengthTokens[length].value, kLengthTokens[length].bits);
  m_out.Put(code.value | ((d & ((1u << lowBits) - 1)) << code.bits), code.bits + lowBits);
}

void Encoder::ParseBlock() {
  const std::uint64_t start = m_pos;
  const std::uint64_t available = m_end - start;
  const unsigned n = static_cast<unsigned>(std::min<std::uint64_t>(kBlock, available));
  std::uint16_t* cost = m_work.cost;
  cost[0] = 0;
  std::fill(cost + 1, cost + n + 1, kUnreached);

  // Best copy running past the block end: its start, length, distance and judged cost.
  std::int64_t crossScore = INT64_MAX;
  unsigned crossFrom = 0, crossLength = 0, crossDistance = 0;

  InsertTail(start);
  Match matches[kMaxMatches];
  for (unsigned i = 0; i < n;) {
    const std::uint64_t position = start + i;
    const unsigned limit = static_cast<unsigned>(std::min<std::uint64_t>(kMaxCopy, available - i));
    const unsigned count = InsertAndFind(position, limit, matches);

    const unsigned here = cost[i];
    Relax(i + 1, here + m_literals[*At(position)].bits, 1, 0);
    unsigned from = kMinCopy;
    for (unsigned m = 0; m < count; ++m) {
      const unsigned distance = matches[m].distance;
      if (from == kMinCopy) {  // only the nearest source may serve a length-2 copy
        if (distance <= kMaxShortDistance && i + kMinCopy <= n)
          Relax(i + kMinCopy, here + CopyBits(kMinCopy, distance), kMinCopy, distance);
        ++from;
      }
      const unsigned distanceBits = DistanceBits(distance, m_sizeCode);
      const unsigned to = std::min(matches[m].length, n - i);
      for (unsigned l = from; l <= to; ++l)
        Relax(i + l, here + kLengthTokens[l].bits + distanceBits, l, distance);
      from = std::max(from, matches[m].length + 1);
    }
    if (count == 0) {
      ++i;
      continue;
    }
    const Match longest = matches[count - 1];
    if (longest.length > n - i && longest.length > kMinCopy) {
      const std::int64_t beyond = i + longest.length - n;
      const std::int64_t score =
          std::int64_t{here + CopyBits(longest.length, longest.distance)} * kRateScale -
          beyond * m_rate;
      if (score < crossScore) {
        crossScore = score;
        crossFrom = i;
        crossLength = longest.length;
        crossDistance = longest.distance;
      }
    }
    if (longest.length < kNiceLength) {
      ++i;
      continue;
    }
    // A long match is taken as it stands; of the positions it covers only the last few enter
    // the trees, enough to keep short distances reachable.
    i += longest.length;
    InsertTail(start + std::min(i, n));
  }

  const bool crossing =
      crossScore < (cost[n] == kUnreached ? INT64_MAX : std::int64_t{cost[n]} * kRateScale);
  const unsigned pathEnd = crossing ? crossFrom : n;
  unsigned bits = cost[pathEnd];

  // Walk the cheapest path back, noting each token's end in `cost` (no longer needed), then
  // emit the tokens front to back.
  unsigned tokens = 0;
  for (unsigned at = pathEnd; at > 0; at -= m_work.length[at])
    cost[tokens++] = static_cast<std::uint16_t>(at);
  while (tokens > 0) {
    const unsigned at = cost[--tokens];
    const unsigned length = m_work.length[at];
    if (length == 1)
      EmitLiteral(*At(start + at - 1));
    else
      EmitCopy(length, m_work.distance[at]);
  }
  unsigned covered = pathEnd;
  if (crossing) {
    EmitCopy(crossLength, crossDistance);
    bits += CopyBits(crossLength, crossDistance);
    covered += crossLength;
  }
  m_rate = bits * kRateScale / covered;
  m_pos = start + covered;
}

}  // namespace

int implode(ReadFunc read, WriteFunc write, char* workArea, void* param, unsigned int* mode,
            unsigned int* dictionarySize) {
  unsigned sizeCode = 0;
  switch (*dictionarySize) {
    case 1024:
      sizeCode = 4;
      break;
    case 2048:
      sizeCode = 5;
      break;
    case 4096:
      sizeCode = 6;
      break;
    default:
      return kInvalidDictionarySize;
  }
  if (*mode != kBinaryMode && *mode != kAsciiMode) return kInvalidMode;

  void* aligned = workArea;
  std::size_t space = kImplodeWorkSize;
  std::align(alignof(ImplodeWork), sizeof(ImplodeWork), aligned, space);
  auto* work = new (aligned) ImplodeWork;
  Encoder(*work, read, write, param, *mode, sizeCode).Run();
  return kOk;
}

}  // namespace morvit::dcl
