// The dump driver's process-wide state: its word buffer and the target-code version that the
// driver carries from one listed file to the next. Unguarded, for one dump at a time.
#ifndef MORVIT_DUMP_DUMPDRIVERSTATE_H
#define MORVIT_DUMP_DUMPDRIVERSTATE_H

#include <array>
#include <cstdint>

namespace morvit {

// The largest file part the CODE mode reads: 64 blocks of 1024 bytes.
inline constexpr std::size_t kWordBufferSize = 65536;

// Target-code version in tenths (major * 10 + minor) until a file with the current common
// header sets it: 4.9.
inline constexpr unsigned kInitialTargetCodeVersion = 49;

struct DumpDriverState {
  // The bytes of the file listed in CODE mode; bytes past the end of the file read as zero.
  std::array<std::uint8_t, kWordBufferSize> words{};
  // Kept from file to file: a file with the older header is listed under the version of the
  // file before it.
  unsigned targetCodeVersion = kInitialTargetCodeVersion;
  // Of the file last read in CODE mode: how many bytes it gave, and the length its first word
  // announces (the offset of its last byte), so that a read that stopped short can say where.
  std::size_t bytesRead = 0;
  std::size_t announcedLength = 0;
};

// The one instance for the process.
DumpDriverState& GetDumpDriverState();

}  // namespace morvit

#endif  // MORVIT_DUMP_DUMPDRIVERSTATE_H
