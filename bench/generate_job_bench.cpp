// `morvit generate` on large REBA jobs, run as a process: 65,536 entries with two additions each
// (about 22 MB of JSON) and with six (about 50 MB). Reports the real time and the peak resident
// memory of the whole generation (the job's check, its generation and the library's work) and
// that peak as a multiple of the job's size; the goal is at most 2.5 times.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

constexpr int kEntries = 65536;

// A job as a user writes one: one record per line, names and texts of the kind a resource holds.
std::filesystem::path WriteJob(const std::filesystem::path& directory, int additions) {
  const std::filesystem::path path = directory / "job.json";
  std::ofstream out(path);
  out << "{\n \"domains\": [\n  {\"type\": \"REBA\", \"object\": 1, \"version\": 1, \"time\": "
         "\"2026-12-07 08:30:00\", \"records\": [\n";
  for (int key = 0; key < kEntries; ++key) {
    out << (key == 0 ? "" : ",\n") << "    {\"entry\": {\"key\": " << key << ", \"values\": ["
        << key << ", 2, 3, 4, 5], \"name\": \"PLANT_" << key / 100 << "_DRIVE_" << key << "\"}}";
    for (int n = 1; n <= additions; ++n) {
      out << ",\n    {\"addition\": {\"key\": " << key << ", \"number\": " << n
          << ", \"texts\": [\"SETPOINT_" << n << "\", \"rpm\"], \"terminal\": {\"type\": \"real\", "
          << "\"value\": " << key << ".5}}}";
    }
  }
  out << "\n  ]}\n ]\n}\n";
  return path;
}

void BM_GenerateLargeJob(benchmark::State& state) {
  const std::filesystem::path directory =
      std::filesystem::temp_directory_path() / ("morvit-bench-" + std::to_string(getpid()));
  std::filesystem::create_directories(directory);
  const std::filesystem::path job = WriteJob(directory, static_cast<int>(state.range(0)));
  const auto jobBytes = static_cast<double>(std::filesystem::file_size(job));
  long peakKb = 0;
  for (auto _ : state) {
    std::filesystem::remove_all(directory / "data");
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
      // The tool's own output is not measured.
      if (std::freopen("/dev/null", "w", stdout) == nullptr) _exit(127);
      execl(MORVIT_TOOL_PATH, "morvit", "generate", job.c_str(), "--data",
            (directory / "data").c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      state.SkipWithError("morvit generate failed");
      break;
    }
    state.SetIterationTime(elapsed.count());
    peakKb = std::max(peakKb, usage.ru_maxrss);
  }
  state.counters["job_MB"] = jobBytes / 1e6;
  state.counters["peak_RSS_MB"] = static_cast<double>(peakKb) * 1024 / 1e6;
  state.counters["peak_per_job_size"] = static_cast<double>(peakKb) * 1024 / jobBytes;
  std::filesystem::remove_all(directory);
}
BENCHMARK(BM_GenerateLargeJob)
    ->ArgName("additions")
    ->Arg(2)
    ->Arg(6)
    ->UseManualTime()
    ->Iterations(2)
    ->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
