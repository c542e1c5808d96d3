// The stream encoder, both entries (the interface's `implode` in its 36312-byte work area and
// the domain writer's `implodeFast`): exact small streams, argument errors, round trips through
// our decoder over every mode and dictionary size and awkward sizes, size bounds and chunk sizes.
#include "files/Implode.h"

#include <gtest/gtest.h>

#include "files/Explode.h"
#include "fixtures/DclStreams.h"
#include "fixtures/SampleData.h"

namespace morvit {

namespace {

using testutil::Bytes;
using testutil::RunExplode;

// Each entry with the work area it is given.
struct Entry {
  const char* name;
  int (*implode)(morvit::dcl::ReadFunc, morvit::dcl::WriteFunc, char*, void*, unsigned*, unsigned*);
  std::size_t workSize;
};
const Entry kEntries[] = {
    {"implode", morvit::dcl::implode, morvit::dcl::kImplodeWorkSize},
    {"implodeFast", morvit::dcl::implodeFast, morvit::dcl::kImplodeFastWorkSize},
};

testutil::CodecRun RunImplode(const Entry& entry, std::span<const std::uint8_t> data, unsigned mode,
                              unsigned dictionarySize, unsigned readLimit = 0) {
  return testutil::RunImplode(entry.implode, data, mode, dictionarySize, readLimit, entry.workSize);
}

TEST(Implode, SmallStreamsAreExact) {
  struct Row {
    Bytes input;
    unsigned mode, dictionary;
    Bytes stream;
  };
  const Row rows[] = {
      {{}, 0, 4096, {0x00, 0x06, 0x01, 0xFF}},
      {{}, 1, 1024, {0x01, 0x04, 0x01, 0xFF}},
      {{'Z'}, 0, 4096, {0x00, 0x06, 0xB4, 0x02, 0xFE, 0x01}},
  };
  for (const Entry& entry : kEntries)
    for (const Row& row : rows) {
      const auto run = RunImplode(entry, row.input, row.mode, row.dictionary);
      EXPECT_EQ(run.code, morvit::dcl::kOk) << entry.name;
      EXPECT_EQ(run.bytes, row.stream) << entry.name;
    }
}

TEST(Implode, RejectsBadArgumentsBeforeAnyCallback) {
  struct Row {
    unsigned mode, dictionary;
    int code;
  };
  const Bytes data = {1, 2, 3};
  for (const Entry& entry : kEntries)
    for (Row row :
         {Row{0, 3000, morvit::dcl::kInvalidDictionarySize},
          Row{0, 8192, morvit::dcl::kInvalidDictionarySize},
          Row{0, 0, morvit::dcl::kInvalidDictionarySize}, Row{2, 4096, morvit::dcl::kInvalidMode},
          Row{7, 1000, morvit::dcl::kInvalidDictionarySize}}) {
      const auto run = RunImplode(entry, data, row.mode, row.dictionary);
      EXPECT_EQ(run.code, row.code) << entry.name << " " << row.mode << " " << row.dictionary;
      EXPECT_EQ(run.io.reads, 0u);
      EXPECT_TRUE(run.io.writeSizes.empty());
    }
}

// Sizes around the window, read-chunk and block boundaries of both engines.
const std::size_t kSizes[] = {0,    1,    2,    3,    17,   1007,  1008,  1009,  4095,
                              4096, 4097, 8191, 8192, 8193, 65535, 65536, 65537, 300001};

TEST(Implode, RoundTripsEveryModeAndDictionary) {
  for (const Entry& entry : kEntries)
    for (const testutil::SampleKind& sample : testutil::kSampleKinds)
      for (std::size_t size : kSizes) {
        SCOPED_TRACE(entry.name);
        const Bytes data = sample.make(size, static_cast<unsigned>(size));
        for (unsigned mode : {0u, 1u})
          for (unsigned dictionary : {1024u, 2048u, 4096u}) {
            const auto packed = RunImplode(entry, data, mode, dictionary);
            ASSERT_EQ(packed.code, morvit::dcl::kOk);
            ASSERT_GE(packed.bytes.size(), 4u);
            EXPECT_EQ(packed.bytes[0], mode);
            EXPECT_EQ(packed.bytes[1], dictionary == 1024 ? 4 : dictionary == 2048 ? 5 : 6);
            // Worst case: every byte a literal of the mode's longest code.
            const std::size_t literalBits = mode == 0 ? 9 : 14;
            EXPECT_LE(packed.bytes.size(), 2 + (literalBits * size + 16 + 7) / 8);
            const auto unpacked = RunExplode(morvit::dcl::explode, packed.bytes);
            ASSERT_EQ(unpacked.code, morvit::dcl::kOk)
                << sample.name << " " << size << " mode " << mode << " dict " << dictionary;
            ASSERT_EQ(unpacked.bytes, data)
                << sample.name << " " << size << " mode " << mode << " dict " << dictionary;
          }
      }
}

// Short reads must give the same stream as whole chunks: the encoder may not depend on how
// the input arrives.
TEST(Implode, OneByteReadsGiveTheSameStream) {
  for (const Entry& entry : kEntries)
    for (const testutil::SampleKind& sample : testutil::kSampleKinds) {
      const Bytes data = sample.make(20000, 7);
      const auto whole = RunImplode(entry, data, 0, 4096);
      const auto trickled = RunImplode(entry, data, 0, 4096, 1);
      EXPECT_EQ(whole.bytes, trickled.bytes) << entry.name << " " << sample.name;
      EXPECT_EQ(RunExplode(morvit::dcl::explode, trickled.bytes, 1).bytes, data)
          << entry.name << " " << sample.name;
    }
}

// Repetitive input must come out far smaller than its literals: catches a match finder that
// silently finds nothing while the round trips still pass.
TEST(Implode, CompressesRepeats) {
  const Bytes zeros(1 << 20, 0);
  const Bytes text = testutil::SampleText(100000);
  const Bytes pairs = {'a', 'b', 'x', 'a', 'b'};
  for (const Entry& entry : kEntries) {
    SCOPED_TRACE(entry.name);
    // 1 MiB of zeros: one literal, then 2025 copies of up to 518 bytes at distance 1 (24 bits
    // each), and the end code.
    EXPECT_LE(RunImplode(entry, zeros, 0, 4096).bytes.size(), 2 + (9 + 2025 * 24 + 16 + 7) / 8u);
    EXPECT_LT(RunImplode(entry, text, 1, 4096).bytes.size(), 45000u);
    // Three literals, a length-2 copy of 8 bits instead of two 9-bit literals, the end code.
    EXPECT_EQ(RunImplode(entry, pairs, 0, 1024).bytes,
              (Bytes{0x00, 0x04, 0xC2, 0x88, 0xC1, 0xDB, 0x0D, 0xF8, 0x07}));
  }
}

// Both entries parse short inputs in one block and find, for every copy length, the nearest
// source (the fast one through its pair and triple tables and its trees over four bytes), so
// without repeats long enough to be taken as they stand their streams are the same.
TEST(Implode, EntriesAgreeOnShortInputs) {
  for (const testutil::SampleKind& sample : testutil::kSampleKinds)
    for (unsigned seed = 1; seed <= 20; ++seed) {
      const Bytes data = sample.make(500, seed);
      for (unsigned dictionary : {1024u, 4096u})
        EXPECT_EQ(RunImplode(kEntries[0], data, 0, dictionary).bytes,
                  RunImplode(kEntries[1], data, 0, dictionary).bytes)
            << sample.name << " " << seed << " " << dictionary;
    }
}

// Reads ask 4096 bytes; writes hand on 2048 bytes, the last piece the rest.
TEST(Implode, ChunkSizes) {
  const Bytes data = testutil::SampleRandom(30000);
  for (const Entry& entry : kEntries) {
    const auto run = RunImplode(entry, data, 0, 4096);
    EXPECT_EQ(run.io.largestRequest, 4096u) << entry.name;
    ASSERT_GE(run.io.writeSizes.size(), 2u) << entry.name;
    for (std::size_t i = 0; i + 1 < run.io.writeSizes.size(); ++i)
      EXPECT_EQ(run.io.writeSizes[i], 2048u) << entry.name;
    EXPECT_GT(run.io.writeSizes.back(), 0u);
    EXPECT_LE(run.io.writeSizes.back(), 2048u);
  }
}

}  // namespace

}  // namespace morvit
