// Compression engine against the independent peer, side by side in one run: compressed size,
// compression and expansion speed on an executable, text, repetitive data, random data and
// big-endian domain-like records, then the ratios ours/peer per file and in total. "ours" is
// the encoder as domains use it (implodeFast in its larger work area), binary mode, 4096
// dictionary.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "../tests/fixtures/DclStreams.h"
#include "../tests/fixtures/SampleData.h"
#include "../tests/peer/PeerDcl.h"
#include "files/Explode.h"
#include "files/Implode.h"

using namespace morvit;

namespace {

using testutil::Bytes;

Bytes ReadFile(const std::filesystem::path& path, std::size_t limit) {
  std::ifstream file(path, std::ios::binary);
  Bytes bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (bytes.size() > limit) bytes.resize(limit);
  return bytes;
}

// An executable of a good size: the C++ runtime library this program runs with (found in its
// memory map), else this program itself.
std::string ExecutablePath() {
  std::ifstream maps("/proc/self/maps");
  for (std::string line; std::getline(maps, line);) {
    const auto slash = line.find('/');
    if (slash != std::string::npos && line.find("libstdc++") != std::string::npos)
      return line.substr(slash);
  }
  return "/proc/self/exe";
}

// Text: the machine's licence texts if present, else generated text.
Bytes TextCorpus() {
  Bytes text;
  const std::filesystem::path licences = "/usr/share/common-licenses";
  if (std::filesystem::is_directory(licences)) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(licences))
      if (entry.is_regular_file()) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    for (const auto& path : files) {
      const Bytes part = ReadFile(path, 1 << 20);
      text.insert(text.end(), part.begin(), part.end());
    }
  }
  return text.size() > 100000 ? text : testutil::SampleText(1 << 20);
}

struct CorpusFile {
  std::string name;
  Bytes data;
};

const std::vector<CorpusFile>& Corpus() {
  static const std::vector<CorpusFile> corpus = {
      {"executable", ReadFile(ExecutablePath(), 2 << 20)},
      {"text", TextCorpus()},
      {"repetitive", testutil::SampleRuns(2 << 20)},
      {"random", testutil::SampleRandom(1 << 20)},
      {"records", testutil::SampleRecords(2 << 20)},
  };
  return corpus;
}

// Expansion into a buffer that stays allocated across iterations, so that the timing shows
// the decoders rather than fresh memory being mapped.
struct ExpandTarget {
  const Bytes* stream;
  std::size_t readPos;
  std::uint8_t* output;
  std::size_t size;

  static unsigned Read(char* buffer, unsigned* size, void* param) {
    auto& self = *static_cast<ExpandTarget*>(param);
    const std::size_t count = std::min<std::size_t>(*size, self.stream->size() - self.readPos);
    std::memcpy(buffer, self.stream->data() + self.readPos, count);
    self.readPos += count;
    return static_cast<unsigned>(count);
  }
  static void Write(char* buffer, unsigned* size, void* param) {
    auto& self = *static_cast<ExpandTarget*>(param);
    std::memcpy(self.output + self.size, buffer, *size);
    self.size += *size;
  }
};

template <typename Explode>
std::size_t ExpandInto(Explode explode, std::vector<char>& work, const Bytes& stream,
                       Bytes& output) {
  ExpandTarget target{&stream, 0, output.data(), 0};
  explode(&ExpandTarget::Read, &ExpandTarget::Write, work.data(), &target);
  return target.size;
}

struct Codec {
  std::string name;
  testutil::CodecRun (*compress)(const Bytes&);
  std::size_t (*expand)(std::vector<char>& work, const Bytes& stream, Bytes& output);
};

