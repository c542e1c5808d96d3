// Deterministic sample inputs for compression tests, fuzz seeds and benchmarks: text, runs,
// random bytes, big-endian records like a domain's, and code-like binary.
#ifndef MORVIT_TESTS_SUPPORT_SAMPLEDATA_H
#define MORVIT_TESTS_SUPPORT_SAMPLEDATA_H

#include <cstdint>
#include <random>
#include <vector>

namespace testutil {

// English-like text: words of a small vocabulary, punctuation and CR LF line ends.
inline std::vector<std::uint8_t> SampleText(std::size_t size, unsigned seed = 1) {
  static const char* const kWords[] = {
      "the",    "domain", "of",      "a",     "controller", "value",  "is",     "written",
      "most",   "byte",   "first",   "and",   "section",    "record", "header", "length",
      "offset", "to",     "in",      "block", "compressed", "file",   "part",   "Node",
      "TASK",   "with",   "program", "each",  "for",        "order",  "table",  "(1024)"};
  std::mt19937 random(seed);
  std::vector<std::uint8_t> text;
  while (text.size() < size) {
    const char* word = kWords[random() % 4 == 0 ? random() % 32 : random() % 8];
    for (const char* c = word; *c; ++c) text.push_back(static_cast<std::uint8_t>(*c));
    const unsigned r = random() % 16;
    if (r == 0) {
      text.push_back('\r');
      text.push_back('\n');
    } else {
      if (r == 1) text.push_back(',');
      if (r == 2) text.push_back('.');
      text.push_back(' ');
    }
  }
  text.resize(size);
  return text;
}

// Long runs of one byte and short repeated patterns.
inline std::vector<std::uint8_t> SampleRuns(std::size_t size, unsigned seed = 2) {
  std::mt19937 random(seed);
  std::vector<std::uint8_t> data;
  while (data.size() < size) {
    const std::size_t run = 1 + random() % 2000;
    const unsigned period = 1 + random() % 9;
    const std::uint8_t base = static_cast<std::uint8_t>(random());
    for (std::size_t i = 0; i < run; ++i)
      data.push_back(static_cast<std::uint8_t>(base + i % period));
  }
  data.resize(size);
  return data;
}

inline std::vector<std::uint8_t> SampleRandom(std::size_t size, unsigned seed = 3) {
  std::mt19937 random(seed);
  std::vector<std::uint8_t> data(size);
  for (auto& byte : data) byte = static_cast<std::uint8_t>(random());
  return data;
}

// 16-byte big-endian records: a running number, a type word, a 32-bit value near the previous
// one, and a 6-byte tag from a small set, as a domain's tables hold them.
inline std::vector<std::uint8_t> SampleRecords(std::size_t size, unsigned seed = 4) {
  std::mt19937 random(seed);
  std::vector<std::uint8_t> data;
  std::uint32_t value = 1000;
  for (std::uint16_t number = 0; data.size() < size; ++number) {
    value += random() % 64;
    const std::uint16_t type = static_cast<std::uint16_t>(0x0100 + random() % 5);
    const std::uint8_t fields[] = {
        static_cast<std::uint8_t>(number >> 8), static_cast<std::uint8_t>(number),
        static_cast<std::uint8_t>(type >> 8),   static_cast<std::uint8_t>(type),
        static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
        static_cast<std::uint8_t>(value >> 8),  static_cast<std::uint8_t>(value)};
    data.insert(data.end(), std::begin(fields), std::end(fields));
    const char* tag = (random() % 3 == 0) ? "TADE01" : (random() % 2 ? "CODA17" : "PODE65");
    data.insert(data.end(), tag, tag + 6);
    data.push_back(0xFF);
    data.push_back(0xFE);
  }
  data.resize(size);
  return data;
}

// Code-like binary: instruction-sized groups drawn from a few hundred recurring ones, mixed
// with immediate values.
inline std::vector<std::uint8_t> SampleBinary(std::size_t size, unsigned seed = 5) {
  std::mt19937 random(seed);
  std::vector<std::uint8_t> data;
  while (data.size() < size) {
    const unsigned op = random() % 300;
    std::mt19937 opcode(op);
    const unsigned length = 1 + op % 6;
    for (unsigned i = 0; i < length; ++i) data.push_back(static_cast<std::uint8_t>(opcode()));
    if (random() % 3 == 0)
      for (unsigned i = 0; i < 4; ++i)
        data.push_back(static_cast<std::uint8_t>(i < 2 ? random() % 16 : 0));
  }
  data.resize(size);
  return data;
}

// Every kind of sample, for tests that run over all of them.
struct SampleKind {
  const char* name;
  std::vector<std::uint8_t> (*make)(std::size_t size, unsigned seed);
};
inline constexpr SampleKind kSampleKinds[] = {{"text", SampleText},
                                              {"runs", SampleRuns},
                                              {"random", SampleRandom},
                                              {"records", SampleRecords},
                                              {"binary", SampleBinary}};

}  // namespace testutil

#endif  // MORVIT_TESTS_SUPPORT_SAMPLEDATA_H
