// A resource base of 20,000 entries generated end to end through the C interface, beside the
// same generation without compression and the compression of its working file alone, so that
// the cost of compressing can be told apart from everything else: the end-to-end time less the
// engine's time is what the domain layers, the files and the C interface cost.
//
// A finish brings each part file and the data directory to stable storage before it reports
// success: the real time includes those flushes, the CPU time does not. Run with TMPDIR on a
// memory file system (/dev/shm) to see the time without them.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "domains/VRebaDomain.h"
#include "files/Implode.h"
#include "morvit/VBase.h"
#include "morvit/VManager.h"

using namespace morvit;

namespace {

constexpr std::uint16_t kReba = 46;
constexpr int kEntries = 20000;

void Put16(TSectionInfo& section, std::size_t offset, std::uint16_t value) {
  std::memcpy(reinterpret_cast<unsigned char*>(&section) + offset, &value, sizeof value);
}

void PutText(TSectionInfo& section, std::size_t offset, std::size_t lengthOffset,
             const std::string& text) {
  std::memcpy(reinterpret_cast<unsigned char*>(&section) + offset, text.data(), text.size());
  Put16(section, lengthOffset, static_cast<std::uint16_t>(text.size()));
}

// Entries with names and values of the kind a resource holds, every tenth with an addition
// and every hundredth followed by a page break.
std::vector<TSectionInfo> ResourceRecords() {
  std::vector<TSectionInfo> records;
  for (int i = 0; i < kEntries; ++i) {
    TSectionInfo entry{};
    entry.kind = 5;
    const auto key = static_cast<std::uint16_t>(i);
    Put16(entry, 8, key);
    for (std::size_t v = 0; v < 5; ++v) {
      Put16(entry, 10 + 2 * v, static_cast<std::uint16_t>(i * 7 + v));
    }
    PutText(entry, 20, 122, "PLANT_" + std::to_string(i / 100) + "_DRIVE_" + std::to_string(i));
    records.push_back(entry);
    if (i % 10 == 0) {
      TSectionInfo addition{};
      addition.kind = 7;
      Put16(addition, 8, key);
      Put16(addition, 10, 1);
      PutText(addition, 12, 114, "SETPOINT");
      PutText(addition, 116, 218, "rpm");
      Put16(addition, 220, 5);  // cardinal terminal
      Put16(addition, 224, static_cast<std::uint16_t>(i));
      Put16(addition, 280, 2);
      records.push_back(addition);
    }
    if (i % 100 == 99) {
      TSectionInfo pageBreak{};
      pageBreak.kind = 6;
      Put16(pageBreak, 12, static_cast<std::uint16_t>(i / 100));
      PutText(pageBreak, 15, 96, "Drives " + std::to_string(i / 100));
      records.push_back(pageBreak);
    }
  }
  return records;
}

ObjParcelType RebaParcel() {
  ObjParcelType parcel{};
  parcel.objectNumber = 1;
  parcel.classLetter = 'C';
  parcel.domainType = kReba;
  parcel.version = 1;
  return parcel;
}

// A resource base kept as one uncompressed file: the generation without the compression.
class UncompressedReba : public VRebaDomain {
 public:
  UncompressedReba() { m_nCompressionEnabled = 0; }
};

std::unique_ptr<VDomain> UncompressedFactory(std::uint16_t type) {
  if (type != kReba) return nullptr;
  return std::make_unique<UncompressedReba>();
}

void Generate(VManager* manager, std::vector<TSectionInfo>& records) {
  ObjParcelType parcels[64];
  std::uint16_t count = 0;
  VBase_PutStart(manager, kReba, RebaParcel());
  for (TSectionInfo& record : records) VBase_Insert(manager, kReba, &record);
  if (VBase_PutFinishEx(manager, kReba, &count, 63, parcels) != VBASE_STATUS_OK) {
    std::fprintf(stderr, "generation failed\n");
    std::abort();
  }
}

void BM_RebaThroughC(benchmark::State& state) {
  std::vector<TSectionInfo> records = ResourceRecords();
  for (auto _ : state) {
    VManager* manager = VBase_CreateManager();
    Generate(manager, records);
    VBase_DeleteManager(&manager);
  }
  state.SetItemsProcessed(state.iterations() * kEntries);
}
BENCHMARK(BM_RebaThroughC)->Unit(benchmark::kMillisecond);

void BM_RebaThroughCWithoutCompression(benchmark::State& state) {
  std::vector<TSectionInfo> records = ResourceRecords();
  for (auto _ : state) {
    VManager manager(nullptr, UncompressedFactory);
    Generate(&manager, records);
  }
  state.SetItemsProcessed(state.iterations() * kEntries);
}
BENCHMARK(BM_RebaThroughCWithoutCompression)->Unit(benchmark::kMillisecond);

// The uncompressed working file of the benchmark's resource base.
std::vector<char> WorkingFile() {
  const std::filesystem::path data = std::getenv("MORVIT_DATA_DIR");
  for (const auto& entry : std::filesystem::directory_iterator(data)) {
    std::filesystem::remove(entry.path());
  }
  std::vector<TSectionInfo> records = ResourceRecords();
  VManager manager(nullptr, UncompressedFactory);
  Generate(&manager, records);
  for (const auto& entry : std::filesystem::directory_iterator(data)) {
    std::FILE* file = std::fopen(entry.path().c_str(), "rb");
    std::vector<char> bytes(std::filesystem::file_size(entry.path()));
    if (std::fread(bytes.data(), 1, bytes.size(), file) != bytes.size()) std::abort();
    std::fclose(file);
    std::filesystem::remove(entry.path());
    return bytes;
  }
  std::abort();
}

struct Streams {
  const std::vector<char>* input;
  std::size_t position = 0;
  std::size_t output = 0;
};

unsigned ReadInput(char* buffer, unsigned* size, void* param) {
  auto& streams = *static_cast<Streams*>(param);
  const std::size_t n = std::min<std::size_t>(*size, streams.input->size() - streams.position);
  std::memcpy(buffer, streams.input->data() + streams.position, n);
  streams.position += n;
  return static_cast<unsigned>(n);
}

void CountOutput(char*, unsigned* size, void* param) {
  static_cast<Streams*>(param)->output += *size;
}

// The engine alone on the working file, in memory, as the domain writer runs it: the
// compression share of the total.
void BM_ImplodeWorkingFile(benchmark::State& state) {
  const std::vector<char> input = WorkingFile();
  std::vector<char> work(morvit::dcl::kImplodeFastWorkSize);
  std::size_t compressed = 0;
  for (auto _ : state) {
    Streams streams{&input};
    unsigned mode = morvit::dcl::kBinaryMode;
    unsigned dictionary = 4096;
    morvit::dcl::implodeFast(ReadInput, CountOutput, work.data(), &streams, &mode, &dictionary);
    compressed = streams.output;
  }
  state.counters["input_bytes"] = static_cast<double>(input.size());
  state.counters["compressed_bytes"] = static_cast<double>(compressed);
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(input.size()));
}
BENCHMARK(BM_ImplodeWorkingFile)->Unit(benchmark::kMillisecond);

}  // namespace

// The domains go to a scratch data directory, removed at the end.
int main(int argc, char** argv) {
  const auto data = std::filesystem::temp_directory_path() / "morvit-reba-bench";
  std::filesystem::create_directories(data);
  setenv("MORVIT_DATA_DIR", data.c_str(), 1);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::filesystem::remove_all(data);
  return 0;
}
