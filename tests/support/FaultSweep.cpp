// Fault sweeps over the file calls of a run, and directory images to judge what a run left.
#include "support/FaultSweep.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "support/TestUtil.h"

namespace testutil {

using filefaults::Call;

const std::vector<SweepFault>& SweepFaults() {
  static const std::vector<SweepFault> faults = {
      {"open EACCES", filefaults::kOpen, EACCES},
      {"read EIO", filefaults::kRead, EIO},
      {"write ENOSPC", filefaults::kWrite, ENOSPC},
      {"write ENOSPC, disk stays full", filefaults::kWrite, ENOSPC, false, true},
      {"short write, then ENOSPC", filefaults::kWrite, ENOSPC, true},
      {"short write", filefaults::kWrite, 0, true},
      {"seek EIO", filefaults::kSeek, EIO},
      {"flush EIO", filefaults::kFlush, EIO},
      {"rename EACCES", filefaults::kRename, EACCES},
      {"remove EIO", filefaults::kRemove, EIO},
  };
  return faults;
}

std::size_t SweepFileFaults(const std::function<void()>& run,
                            const std::function<void(const SweepFault&, std::uint64_t)>& check) {
  filefaults::Arm({});
  run();
  filefaults::Disarm();
  std::map<Call, std::uint64_t> calls;
  for (const SweepFault& fault : SweepFaults())
    calls[fault.call] = filefaults::CallsSeen(fault.call);
  std::size_t runs = 0;
  for (const SweepFault& fault : SweepFaults()) {
    for (std::uint64_t n = 1; n <= calls[fault.call]; ++n) {
      SCOPED_TRACE(std::string(fault.label) + " at call " + std::to_string(n));
      filefaults::Fault armed;
      armed.calls = fault.call;
      armed.nth = n;
      armed.error = fault.error;
      armed.shortWrite = fault.shortWrite;
      armed.persistent = fault.persistent;
      filefaults::Arm(armed);
      run();
      const bool struck = filefaults::Struck();
      filefaults::Disarm();
      EXPECT_TRUE(struck) << "the run makes the same calls each time";
      check(fault, n);
      ++runs;
    }
  }
  return runs;
}

DirectoryImage ImageOf(const std::string& directory) {
  DirectoryImage image;
  for (const auto& entry : std::filesystem::directory_iterator(directory)) {
    image[entry.path().filename().string()] = ReadWholeFile(entry.path().string());
  }
  return image;
}

void RestoreImage(const std::string& directory, const DirectoryImage& image) {
  const DirectoryImage now = ImageOf(directory);
  for (const auto& [name, bytes] : now) {
    const auto kept = image.find(name);
    if (kept == image.end()) std::filesystem::remove(std::filesystem::path(directory) / name);
  }
  for (const auto& [name, bytes] : image) {
    const auto present = now.find(name);
    if (present == now.end() || present->second != bytes) {
      WriteWholeFile((std::filesystem::path(directory) / name).string(), bytes);
    }
  }
}

std::string Difference(const DirectoryImage& expected, const DirectoryImage& actual) {
  std::string text;
  for (const auto& [name, bytes] : expected) {
    const auto found = actual.find(name);
    if (found == actual.end()) text += " missing " + name;
    if (found != actual.end() && found->second != bytes) text += " changed " + name;
  }
  for (const auto& [name, bytes] : actual) {
    if (expected.count(name) == 0) text += " extra " + name;
  }
  return text;
}

DirectoryImage WithoutStagedFiles(DirectoryImage image) {
  std::erase_if(image, [](const auto& file) { return file.first.find('~') != std::string::npos; });
  return image;
}

}  // namespace testutil
