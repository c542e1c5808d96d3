// The dump driver's process-wide state: its word buffer and the target-code version that the
// driver carries from one listed file to the next. Unguarded, for one dump at a time.
#ifndef MORVIT_DUMP_DUMPDRIVERSTATE_H
#define MORVIT_DUMP_DUMPDRIVERSTATE_H

#include <array>
#include <cstdint>

// The largest file part the CODE mode reads: 64 blocks of 1024 bytes.
inline constexpr std::size_t kWordBufferSize = 65536;

// Target-code version in tenths (major * 10 + minor) until a file with the current common
// header sets it: 4.9.
inline constexpr unsigned kInitialTargetCodeVersion = 49;

struct DumpDriverState {
  // The bytes of the file listed in CODE mode; bytes past the end of the file read as zero.
  std::array<std::uint8_t, kWordBufferSize> words{};
  // How many of them the file gave.
  std::size_t bytesRead = 0;
  // Kept from file to file: a file with the older header is listed under the version of the
  // file before it.
  unsigned targetCodeVersion = kInitialTargetCodeVersion;
};

// The one instance for the process.
DumpDriverState& GetDumpDriverState();

#endif  // MORVIT_DUMP_DUMPDRIVERSTATE_H
