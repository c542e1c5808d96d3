// DCL implode stream encoder with a bit-exact optimal parse over blocks. Two entries share the
// parser and differ in their match finder and the memory it may use: `implode` works inside the
// interface's 36312-byte work area, `implodeFast` (the domain writer's) in a larger one.
//
// Design:
// - The code tables are fixed, so every token's exact size in bits is known in advance. The
//   parser therefore works out, for a block of input positions, the token sequence with the
//   fewest bits (shortest path over positions: a literal moves one position on, a copy of
//   length l moves l on), instead of choosing greedily. Each position keeps one 64-bit step:
//   the bits of the cheapest path to it above the length and distance of that path's last
//   token, so that keeping the cheaper of two paths is one unsigned minimum, without branches
//   (ties go to the shorter token, a literal first).
// - Match finding: binary trees, one per hash of the first bytes, hold the positions of the last
//   4096 bytes, each tree a heap by recency and a search tree by the bytes that follow each
//   position. Entering a position walks from the root down to its place, and the nodes passed
//   on the way are exactly those sharing the longest prefixes with it; they are met nearest
//   first, so each longer match met is the nearest (cheapest: distance codes never shrink with
//   the distance) source of its length. The two child links of each position live in a ring of
//   4096 slots, which is all the history a distance can reach. Roots older than the dictionary
//   are aged to a fixed far-away value at intervals, so no stale entry can pass for a near one,
//   and every candidate is verified byte by byte, so a hash collision costs time, never
//   validity.
//   - `implode`: trees per 2-byte hash with 16-bit positions; the first match met is the
//     nearest source of a length-2 copy.
//   - `implodeFast`: trees per 4-byte hash with 32-bit positions, and two tables for the short
//     copies those trees do not hold: the last position of each of the 65536 byte pairs (exact,
//     the nearest length-2 source) and the last position of each 3-byte hash, with a short
//     chain behind it to pass collisions (the nearest source of three bytes, whose match
//     length then sets what the tree must beat). Four-byte trees hold far fewer nodes to pass
//     in text and code, which is where the time goes: a walk is a chain of dependent loads.
//     Random data finds the tables stale and the tree empty at once. The next position's
//     table entries are fetched ahead.
// - Limits: a walk visits at most a fixed number of nodes and orders positions by at most
//   kNiceLength bytes. A match of kNiceLength or more is followed on to its end and taken as it
//   stands; of the positions it covers only the last kTailInserts enter the trees. This bounds
//   the work per byte on long repeats.
// - Block ends: a copy may run past the end of the block. The block then ends either exactly at
//   its last position or with the best such crossing copy, judged by its bits less the bytes it
//   covers beyond the block valued at the previous block's bits per byte.
// - Memory: the window keeps 4096 bytes of history (and the tail positions before the block),
//   the block, the longest copy beyond it and room for one 4096-byte read (the fast entry's
//   room for several, to slide it less often). In the small work area the trees get the memory
//   first, since block size barely changes the result.
// - Settings of the fast entry (tree depth 12, matches of 32 taken as they stand) were chosen
//   against the peer implementation in bench/implode_bench.cpp: deeper walks and longer nice
//   lengths gain at most about 0.2 % in size and cost up to a fifth of the speed on text.
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
constexpr unsigned kTailInserts = 16;
// History kept before a block: the dictionary, for the block's own positions, and the tail
// positions before it that may still enter the trees.
constexpr unsigned kHistory = kMaxDictionary + kTailInserts;
constexpr unsigned kMaxMatches = 32;   // most matches one position reports
constexpr unsigned kRateScale = 1024;  // fixed-point scale of bits per byte
constexpr unsigned kPairs = 1u << 16;  // distinct byte pairs
constexpr unsigned kTripleSteps = 4;   // most triple chain links followed per position

// Parse step of a position: bits of the cheapest path to it (high 32 bits), length (1 for a
// literal) and distance of its last token (16 bits each).
using Step = std::uint64_t;
constexpr Step kUnreached = ~Step{0};
constexpr Step StepOf(unsigned bits, unsigned length, unsigned distance) {
  return Step{bits} << 32 | Step{length} << 16 | distance;
}
constexpr unsigned StepBits(Step step) { return static_cast<unsigned>(step >> 32); }
constexpr unsigned StepLength(Step step) { return static_cast<unsigned>(step >> 16) & 0xFFFF; }
constexpr unsigned StepDistance(Step step) { return static_cast<unsigned>(step) & 0xFFFF; }

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

