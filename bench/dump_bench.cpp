// Listing lines per second of the dump: the driver's CODE mode on a 64 KiB program
// description, the class dump of a resource base of about 64 KiB, and, on the same 64 KiB
// file in the same run, xxd (run as a process, as a user would) for comparison. Rates are per
// wall-clock second (items_per_second), since xxd's time is spent in another process.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "BenchScratch.h"
#include "dump/DumpDriver.h"
#include "dump/ListingSwitches.h"
#include "morvit/VBase.h"

using namespace morvit;

extern char** environ;

namespace {

namespace fs = std::filesystem;

const fs::path& ScratchDirectory() { return benchscratch::Directory(); }

void Put16(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint16_t value) {
  bytes[at] = static_cast<std::uint8_t>(value >> 8);
  bytes[at + 1] = static_cast<std::uint8_t>(value & 0xFF);
}

// A program description (type 65, version 5.0) of 65536 bytes: the header, then elements of
// four words (code, length 8, two operands) with codes from both name tables.
const std::string& CodeFileName() {
  static const std::string name = [] {
    std::vector<std::uint8_t> bytes(65536);
    const std::uint16_t header[] = {0xFFFF, 65 << 8, 1, 13703, 615, 12345, 0x0500};
    for (std::size_t i = 0; i < std::size(header); ++i) Put16(bytes, 2 * i, header[i]);
    const std::uint16_t codes[] = {24, 28, 160, 1000, 4184, 612, 2448, 404};
    for (std::size_t at = 2 * 19, n = 0; at + 8 <= bytes.size(); at += 8, ++n) {
      Put16(bytes, at, codes[n % std::size(codes)]);
      Put16(bytes, at + 2, 8);
      Put16(bytes, at + 4, static_cast<std::uint16_t>(n));
      Put16(bytes, at + 6, 0x4142);
    }
    std::ofstream(ScratchDirectory() / "PD000001.C01", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return std::string("PD000001.C01");
  }();
  return name;
}

std::size_t LineCount(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::size_t lines = 0;
  for (std::string line; std::getline(in, line);) ++lines;
  return lines;
}

void BM_CodeModeListing(benchmark::State& state) {
  const std::string directory = ScratchDirectory().string() + "/";
  const std::string& name = CodeFileName();
  for (auto _ : state) {
    if (RunDumpDriver(directory, name) != 0) state.SkipWithError("listing failed");
  }
  const std::size_t lines = LineCount(ScratchDirectory() / "PD000001.D01");
  state.counters["lines"] = static_cast<double>(lines);
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(lines));
}
BENCHMARK(BM_CodeModeListing)->Unit(benchmark::kMillisecond)->UseRealTime();

// xxd on the same file, its listing written to a file as the dump's is.
void BM_XxdProcess(benchmark::State& state) {
  const std::string input = (ScratchDirectory() / CodeFileName()).string();
  const std::string output = (ScratchDirectory() / "xxd.txt").string();
  for (auto _ : state) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    std::string program = "xxd";
    std::vector<char*> argv = {program.data(), const_cast<char*>(input.c_str()), nullptr};
    pid_t pid = 0;
    int status = 0;
    if (posix_spawnp(&pid, "xxd", &actions, nullptr, argv.data(), environ) != 0 ||
        waitpid(pid, &status, 0) != pid || status != 0) {
      state.SkipWithError("xxd failed");
    }
    posix_spawn_file_actions_destroy(&actions);
  }
  const std::size_t lines = LineCount(output);
  state.counters["lines"] = static_cast<double>(lines);
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(lines));
}
BENCHMARK(BM_XxdProcess)->Unit(benchmark::kMillisecond)->UseRealTime();

void Put(TSectionInfo& section, std::size_t offset, std::uint16_t value) {
  std::memcpy(reinterpret_cast<unsigned char*>(&section) + offset, &value, sizeof value);
}

// A resource base whose expanded domain is about 64 KiB, generated once through the C
// interface into the scratch data directory.
std::string RebaPath() {
  static const std::string path = [] {
    VManager* manager = VBase_CreateManager();
    ObjParcelType parcel{};
    parcel.objectNumber = 1;
    parcel.classLetter = 'C';
    parcel.domainType = 46;
    parcel.version = 1;
    VBase_PutStart(manager, 46, parcel);
    for (std::uint16_t key = 0; key < 1930; ++key) {
      TSectionInfo entry{};
      entry.kind = 5;
      Put(entry, 8, key);
      for (std::size_t v = 0; v < 5; ++v)
        Put(entry, 10 + 2 * v, static_cast<std::uint16_t>(key + v));
      const std::string name = "PLANT_DRIVE_" + std::to_string(key);
      std::memcpy(reinterpret_cast<unsigned char*>(&entry) + 20, name.data(), name.size());
      Put(entry, 122, static_cast<std::uint16_t>(name.size()));
      VBase_Insert(manager, 46, &entry);
    }
    ObjParcelType parcels[16];
    std::uint16_t count = 0;
    if (VBase_PutFinishEx(manager, 46, &count, 15, parcels) != VBASE_STATUS_OK) std::abort();
    VBase_DeleteManager(&manager);
    return (ScratchDirectory() / "RB000001.C01").string();
  }();
  return path;
}

void BM_ClassDumpReba(benchmark::State& state) {
  const std::string path = RebaPath();
  for (auto _ : state) {
    VBase_DumpDomain(static_cast<std::uint16_t>(path.size()), path.c_str());
  }
  const std::size_t lines = LineCount(ScratchDirectory() / "RB000001.D01");
  state.counters["lines"] = static_cast<double>(lines);
  state.counters["expanded_bytes"] =
      static_cast<double>(fs::file_size(ScratchDirectory() / "RB000001.X01"));
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(lines));
}
BENCHMARK(BM_ClassDumpReba)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) { return benchscratch::RunIn("dump", argc, argv); }
