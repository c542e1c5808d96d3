// A resource base of 65,536 entries, generated through the C interface into the benchmark's
// scratch directory as version 1 or 2 (version 2 has another value in entry 40000), and the
// process's peak memory, for the benchmarks of the tool's commands on it.
#ifndef MORVIT_BENCH_LARGEREBA_H
#define MORVIT_BENCH_LARGEREBA_H

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "morvit/VBase.h"

namespace largereba {

inline constexpr std::uint16_t kReba = 46;
inline constexpr int kEntries = 65536;
inline constexpr int kChangedEntry = 40000;

inline void Put16(TSectionInfo& section, std::size_t offset, std::uint16_t value) {
  std::memcpy(reinterpret_cast<unsigned char*>(&section) + offset, &value, sizeof value);
}

// Version `version` of the resource base; version 2 has another value in one entry.
inline void Generate(std::uint16_t version) {
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

// Starts the count of the peak memory afresh (Linux: the resident set's high-water mark).
inline void ResetPeakMemory() { std::ofstream("/proc/self/clear_refs") << "5"; }

// The resident set's high-water mark since the last reset, in megabytes (0 where unknown).
inline double PeakMegabytes() {
  std::ifstream status("/proc/self/status");
  std::string word;
  while (status >> word) {
    if (word == "VmHWM:") {
      double kilobytes = 0;
      status >> kilobytes;
      return kilobytes / 1024.0;
    }
  }
  return 0;
}

}  // namespace largereba

#endif  // MORVIT_BENCH_LARGEREBA_H
