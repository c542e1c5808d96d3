// In-memory callbacks for the DCL implode/explode engines (ours and the peer's, which share the
// callback interface): run a codec over a byte vector, with optional short reads, and record
// the sizes asked for and handed on.
#ifndef MORVIT_TESTS_SUPPORT_DCLSTREAMS_H
#define MORVIT_TESTS_SUPPORT_DCLSTREAMS_H

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

namespace testutil {

using Bytes = std::vector<std::uint8_t>;

// The work area of our engines (the larger, implode's, serves both as the callers do).
constexpr std::size_t kDclWorkAreaSize = 36312;

struct MemoryStreams {
  std::span<const std::uint8_t> input;
  unsigned readLimit = 0;  // most bytes one read delivers (0: as many as asked)
  std::size_t readPos = 0;
  Bytes output{};
  unsigned reads = 0;
  unsigned largestRequest = 0;
  std::vector<unsigned> writeSizes{};

  static unsigned Read(char* buffer, unsigned* size, void* param) {
    auto& self = *static_cast<MemoryStreams*>(param);
    ++self.reads;
    self.largestRequest = std::max(self.largestRequest, *size);
    std::size_t count = std::min<std::size_t>(*size, self.input.size() - self.readPos);
    if (self.readLimit != 0) count = std::min<std::size_t>(count, self.readLimit);
    if (count > 0) std::memcpy(buffer, self.input.data() + self.readPos, count);
    self.readPos += count;
    return static_cast<unsigned>(count);
  }
  static void Write(char* buffer, unsigned* size, void* param) {
    auto& self = *static_cast<MemoryStreams*>(param);
    self.writeSizes.push_back(*size);
    self.output.insert(self.output.end(), buffer, buffer + *size);
  }
};

struct CodecRun {
  int code;
  Bytes bytes;
  MemoryStreams io;
};

// Runs an implode-style function (ours or the peer's) over `data`, in a fresh work area or in
// the caller's `workArea` (of at least `workAreaSize` bytes, kept from run to run as a client's
// is: the engines must not rely on what an earlier run left in it).
template <typename Implode>
CodecRun RunImplode(Implode implode, std::span<const std::uint8_t> data, unsigned mode,
                    unsigned dictionarySize, unsigned readLimit = 0,
                    std::size_t workAreaSize = kDclWorkAreaSize, char* workArea = nullptr) {
  CodecRun run{0, {}, {data, readLimit}};
  std::vector<char> work(workArea == nullptr ? workAreaSize : 0);
  run.code = static_cast<int>(implode(&MemoryStreams::Read, &MemoryStreams::Write,
                                      workArea == nullptr ? work.data() : workArea, &run.io, &mode,
                                      &dictionarySize));
  run.bytes = std::move(run.io.output);
  return run;
}

// Runs an explode-style function (ours or the peer's) over `stream`, in a fresh work area or the
// caller's.
template <typename Explode>
CodecRun RunExplode(Explode explode, std::span<const std::uint8_t> stream, unsigned readLimit = 0,
                    std::size_t workAreaSize = kDclWorkAreaSize, std::size_t expectedSize = 0,
                    char* workArea = nullptr) {
  CodecRun run{0, {}, {stream, readLimit}};
  run.io.output.reserve(expectedSize);
  std::vector<char> work(workArea == nullptr ? workAreaSize : 0);
  run.code = static_cast<int>(explode(&MemoryStreams::Read, &MemoryStreams::Write,
                                      workArea == nullptr ? work.data() : workArea, &run.io));
  run.bytes = std::move(run.io.output);
  return run;
}

}  // namespace testutil

#endif  // MORVIT_TESTS_SUPPORT_DCLSTREAMS_H
