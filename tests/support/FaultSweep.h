// Sweeps of injected file faults: a run is repeated with each file call failing in turn, and the
// state of the data directory after each run is compared with what it must be.
#ifndef MORVIT_TESTS_SUPPORT_FAULTSWEEP_H
#define MORVIT_TESTS_SUPPORT_FAULTSWEEP_H

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/FileFaults.h"

namespace testutil {

// One kind of fault a sweep injects at every call of its kind in turn.
struct SweepFault {
  const char* label;
  filefaults::Call call;
  int error;
  bool shortWrite = false;
  bool persistent = false;
};

// Each kind of call with the error it meets in the field (a full disk for writes, a failing
// medium for reads, seeks and flushes, a refused name for opens and renames), a disk that
// stays full, and short writes with and without a following failure.
const std::vector<SweepFault>& SweepFaults();

// Runs `run` once with the calls counted, then once per fault of SweepFaults and per call of
// its kind, with that call failing; `check` sees each faulty run's fault and call number after
// it. Returns the number of faulty runs.
std::size_t SweepFileFaults(const std::function<void()>& run,
                            const std::function<void(const SweepFault&, std::uint64_t)>& check);

// Every file of a directory: name and bytes.
using DirectoryImage = std::map<std::string, std::vector<std::uint8_t>>;
DirectoryImage ImageOf(const std::string& directory);
// Puts a directory back to `image`: other files removed, changed ones rewritten.
void RestoreImage(const std::string& directory, const DirectoryImage& image);
// The names that differ between two images (missing, extra or changed), for failure messages.
std::string Difference(const DirectoryImage& expected, const DirectoryImage& actual);
// The image without the scratch files of a generation (staging names), which a failed delete
// leaves behind.
DirectoryImage WithoutStagedFiles(DirectoryImage image);

}  // namespace testutil

#endif  // MORVIT_TESTS_SUPPORT_FAULTSWEEP_H