const Codec kCodecs[] = {
    {"ours",
     [](const Bytes& d) {
       return testutil::RunImplode(morvit::dcl::implodeFast, d, 0, 4096, 0,
                                   morvit::dcl::kImplodeFastWorkSize);
     },
     [](std::vector<char>& work, const Bytes& s, Bytes& out) {
       return ExpandInto(morvit::dcl::explode, work, s, out);
     }},
    {"peer",
     [](const Bytes& d) {
       return testutil::RunImplode(peer::kImplode, d, 0, 4096, 0, peer::kWorkAreaSize);
     },
     [](std::vector<char>& work, const Bytes& s, Bytes& out) {
       return ExpandInto(peer::kExplode, work, s, out);
     }},
};

void Compress(benchmark::State& state, const Codec* codec, const CorpusFile* file) {
  std::size_t packed = 0;
  for (auto _ : state) packed = codec->compress(file->data).bytes.size();
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file->data.size()));
  state.counters["packed"] = static_cast<double>(packed);
  state.counters["ratio"] = static_cast<double>(packed) / static_cast<double>(file->data.size());
}

// Each codec expands its own stream (checked once, outside the timing).
void Expand(benchmark::State& state, const Codec* codec, const CorpusFile* file) {
  const Bytes stream = codec->compress(file->data).bytes;
  std::vector<char> work(peer::kWorkAreaSize);
  Bytes output(file->data.size());
  if (codec->expand(work, stream, output) != output.size() || output != file->data)
    state.SkipWithError("expansion differs");
  for (auto _ : state) benchmark::DoNotOptimize(codec->expand(work, stream, output));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file->data.size()));
}

// Console output as usual, plus a summary of ours against the peer once all runs are done.
class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      auto counter = [&](const char* name) {
        const auto it = run.counters.find(name);
        return it == run.counters.end() ? 0.0 : static_cast<double>(it->second);
      };
      m_results[run.benchmark_name()] = {counter("bytes_per_second"), counter("packed")};
    }
    ConsoleReporter::ReportRuns(runs);
  }

  void PrintSummary() const {
    std::printf("\n%-12s %12s %12s %9s %9s %9s\n", "file", "ours bytes", "peer bytes", "size o/p",
                "comp o/p", "exp o/p");
    double oursTotal = 0, peerTotal = 0;
    for (const CorpusFile& file : Corpus()) {
      const Result oc = Find("compress/ours/" + file.name), pc = Find("compress/peer/" + file.name);
      const Result oe = Find("expand/ours/" + file.name), pe = Find("expand/peer/" + file.name);
      oursTotal += oc.packed;
      peerTotal += pc.packed;
      std::printf("%-12s %12.0f %12.0f %9.4f %9.2f %9.2f\n", file.name.c_str(), oc.packed,
                  pc.packed, oc.packed / pc.packed, oc.speed / pc.speed, oe.speed / pe.speed);
    }
    std::printf("%-12s %12.0f %12.0f %9.4f\n", "total", oursTotal, peerTotal,
                oursTotal / peerTotal);
  }

 private:
  struct Result {
    double speed = 1, packed = 1;
  };
  // The median of repeated runs (--benchmark_repetitions) if there is one, else the run.
  Result Find(const std::string& name) const {
    auto it = m_results.find(name + "_median");
    if (it == m_results.end()) it = m_results.find(name);
    return it == m_results.end() ? Result{} : it->second;
  }
  std::map<std::string, Result> m_results;
};

}  // namespace

int main(int argc, char** argv) {
  for (const Codec& codec : kCodecs)
    for (const CorpusFile& file : Corpus()) {
      benchmark::RegisterBenchmark(("compress/" + codec.name + "/" + file.name).c_str(), Compress,
                                   &codec, &file)
          ->Unit(benchmark::kMillisecond);
      benchmark::RegisterBenchmark(("expand/" + codec.name + "/" + file.name).c_str(), Expand,
                                   &codec, &file)
          ->Unit(benchmark::kMillisecond);
    }
  benchmark::Initialize(&argc, argv);
  SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintSummary();
  benchmark::Shutdown();
  return 0;
}
