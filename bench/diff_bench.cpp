// `morvit diff` of two resource bases of 65,536 entries that differ in one entry's value, run
// as the tool runs it (copies into a scratch directory, both listings read as events, the
// elements aligned, the differences printed), its time and its peak memory (counter peak_MB;
// the goal is 150 MB and 1 s). Both domains are generated once through the C interface as
// versions 1 and 2 of the same resource base, compressed into part files.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "BenchScratch.h"
#include "LargeReba.h"
#include "cli/Commands.h"

namespace {

void BM_DiffRebas(benchmark::State& state) {
  largereba::Generate(1);
  largereba::Generate(2);
  largereba::ResetPeakMemory();
  const std::string a = (benchscratch::Directory() / "RB000001.C01").string();
  const std::string b = (benchscratch::Directory() / "RB000002.C01").string();
  const char* argv[] = {"morvit", "diff", a.c_str(), b.c_str()};
  for (auto _ : state) {
    // Different: 1 (the version word and the one entry).
    if (morvit::tool::RunTool(4, argv) != 1) state.SkipWithError("diff found no difference");
  }
  state.counters["entries"] = largereba::kEntries;
  // The comparison's peak, from its first run on (the generation's memory is not counted).
  state.counters["peak_MB"] = largereba::PeakMegabytes();
}
BENCHMARK(BM_DiffRebas)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) { return benchscratch::RunIn("diff", argc, argv); }
