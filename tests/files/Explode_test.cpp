// The stream decoder on hand-built streams: the format's worked examples, header errors, cut
// and damaged streams, trailing bytes, and the sizes of its reads and writes.
#include "files/Explode.h"

#include <gtest/gtest.h>

#include <string>

#include "files/Implode.h"
#include "fixtures/DclStreams.h"
#include "fixtures/SampleData.h"

namespace morvit {

namespace {

using testutil::Bytes;
using testutil::RunExplode;

// Packs a string of stream bits, in the order they are sent ('0'/'1'; anything else only
// separates fields), behind the given header bytes, padding the last byte with zero bits.
Bytes Stream(std::initializer_list<std::uint8_t> header, const std::string& bits) {
  Bytes stream(header);
  unsigned count = 0;
  for (char c : bits) {
    if (c != '0' && c != '1') continue;
    if (count % 8 == 0) stream.push_back(0);
    if (c == '1') stream.back() |= static_cast<std::uint8_t>(1u << (count % 8));
    ++count;
  }
  return stream;
}

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

constexpr const char* kEnd = "1 0000000 11111111";

struct DecodeCase {
  const char* name;
  Bytes stream;
  Bytes expected;
};

void PrintTo(const DecodeCase& c, std::ostream* os) { *os << c.name; }

class ExplodeExamples : public testing::TestWithParam<DecodeCase> {};

// Every example decodes byte-exactly, whether the input comes whole or one byte per read.
TEST_P(ExplodeExamples, DecodesExactly) {
  const DecodeCase& c = GetParam();
  for (unsigned readLimit : {0u, 1u}) {
    const auto run = RunExplode(morvit::dcl::explode, c.stream, readLimit);
    EXPECT_EQ(run.code, morvit::dcl::kOk) << "read limit " << readLimit;
    EXPECT_EQ(run.bytes, c.expected) << "read limit " << readLimit;
  }
}

INSTANTIATE_TEST_SUITE_P(
    WorkedExamples, ExplodeExamples,
    testing::Values(
        DecodeCase{"BinaryOverlappingCopy",
                   {0x00, 0x04, 0x82, 0x24, 0x25, 0x8F, 0x80, 0x7F},
                   Text("AIAIAIAIAIAIA")},
        DecodeCase{"AsciiTokens",
                   {0x01, 0x04, 0x0E, 0x73, 0x8F, 0x11, 0x71, 0x7A, 0x43, 0xC0, 0x3F},
                   Text("ababcababcababcababcababcbca")},
        DecodeCase{"BinaryTokens",
                   {0x00, 0x04, 0xC2, 0x88, 0xED, 0x19, 0x8B, 0x38, 0xBD, 0x21, 0xE0, 0x1F},
                   Text("ababcababcababcababcababcbca")},
        DecodeCase{"EmptyBinary", {0x00, 0x06, 0x01, 0xFF}, {}},
        DecodeCase{"EmptyAscii", {0x01, 0x04, 0x01, 0xFF}, {}},
        DecodeCase{"OneByte", {0x00, 0x06, 0xB4, 0x02, 0xFE, 0x01}, Text("Z")},
        // Longest copy, distance 1: the last byte repeated 518 times.
        DecodeCase{
            "LongestRun",
            Stream({0x00, 0x06}, std::string("0 00000000 1 0000000 01111111 11 000000 ") + kEnd),
            Bytes(519, 0x00)},
        DecodeCase{
            "AsciiLowAndHighLiterals",
            Stream({0x01, 0x05}, std::string("0 00001001001 0 0000000000000 0 1111 ") + kEnd),
            Bytes{0x00, 0xFF, 0x20}},
        // 'A', then 'B' up to 1024 bytes, then a copy from the full 1024-byte reach.
        DecodeCase{"CopyFromDictionarySize",
                   Stream({0x00, 0x04}, std::string("0 10000010 0 01000010 "
                                                    "1 0000000 01111111 11 0000 "
                                                    "1 0000000 00001111 11 0000 "
                                                    "1 11 00000000 1111 ") +
                                            kEnd),
                   [] {
                     Bytes b(1024, 'B');
                     b[0] = 'A';
                     b.insert(b.end(), {'A', 'B', 'B'});
                     return b;
                   }()},
        // 01 02, 02 up to 256 bytes, then a length-2 copy from its farthest reach, 256 back.
        DecodeCase{"ShortCopyFarthest",
                   Stream({0x00, 0x04}, std::string("0 10000000 0 01000000 "
                                                    "1 0000001 0110111 11 0000 "
                                                    "1 101 00000000 11 ") +
                                            kEnd),
                   [] {
                     Bytes b(256, 0x02);
                     b[0] = 0x01;
                     b.insert(b.end(), {0x01, 0x02});
                     return b;
                   }()}),
    [](const testing::TestParamInfo<DecodeCase>& info) { return info.param.name; });

// A plain field: `value` in `bits` bits, least significant first, as a bit string.
std::string Field(unsigned value, unsigned bits) {
  std::string s;
  for (unsigned i = 0; i < bits; ++i) s += (value >> i) & 1 ? '1' : '0';
  return s + ' ';
}

// A copy token from the format's code tables (checked on their own in DclFormat_test).
std::string CopyToken(unsigned length, unsigned distance, unsigned sizeCode) {
  using namespace morvit::dcl;
  const unsigned symbol = LengthSymbolOf(length);
  const unsigned lowBits = length == 2 ? 2 : sizeCode;
  const CodeWord high = kDistanceCodes[(distance - 1) >> lowBits];
  return "1 " + Field(kLengthCodes[symbol].value, kLengthCodes[symbol].bits) +
         Field(length - kLengthBase[symbol], kLengthExtraBits[symbol]) +
         Field(high.value, high.bits) + Field((distance - 1) & ((1u << lowBits) - 1), lowBits);
}

// Copies overlapping their own output, for every short distance and many lengths: the output
// must repeat the last `distance` bytes exactly as a byte-by-byte copy does.
TEST(Explode, OverlappingCopiesRepeatThePattern) {
  for (unsigned distance = 1; distance <= 40; ++distance)
    for (unsigned length :
         {2u, 3u, 5u, 8u, 9u, 15u, 16u, 17u, 23u, 31u, 32u, 33u, 47u, 100u, 518u}) {
      Bytes expected;
      std::string bits;
      for (unsigned i = 0; i < distance; ++i) {
        expected.push_back(static_cast<std::uint8_t>(0x30 + i));
        bits += "0 " + Field(0x30 + i, 8);
      }
      for (unsigned i = 0; i < length; ++i)
        expected.push_back(expected[expected.size() - distance]);
      bits += CopyToken(length, distance, 6) + kEnd;
      const auto run = RunExplode(morvit::dcl::explode, Stream({0x00, 0x06}, bits));
      ASSERT_EQ(run.code, morvit::dcl::kOk) << distance << " " << length;
      ASSERT_EQ(run.bytes, expected) << "distance " << distance << ", length " << length;
    }
}

TEST(Explode, HeaderErrors) {
  struct Row {
    Bytes stream;
    int code;
  };
  const Row rows[] = {
      {{}, morvit::dcl::kStreamTooShort},
      {{0x00, 0x06, 0x01}, morvit::dcl::kStreamTooShort},
      {{0x00, 0x03, 0x01, 0xFF}, morvit::dcl::kInvalidDictionarySize},
      {{0x00, 0x07, 0x01, 0xFF}, morvit::dcl::kInvalidDictionarySize},
      {{0x02, 0x06, 0x01, 0xFF}, morvit::dcl::kInvalidMode},
      {{0xFF, 0x06, 0x01, 0xFF}, morvit::dcl::kInvalidMode},
      {{0x02, 0x09, 0x01, 0xFF}, morvit::dcl::kInvalidDictionarySize},  // size checked first
  };
  for (const Row& row : rows) {
    const auto run = RunExplode(morvit::dcl::explode, row.stream, 1);
    EXPECT_EQ(run.code, row.code) << testing::PrintToString(row.stream);
    EXPECT_TRUE(run.bytes.empty());
  }
}

// A stream cut anywhere before the end of its end code is reported broken, and what was
// written is the data decoded so far: always a prefix of the full expansion.
TEST(Explode, CutStreamsAreBroken) {
  const Bytes data = testutil::SampleText(3000);
  unsigned mode = morvit::dcl::kBinaryMode, size = 1024;
  const auto packed = testutil::RunImplode(morvit::dcl::implode, data, mode, size);
  for (std::size_t cut = morvit::dcl::kMinStreamSize; cut < packed.bytes.size(); ++cut) {
    const Bytes stream(packed.bytes.begin(), packed.bytes.begin() + cut);
    const auto run = RunExplode(morvit::dcl::explode, stream);
    ASSERT_EQ(run.code, morvit::dcl::kStreamBroken) << "cut at " << cut;
    ASSERT_LE(run.bytes.size(), data.size());
    ASSERT_TRUE(std::equal(run.bytes.begin(), run.bytes.end(), data.begin())) << "cut at " << cut;
  }
}

TEST(Explode, CopyBeforeTheStartIsBroken) {
  struct Row {
    const char* name;
    std::string bits;
  };
  const Row rows[] = {
      {"copy as first token", "1 11 11 0000"},                      // length 3, distance 1
      {"distance 2 after one byte", "0 10000010 1 101 11 10"},      // length 2, distance 2
      {"distance 17 after one byte", "0 10000010 1 11 1011 0000"},  // length 3, distance 17
  };
  for (const Row& row : rows) {
    const auto run = RunExplode(morvit::dcl::explode, Stream({0x00, 0x04}, row.bits + " " + kEnd));
    EXPECT_EQ(run.code, morvit::dcl::kStreamBroken) << row.name;
  }
}

TEST(Explode, IgnoresBytesAfterTheEndCode) {
  Bytes stream = {0x00, 0x04, 0x82, 0x24, 0x25, 0x8F, 0x80, 0x7F};
  stream.insert(stream.end(), {0xDE, 0xAD, 0xBE, 0xEF});
  const auto run = RunExplode(morvit::dcl::explode, stream);
  EXPECT_EQ(run.code, morvit::dcl::kOk);
  EXPECT_EQ(run.bytes, Text("AIAIAIAIAIAIA"));
}

// Reads ask 2048 bytes; writes hand on 4096 bytes, the last piece the rest.
TEST(Explode, ChunkSizes) {
  const Bytes data = testutil::SampleRecords(20000);
  const auto packed = testutil::RunImplode(morvit::dcl::implode, data, 0, 4096);
  const auto run = RunExplode(morvit::dcl::explode, packed.bytes);
  ASSERT_EQ(run.bytes, data);
  EXPECT_EQ(run.io.largestRequest, 2048u);
  ASSERT_EQ(run.io.writeSizes.size(), 5u);
  for (std::size_t i = 0; i + 1 < run.io.writeSizes.size(); ++i)
    EXPECT_EQ(run.io.writeSizes[i], 4096u);
  EXPECT_EQ(run.io.writeSizes.back(), 20000u - 4 * 4096u);
}

}  // namespace

}  // namespace morvit
