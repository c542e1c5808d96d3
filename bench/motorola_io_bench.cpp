// Cost of writing a domain value by value through VMotorolaIO: cardinals into a real file in
// /tmp, as data (a 64 KiB domain per iteration) and as listing lines, plus reading them back
// and writing into memory (which separates VMotorolaIO's own cost from the file layer's).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <string>

#include "morvit/VMotorolaIO.h"

namespace {

constexpr std::size_t kDomainBytes = 64 * 1024;
constexpr std::size_t kCardinals = kDomainBytes / 2;

std::string ScratchPath(const char* name) {
  return "/tmp/morvit-bench-" + std::to_string(::getpid()) + "-" + name;
}

// One 64 KiB domain, cardinal by cardinal, as data (dump 0) or as listing lines (dump 1).
void WriteDomain(VMotorolaIO& io, CFile& file, int dump) {
  for (std::size_t i = 0; i < kCardinals; ++i) {
    io.WriteCardinal(file, static_cast<std::uint16_t>(i), dump, "Value");
  }
}

// `perIteration` values per iteration, as a rate.
benchmark::Counter PerSecond(const benchmark::State& state, std::size_t perIteration) {
  return benchmark::Counter(static_cast<double>(state.iterations() * perIteration),
                            benchmark::Counter::kIsRate);
}

// The file is created, filled and closed each iteration, so the time per iteration is the
// whole cost of writing the domain (or its listing) to disk.
void WriteCardinalsToFile(benchmark::State& state, int dump, const char* rateName) {
  const std::string path = ScratchPath(dump != 0 ? "listing" : "data");
  VMotorolaIO io;
  std::uint64_t bytesWritten = 0;
  for (auto _ : state) {
    VMotorolaIO::Reset();
    CFile file(path, CFile::modeCreate | CFile::modeWrite);
    WriteDomain(io, file, dump);
    bytesWritten += file.GetLength();
    file.Close();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(bytesWritten));
  state.counters[rateName] = PerSecond(state, kCardinals);
  CFile::Remove(path);
}
BENCHMARK_CAPTURE(WriteCardinalsToFile, data, 0, "values/s")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(WriteCardinalsToFile, listing, 1, "lines/s")->Unit(benchmark::kMicrosecond);

// The file stays open and is rewritten from its start each iteration: the cost of the values
// and the flush alone, without the file system's create, truncate and close (which on ext4
// waits for the truncated file's write-back and dominates the wall time above).
void RewriteCardinalsInOpenFile(benchmark::State& state) {
  const std::string path = ScratchPath("open");
  VMotorolaIO io;
  CFile file(path, CFile::modeCreate | CFile::modeReadWrite);
  for (auto _ : state) {
    file.SeekToBegin();
    WriteDomain(io, file, 0);
    file.Flush();
  }
  file.Close();
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kDomainBytes));
  state.counters["values/s"] = PerSecond(state, kCardinals);
  CFile::Remove(path);
}
BENCHMARK(RewriteCardinalsInOpenFile)->Unit(benchmark::kMicrosecond);

void ReadCardinalsFromFile(benchmark::State& state) {
  const std::string path = ScratchPath("read");
  VMotorolaIO io;
  {
    CFile file(path, CFile::modeCreate | CFile::modeWrite);
    WriteDomain(io, file, 0);
  }
  for (auto _ : state) {
    CFile file(path, CFile::modeRead);
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < kCardinals; ++i) sum += io.ReadCardinal(file);
    benchmark::DoNotOptimize(sum);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kDomainBytes));
  state.counters["values/s"] = PerSecond(state, kCardinals);
  CFile::Remove(path);
}
BENCHMARK(ReadCardinalsFromFile)->Unit(benchmark::kMicrosecond);

void WriteCardinalsToMemory(benchmark::State& state) {
  VMotorolaIO io;
  for (auto _ : state) {
    CMemFile file(kDomainBytes);
    WriteDomain(io, file, 0);
    benchmark::DoNotOptimize(file.Data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kDomainBytes));
  state.counters["values/s"] = PerSecond(state, kCardinals);
}
BENCHMARK(WriteCardinalsToMemory)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
