// The listing events of a resource base of 65,536 entries streamed through the Python module
// (every event made a Python object and its value read), against `morvit dump --format json`
// of the same file: their times, and the module's peak memory (counter peak_MB). The goals:
// within twice the dump's time and 100 MB.
#include <benchmark/benchmark.h>
#include <pybind11/embed.h>

#include <cstdio>
#include <string>

#include "BenchScratch.h"
#include "LargeReba.h"
#include "cli/Commands.h"

namespace py = pybind11;

namespace {

std::string RebaPath() {
  largereba::Generate(1);
  return (benchscratch::Directory() / "RB000001.C01").string();
}

void BM_DumpJson(benchmark::State& state) {
  const std::string path = RebaPath();
  const char* argv[] = {"morvit", "dump", "--format", "json", path.c_str()};
  // The JSON lines go to nothing: what is measured is making them.
  if (std::freopen("/dev/null", "w", stdout) == nullptr) state.SkipWithError("no /dev/null");
  for (auto _ : state) {
    if (morvit::tool::RunTool(5, argv) != 0) state.SkipWithError("dump failed");
  }
}
BENCHMARK(BM_DumpJson)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PythonStream(benchmark::State& state) {
  const std::string path = RebaPath();
  py::scoped_interpreter python;
  py::module_::import("sys").attr("path").attr("insert")(0, MORVIT_PYTHON_DIR);
  py::dict scope;
  py::exec(R"(
import morvit
def stream(path):
    events = 0
    for event in morvit.listing(path):
        event.value
        events += 1
    return events
)",
           scope);
  largereba::ResetPeakMemory();
  long events = 0;
  for (auto _ : state) events = scope["stream"](path).cast<long>();
  state.counters["events"] = static_cast<double>(events);
  state.counters["peak_MB"] = largereba::PeakMegabytes();
}
BENCHMARK(BM_PythonStream)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) { return benchscratch::RunIn("python-stream", argc, argv); }
