// The listing events of a resource base of 65,536 entries streamed through the Python module
// (every event made a Python object and its value read; without and with the fields' listing
// texts), against `morvit dump --format json`
// of the same file: their times, and the module's peak memory (counter peak_MB). The goals:
// within twice the dump's time and 100 MB.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <pybind11/embed.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>
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
  // The JSON lines go to nothing while the dump runs: what is measured is making them.
  std::fflush(stdout);
  const int kept = dup(STDOUT_FILENO);
  const int null = open("/dev/null", O_WRONLY);
  dup2(null, STDOUT_FILENO);
  int status = 0;
  for (auto _ : state) status |= morvit::tool::RunTool(5, argv);
  std::cout.flush();
  std::fflush(stdout);
  dup2(kept, STDOUT_FILENO);
  close(null);
  close(kept);
  if (status != 0) state.SkipWithError("dump failed");
}
BENCHMARK(BM_DumpJson)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PythonStream(benchmark::State& state) {
  const std::string path = RebaPath();
  py::module_::import("sys").attr("path").attr("insert")(0, MORVIT_PYTHON_DIR);
  py::dict scope;
  py::exec(R"(
import morvit
def stream(path, text):
    events = 0
    for event in morvit.listing(path, text=text):
        event.value
        events += 1
    return events
)",
           scope);
  largereba::ResetPeakMemory();
  long events = 0;
  for (auto _ : state) events = scope["stream"](path, state.range(0) != 0).cast<long>();
  state.counters["events"] = static_cast<double>(events);
  state.counters["peak_MB"] = largereba::PeakMegabytes();
}
// 0: the events as a script gets them by default; 1: with the fields' listing texts, as the
// dump writes them.
BENCHMARK(BM_PythonStream)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  // One interpreter for every run: an interpreter that loaded the module is not made twice.
  const py::scoped_interpreter python;
  return benchscratch::RunIn("python-stream", argc, argv);
}
