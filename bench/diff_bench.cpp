// `morvit diff` of two resource bases of 65,536 entries that differ in one entry's value, run
// as the tool runs it (copies into a scratch directory, both listings read as events, the
// elements aligned, the differences printed). Both domains are generated once through the C
// interface as versions 1 and 2 of the same resource base, compressed into part files.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "BenchScratch.h"
#include "cli/Commands.h"
#include "morvit/VBase.h"

namespace {

namespace fs = std::filesystem;

constexpr std::uint16_t kReba = 46;
constexpr int kEntries = 65536;
constexpr int kChangedEntry = 40000;

const fs::path& ScratchDirectory() { return benchscratch::Directory(); }

void Put16(TSectionInfo& section, std::size_t offset, std::uint16_t value) {
  std::memcpy(reinterpret_cast<unsigned char*>(&section) + offset, &value, sizeof value);
}

// Version `version` of the resource base; version 2 has another value in one entry.
void Generate(std::uint16_t version) {
  VManager* manager = VBase_CreateManager();
  ObjParcelType parcel{};
  parcel.objectNumber = 1;
  parcel.classLetter = 'C';
  parcel.domainType = kReba;
  parcel.version = version;
  VBase_PutStart(manager, kReba, parcel);
  for (int i = 0; i < kEntries; ++i) {
    TSectionInfo entry{};
    entry.kind = 5;
    Put16(entry, 8, static_cast<std::uint16_t>(i));
    for (std::size_t v = 0; v < 5; ++v) {
      const int changed = version == 2 && i == kChangedEntry && v == 2 ? 1 : 0;
      Put16(entry, 10 + 2 * v, static_cast<std::uint16_t>(i * 7 + v + changed));
    }
    const std::string name = "DRIVE_" + std::to_string(i);
    std::memcpy(reinterpret_cast<unsigned char*>(&entry) + 20, name.data(), name.size());
    Put16(entry, 122, static_cast<std::uint16_t>(name.size()));
    VBase_Insert(manager, kReba, &entry);
  }
  ObjParcelType parcels[64];
  std::uint16_t count = 0;
  if (VBase_PutFinishEx(manager, kReba, &count, 63, parcels) != VBASE_STATUS_OK) std::abort();
  VBase_DeleteManager(&manager);
}

void BM_DiffRebas(benchmark::State& state) {
  Generate(1);
  Generate(2);
  const std::string a = (ScratchDirectory() / "RB000001.C01").string();
  const std::string b = (ScratchDirectory() / "RB000002.C01").string();
  const char* argv[] = {"morvit", "diff", a.c_str(), b.c_str()};
  for (auto _ : state) {
    // Different: 1 (the version word and the one entry).
    if (morvit::tool::RunTool(4, argv) != 1) state.SkipWithError("diff found no difference");
  }
  state.counters["entries"] = kEntries;
}
BENCHMARK(BM_DiffRebas)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) { return benchscratch::RunIn("diff", argc, argv); }
