// `morvit check` on a data set of a thousand domain files (five hundred NOBA and five hundred
// REBA domains, compressed where their type is): the whole check, private view included.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "dataset/DataSetCheck.h"

namespace {

namespace fs = std::filesystem;

// Generates the data set once, through the tool's own generate command.
const fs::path& ThousandFileDataSet() {
  static const fs::path data = [] {
    const fs::path root = fs::temp_directory_path() / "morvit-check-bench";
    fs::remove_all(root);
    fs::create_directories(root / "data");
    std::ofstream job(root / "job.json");
    job << R"({"domains": [)";
    const char* separator = "";
    for (int version = 1; version <= 5; ++version) {
      for (int object = 0; object < 100; ++object) {
        const std::string identity = R"("object": )" + std::to_string(object) + R"(, "version": )" +
                                     std::to_string(version) + R"(, "time": "2026-12-07 08:30:00")";
        job << separator << R"({"type": "NOBA", )" << identity
            << R"(, "texts": ["first text", "second text", "third text"]},)"
            << R"({"type": "REBA", )" << identity << R"(, "records": [)"
            << R"({"entry": {"key": 1, "values": [1, 2, 3, 4, 5], "name": "PUMP"}},)"
            << R"({"entry": {"key": 2, "values": [6, 7, 8, 9, 10], "name": "VALVE"}}]})";
        separator = ",";
      }
    }
    job << "]}";
    job.close();
    const std::string jobPath = (root / "job.json").string();
    const std::string dataPath = (root / "data").string();
    const char* argv[] = {"morvit", "generate", jobPath.c_str(), "--data", dataPath.c_str()};
    std::ofstream quiet("/dev/null");
    auto* previous = std::cout.rdbuf(quiet.rdbuf());
    morvit::tool::RunTool(5, argv);
    std::cout.rdbuf(previous);
    return root / "data";
  }();
  return data;
}

void BM_CheckThousandFiles(benchmark::State& state) {
  const fs::path& data = ThousandFileDataSet();
  std::size_t files = 0;
  for (auto _ : state) {
    const auto result = morvit::tool::CheckDataSet(data);
    files = result.files;
    benchmark::DoNotOptimize(result.findings.data());
  }
  state.counters["files"] = static_cast<double>(files);
}
BENCHMARK(BM_CheckThousandFiles)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