// The step part of a copy that depends on its length alone: the length token's bits and the
// length.
constexpr auto kLengthSteps = [] {
  std::array<Step, kMaxCopy + 1> steps{};
  for (unsigned l = kMinCopy; l <= kMaxCopy; ++l) steps[l] = StepOf(kLengthTokens[l].bits, l, 0);
  return steps;
}();

// Bits of the distance field of a copy (its code plus its plain low bits).
inline unsigned DistanceBits(unsigned distance, unsigned lowBits) {
  return kDistanceCodes[(distance - 1) >> lowBits].bits + lowBits;
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

// What the finder reports for one position.
struct Candidates {
  unsigned pairDistance;  // nearest source of a length-2 copy, 0 if none
  unsigned count;         // matches below, of increasing length (2 or more), each the nearest
  Match matches[kMaxMatches];
};

// The two match finders' settings.
struct SmallFinder {
  using Position = std::uint16_t;  // input positions modulo 65536
  static constexpr unsigned kHashBytes = 2;
  static constexpr unsigned kHashBits = 11;
  static constexpr bool kPairTable = false;
  static constexpr unsigned kTripleBits = 0;  // no table of byte triples
  static constexpr unsigned kTreeDepth = 24;  // most tree nodes visited per position
  static constexpr unsigned kNiceLength = 48;
  static constexpr unsigned kBlock = 552;  // positions parsed together
  static constexpr unsigned kSpareWindow = 0;
};
struct FastFinder {
  using Position = std::uint32_t;
  static constexpr unsigned kHashBytes = 4;  // the trees' hash; shorter copies via the tables
  static constexpr unsigned kHashBits = 15;
  static constexpr bool kPairTable = true;
  static constexpr unsigned kTripleBits = 16;
  static constexpr unsigned kTreeDepth = 12;
  static constexpr unsigned kNiceLength = 32;
  static constexpr unsigned kBlock = 2048;
  static constexpr unsigned kSpareWindow = 8 * kInputChunk;  // fewer slides of the window
};

template <typename Finder>
struct Work {
  using Position = typename Finder::Position;
  static constexpr unsigned kWindowSize =
      kHistory + Finder::kBlock + kMaxCopy + kInputChunk + Finder::kSpareWindow;

  Position head[1u << Finder::kHashBits];  // newest position of each hash: a tree's root
  Position tree[2 * kMaxDictionary];       // per position (ring): smaller and larger subtree
  Position pairs[Finder::kPairTable ? kPairs : 1];  // newest position of each byte pair
  Position triples[1u << Finder::kTripleBits];      // newest position of each triple's hash
  Position tripleChain[Finder::kTripleBits > 0 ? kMaxDictionary : 1];  // (ring) next older
  Step steps[Finder::kBlock + 1];  // parse step of each block position
  std::uint8_t window[kWindowSize];
  std::uint8_t output[kOutputChunk + 8];
};
static_assert(sizeof(Work<SmallFinder>) + alignof(Work<SmallFinder>) - 1 <= kImplodeWorkSize);
static_assert(sizeof(Work<FastFinder>) + alignof(Work<FastFinder>) - 1 <= kImplodeFastWorkSize);

template <typename Finder>
class Encoder {
  using Position = typename Finder::Position;
  static constexpr unsigned kBlock = Finder::kBlock;
  static constexpr unsigned kWindowSize = Work<Finder>::kWindowSize;
  static constexpr unsigned kNiceLength = Finder::kNiceLength;
  // Age given to stale table entries, and how often they are aged: an entry's age stays below
  // the position range between agings.
  static constexpr Position kFarAway = Position{1} << (8 * sizeof(Position) - 1);
  static constexpr std::uint64_t kRefreshInterval = kFarAway / 2;

 public:
  Encoder(Work<Finder>& work, ReadFunc read, WriteFunc write, void* param, unsigned mode,
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
    std::fill(std::begin(work.pairs), std::end(work.pairs), kFarAway);
    std::fill(std::begin(work.triples), std::end(work.triples), kFarAway);
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

  // Gives every table entry older than the dictionary the far-away age.
  template <std::size_t N>
  static void AgeOut(Position (&entries)[N], Position now) {
    for (Position& entry : entries)
      if (static_cast<Position>(now - entry) > kMaxDictionary)
        entry = static_cast<Position>(now - kFarAway);
  }

  static unsigned TripleHash(const std::uint8_t* p) {
    if constexpr (Finder::kTripleBits == 0) {
      return 0;
    } else {
      const std::uint32_t key =
          std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16;
      return (key * 2246822519u) >> (32 - Finder::kTripleBits);
    }
  }

  static unsigned Hash(const std::uint8_t* p) {
    std::uint32_t key = std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8;
    if constexpr (Finder::kHashBytes >= 3) key |= std::uint32_t{p[2]} << 16;
    if constexpr (Finder::kHashBytes >= 4) key |= std::uint32_t{p[3]} << 24;
    return (key * 2654435761u) >> (32 - Finder::kHashBits);
  }

  // Enters `position` into the finder's tables and reports the copies found on the way.
  void InsertAndFind(std::uint64_t position, unsigned fullLimit, Candidates& found);

  // Inserts the last kTailInserts positions before `end` that a long match passed over, so
  // that they can serve as near sources.
  void InsertTail(std::uint64_t end) {
    Candidates ignored;
    for (std::uint64_t p = std::max(m_inserted, end - std::min<std::uint64_t>(end, kTailInserts));
         p < end; ++p)
      InsertAndFind(p, static_cast<unsigned>(std::min<std::uint64_t>(kMaxCopy, m_end - p)),
                    ignored);
  }

  unsigned CopyBits(unsigned length, unsigned distance) const {
    return kLengthTokens[length].bits +
           DistanceBits(distance, length == kMinCopy ? kShortCopyLowBits : m_sizeCode);
  }

  void ParseBlock();
  void EmitLiteral(std::uint8_t byte) { m_out.Put(m_literals[byte].value, m_literals[byte].bits); }
  void EmitCopy(unsigned length, unsigned distance);

  Work<Finder>& m_work;
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
  struct Ahead {
    std::uint64_t position;  // whose hashes these are
    unsigned hash;
    unsigned tripleHash;
  };
  Ahead m_ahead[2] = {{~std::uint64_t{0}, 0, 0}, {~std::uint64_t{0}, 0, 0}};
  bool m_ended = false;
  unsigned m_rate = 4 * kRateScale;  // bits per input byte of the previous block, scaled
};

template <typename Finder>
void Encoder<Finder>::InsertAndFind(std::uint64_t position, unsigned fullLimit, Candidates& found) {
  m_inserted = position + 1;
  found.pairDistance = 0;
  found.count = 0;
  const auto now = static_cast<Position>(position);
  if (position >= m_nextRefresh) {
    AgeOut(m_work.head, now);
    if constexpr (Finder::kPairTable) AgeOut(m_work.pairs, now);
    if constexpr (Finder::kTripleBits > 0) AgeOut(m_work.triples, now);
    m_nextRefresh += kRefreshInterval;
  }
  const std::uint8_t* current = At(position);
  // This position's hashes, worked out two positions ahead when its table entries were
  // fetched (two, so that the fetch has time to arrive).
  Ahead& ahead = m_ahead[position & 1];
  const bool hashed = ahead.position == position;
  const unsigned heldHash = ahead.hash, heldTripleHash = ahead.tripleHash;
  if (fullLimit > Finder::kHashBytes + 1) {
    ahead = {position + 2, Hash(current + 2), TripleHash(current + 2)};
    __builtin_prefetch(&m_work.head[ahead.hash], 1);
    if constexpr (Finder::kPairTable)
      __builtin_prefetch(&m_work.pairs[current[2] | current[3] << 8], 1);
    if constexpr (Finder::kTripleBits > 0) __builtin_prefetch(&m_work.triples[ahead.tripleHash], 1);
  }
  const unsigned maxDistance =
      static_cast<unsigned>(std::min<std::uint64_t>(m_dictionarySize, position));
  if constexpr (Finder::kPairTable) {
    if (fullLimit < kMinCopy) return;
    Position& last = m_work.pairs[current[0] | current[1] << 8];
    const unsigned distance = static_cast<Position>(now - last);
    last = now;
    if (distance <= std::min(maxDistance, kMaxShortDistance)) found.pairDistance = distance;
  }
  // The trees order positions by their next kNiceLength bytes at most; a match that long is
  // then followed on as far as it goes.
  const unsigned limit = std::min(fullLimit, kNiceLength);
  unsigned best = 1, count = 0;
  Match* matches = found.matches;
  if constexpr (Finder::kTripleBits > 0) {
    if (fullLimit < 3) return;
    // The nearest source of three equal bytes, which trees over four bytes do not hold; the
    // trees then report only longer matches.
    Position& last = m_work.triples[hashed ? heldTripleHash : TripleHash(current)];
    Position candidate = last;
    m_work.tripleChain[position & (kMaxDictionary - 1)] = last;
    last = now;
    // Another triple with the same hash may be newer: a few steps down the chain pass it.
    unsigned length = 0, tripleDistance = 0;
    for (unsigned step = 0, previous = 0; step < kTripleSteps; ++step) {
      const unsigned distance = static_cast<Position>(now - candidate);
      if (distance <= previous || distance > maxDistance) break;
      length = MatchLength(current, current - distance, limit);
      if (length >= 3 || distance >= kMaxDictionary) {
        tripleDistance = distance;
        break;
      }
      previous = distance;
      candidate = m_work.tripleChain[(position - distance) & (kMaxDictionary - 1)];
    }
    if (length >= 3) {
      if (length == limit)
        length += MatchLength(current + limit, current + limit - tripleDistance, fullLimit - limit);
      matches[count++] = {length, tripleDistance};
      best = length;
    }
  }
  if (fullLimit < Finder::kHashBytes) {
    found.count = count;
    return;
  }
  Position& root = m_work.head[hashed ? heldHash : Hash(current)];
  unsigned distance = static_cast<Position>(now - root);
  root = now;
  const auto far = static_cast<Position>(now - kFarAway);
  Position* smaller = &m_work.tree[2 * (position & (kMaxDictionary - 1))];
  Position* larger = smaller + 1;
  unsigned smallerLength = 0, largerLength = 0;
  bool replaced = false;

  for (unsigned depth = Finder::kTreeDepth; depth > 0 && distance >= 1 && distance < kMaxDictionary;
       --depth) {
    const std::uint64_t node = position - distance;
    assert(node >= m_base);
    Position* children = &m_work.tree[2 * (node & (kMaxDictionary - 1))];
    const std::uint8_t* source = current - distance;
    unsigned length = std::min(smallerLength, largerLength);
    // Length of the match, and on which side of this position the node sorts, from the same
    // loads.
    bool nodeSmaller = false;
    for (;;) {
      if (length + 8 > limit) {
        while (length < limit && source[length] == current[length]) ++length;
        nodeSmaller = length < limit && source[length] < current[length];
        break;
      }
      const std::uint64_t ours = LoadLittleEndian64(current + length);
      const std::uint64_t theirs = LoadLittleEndian64(source + length);
      if (ours != theirs) {
        const unsigned shift = static_cast<unsigned>(std::countr_zero(ours ^ theirs)) & ~7u;
        length += shift / 8;
        nodeSmaller = ((theirs >> shift) & 0xFF) < ((ours >> shift) & 0xFF);
        break;
      }
      length += 8;
    }
    // Recorded without a branch: the slot is taken only by a longer match.
    const bool longer = length > best && distance <= maxDistance;
    matches[count] = {length, distance};
    count += longer ? 1 : 0;
    best = longer ? length : best;
    if (length == limit) {  // the node is replaced by this position
      *smaller = children[0];
      *larger = children[1];
      if (count > 0 && matches[count - 1].length == limit)
        matches[count - 1].length += MatchLength(
            current + limit, current + limit - matches[count - 1].distance, fullLimit - limit);
      replaced = true;
      break;
    }
    // The node goes to the smaller or the larger side, and the walk on to its other child;
    // written as selections, since which side it is cannot be predicted.
    *(nodeSmaller ? smaller : larger) = static_cast<Position>(node);
    Position* next = children + (nodeSmaller ? 1 : 0);
    smaller = nodeSmaller ? next : smaller;
    larger = nodeSmaller ? larger : next;
    smallerLength = nodeSmaller ? length : smallerLength;
    largerLength = nodeSmaller ? largerLength : length;
    distance = static_cast<Position>(now - *next);
  }
  if (!replaced) {
    *smaller = far;
    *larger = far;
  }
  found.count = count;
  if constexpr (!Finder::kPairTable) {
    // The first match met is the nearest source of at least two equal bytes.
    if (count > 0 && matches[0].distance <= kMaxShortDistance)
      found.pairDistance = matches[0].distance;
  }
}

template <typename Finder>
void Encoder<Finder>::EmitCopy(unsigned length, unsigned distance) {
  const unsigned lowBits = length == kMinCopy ? kShortCopyLowBits : m_sizeCode;
  const unsigned d = distance - 1;
  const CodeWord code = kDistanceCodes[d >> lowBits];
  m_out.Put(kLengthTokens[length].value, kLengthTokens[length].bits);
  m_out.Put(code.value | ((d & ((1u << lowBits) - 1)) << code.bits), code.bits + lowBits);
}

template <typename Finder>
void Encoder<Finder>::ParseBlock() {
  const std::uint64_t start = m_pos;
  const std::uint64_t available = m_end - start;
  const unsigned n = static_cast<unsigned>(std::min<std::uint64_t>(kBlock, available));
  Step* steps = m_work.steps;
  steps[0] = 0;
  std::fill(steps + 1, steps + n + 1, kUnreached);

  // Best copy running past the block end: its start, length, distance and judged cost.
  std::int64_t crossScore = INT64_MAX;
  unsigned crossFrom = 0, crossLength = 0, crossDistance = 0;

  InsertTail(start);
  Candidates found;
  for (unsigned i = 0; i < n;) {
    const std::uint64_t position = start + i;
    const unsigned limit = static_cast<unsigned>(std::min<std::uint64_t>(kMaxCopy, available - i));
    InsertAndFind(position, limit, found);

    const unsigned here = StepBits(steps[i]);
    const Step base = StepOf(here, 0, 0);
    steps[i + 1] = std::min(steps[i + 1], base + StepOf(m_literals[*At(position)].bits, 1, 0));
    if (found.pairDistance != 0 && i + kMinCopy <= n)
      steps[i + kMinCopy] = std::min(
          steps[i + kMinCopy],
          base + StepOf(CopyBits(kMinCopy, found.pairDistance), kMinCopy, found.pairDistance));
    if (found.count == 0) {
      ++i;
      continue;
    }
    unsigned from = kMinCopy + 1;
    for (unsigned m = 0; m < found.count; ++m) {
      const Match match = found.matches[m];
      const Step copy = base + StepOf(DistanceBits(match.distance, m_sizeCode), 0, match.distance);
      const unsigned to = std::min(match.length, n - i);
      for (unsigned l = from; l <= to; ++l)
        steps[i + l] = std::min(steps[i + l], copy + kLengthSteps[l]);
      from = std::max(from, match.length + 1);
    }
    const Match longest = found.matches[found.count - 1];
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
      crossScore <
      (steps[n] == kUnreached ? INT64_MAX : std::int64_t{StepBits(steps[n])} * kRateScale);
  const unsigned pathEnd = crossing ? crossFrom : n;
  unsigned bits = StepBits(steps[pathEnd]);

  // Walk the cheapest path back, turning each token's step into the step of the token that
  // follows it (kUnreached after the last), then emit the tokens front to back.
  Step following = kUnreached;
  for (unsigned at = pathEnd;;) {
    const Step step = steps[at];
    steps[at] = following;
    if (at == 0) break;
    following = step;
    at -= StepLength(step);
  }
  for (unsigned at = 0; steps[at] != kUnreached;) {
    const unsigned length = StepLength(steps[at]);
    if (length == 1)
      EmitLiteral(*At(start + at));
    else
      EmitCopy(length, StepDistance(steps[at]));
    at += length;
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

// Checks the arguments, then runs the encoder with `Finder` in `workArea`.
template <typename Finder>
int Implode(ReadFunc read, WriteFunc write, char* workArea, std::size_t workSize, void* param,
            const unsigned* mode, const unsigned* dictionarySize) {
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
  std::align(alignof(Work<Finder>), sizeof(Work<Finder>), aligned, workSize);
  auto* work = new (aligned) Work<Finder>;
  Encoder<Finder>(*work, read, write, param, *mode, sizeCode).Run();
  return kOk;
}

}  // namespace

int implode(ReadFunc read, WriteFunc write, char* workArea, void* param, unsigned int* mode,
            unsigned int* dictionarySize) {
  return Implode<SmallFinder>(read, write, workArea, kImplodeWorkSize, param, mode, dictionarySize);
}

int implodeFast(ReadFunc read, WriteFunc write, char* workArea, void* param, unsigned int* mode,
                unsigned int* dictionarySize) {
  return Implode<FastFinder>(read, write, workArea, kImplodeFastWorkSize, param, mode,
                             dictionarySize);
}

}  // namespace morvit::dcl
