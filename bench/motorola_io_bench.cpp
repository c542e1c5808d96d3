// Cost of writing a domain value by value through VMotorolaIO: cardinals into a real file in
// /tmp, as data (a 64 KiB domain per iteration) and as listing lines, plus reading them back.
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

// A 64 KiB domain written cardinal by cardinal; the file is created, filled and closed each
// iteration, so the time per iteration is the whole cost of writing it.
void WriteCardinalsData(benchmark::State& state) {
  const std::string path = ScratchPath("data");
  VMotorolaIO io;
  for (auto _ : state) {
    CFile file(path, CFile::modeCreate | CFile::modeWrite);
    for (std::size_t i = 0; i < kCardinals; ++i) {
      io.WriteCardinal(file, static_cast<std::uint16_t>(i), 0, "Value");
    }
    file.Close();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kDomainBytes));
  state.counters["values/s"] = benchmark::Counter(
      static_cast<double>(state.iterations() * kCardinals), benchmark::Counter::kIsRate);
  CFile::Remove(path);
}
BENCHMARK(WriteCardinalsData)->Unit(benchmark::kMicrosecond);

// The same domain as a listing: one line per cardinal.
void WriteCardinalsListing(benchmark::State& state) {
  const std::string path = ScratchPath("listing");
  VMotorolaIO io;
  std::uint64_t listingBytes = 0;
  for (auto _ : state) {
    VMotorolaIO::Reset();
    CFile file(path, CFile::modeCreate | CFile::modeWrite);
    for (std::size_t i = 0; i < kCardinals; ++i) {
      io.WriteCardinal(file, static_cast<std::uint16_t>(i), 1, "Value");
    }
    listingBytes += file.GetLength();
    file.Close();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(listingBytes));
  state.counters["lines/s"] = benchmark::Counter(
      static_cast<double>(state.iterations() * kCardinals), benchmark::Counter::kIsRate);
  CFile::Remove(path);
}
BENCHMARK(WriteCardinalsListing)->Unit(benchmark::kMicrosecond);

// Reading the 64 KiB domain back cardinal by cardinal.
void ReadCardinalsData(benchmark::State& state) {
  const std::string path = ScratchPath("read");
  VMotorolaIO io;
  {
    CFile file(path, CFile::modeCreate | CFile::modeWrite);
    for (std::size_t i = 0; i < kCardinals; ++i) {
      io.WriteCardinal(file, static_cast<std::uint16_t>(i), 0, nullptr);
    }
    file.Close();
  }
  for (auto _ : state) {
    CFile file(path, CFile::modeRead);
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < kCardinals; ++i) sum += io.ReadCardinal(file);
    benchmark::DoNotOptimize(sum);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kDomainBytes));
  state.counters["values/s"] = benchmark::Counter(
      static_cast<double>(state.iterations() * kCardinals), benchmark::Counter::kIsRate);
  CFile::Remove(path);
}
BENCHMARK(ReadCardinalsData)->Unit(benchmark::kMicrosecond);

// The same writes into memory, to separate VMotorolaIO's own cost from the file layer's.
void WriteCardinalsDataMemory(benchmark::State& state) {
  VMotorolaIO io;
  for (auto _ : state) {
    CMemFile file(kDomainBytes);
    for (std::size_t i = 0; i < kCardinals; ++i) {
      io.WriteCardinal(file, static_cast<std::uint16_t>(i), 0, "Value");
    }
    benchmark::DoNotOptimize(file.Data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kDomainBytes));
}
BENCHMARK(WriteCardinalsDataMemory)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
