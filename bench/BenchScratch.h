// The scratch data directory of a benchmark program: made under the system's temporary
// directory, named after the program, set as the library's data directory for the run and
// removed after it.
#ifndef MORVIT_BENCH_BENCHSCRATCH_H
#define MORVIT_BENCH_BENCHSCRATCH_H

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

namespace benchscratch {

// The directory "morvit-NAME-bench", named and made at its first use (RunIn makes it).
inline const std::filesystem::path& Directory(const std::string& name = "") {
  static const std::filesystem::path directory = [&name] {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("morvit-" + name + "-bench");
    std::filesystem::create_directories(path);
    return path;
  }();
  return directory;
}

// The benchmarks of the program, run with the scratch directory `name` as the data directory.
inline int RunIn(const std::string& name, int argc, char** argv) {
  setenv("MORVIT_DATA_DIR", Directory(name).c_str(), 1);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::filesystem::remove_all(Directory());
  return 0;
}

}  // namespace benchscratch

#endif  // MORVIT_BENCH_BENCHSCRATCH_H
