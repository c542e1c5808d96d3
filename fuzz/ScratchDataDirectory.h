// A scratch data-set directory shared by the fuzz targets that read domain files: made once per
// run, installed as the default host's data directory, and removed when the run ends.
#ifndef MORVIT_FUZZ_SCRATCHDATADIRECTORY_H
#define MORVIT_FUZZ_SCRATCHDATADIRECTORY_H

#include <stdlib.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "FuzzParcels.h"
#include "support/DataSetNames.h"
#include "support/DefaultHost.h"

namespace morvit::fuzzing {

inline void RemoveScratchDataDirectory();
inline void ClearScratchDataDirectory();

// The directory, ending in a separator.
inline const CString& ScratchDataDirectory() {
  // Held past the exit handlers (which run after static objects made before them are gone).
  static const CString* directory = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "morvit-fuzz-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) abort();
    GetDefaultHost().SetDataDirectory(pattern);
    std::atexit(RemoveScratchDataDirectory);
    return new CString(GetDefaultHost().DataDirectory());
  }();
  return *directory;
}

// Empties the directory between runs.
inline void ClearScratchDataDirectory() {
  std::error_code ignored;
  for (const auto& entry : std::filesystem::directory_iterator(ScratchDataDirectory(), ignored)) {
    std::filesystem::remove(entry.path(), ignored);
  }
}

inline void RemoveScratchDataDirectory() {
  std::error_code ignored;
  std::filesystem::remove_all(ScratchDataDirectory(), ignored);
}

// Empties the directory, then writes `bytes` as the domain file of DomainParcel(type).
inline void WriteScratchDomain(std::uint16_t type, const std::uint8_t* bytes, std::size_t size) {
  std::error_code ignored;
  for (const auto& entry : std::filesystem::directory_iterator(ScratchDataDirectory(), ignored)) {
    std::filesystem::remove(entry.path(), ignored);
  }
  std::ofstream out(ScratchDataDirectory() + MakeDataSetName(DomainParcel(type)),
                    std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes), static_cast<std::streamsize>(size));
}

}  // namespace morvit::fuzzing

#endif  // MORVIT_FUZZ_SCRATCHDATADIRECTORY_H
