// Reads arbitrary bytes as a generation job and checks it as `morvit generate` does before it
// writes anything: the streamed reader, the schema and the cross-record checks. A job comes
// from the user, so any input must end in a list of faults or a checked job, never a crash, a
// hang, an unbounded allocation or an exception other than the tool's own failure.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "cli/Failure.h"
#include "job/JobCheck.h"
#include "job/JobReader.h"

namespace {

// The job's file: one per run, rewritten for every input and removed at exit.
const std::string& JobFile() {
  static const std::string* file = [] {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "morvit-fuzz-job-XXXXXX").string();
    const int descriptor = ::mkstemp(pattern.data());
    if (descriptor < 0) std::abort();
    ::close(descriptor);
    std::atexit([] { std::filesystem::remove(JobFile()); });
    return new std::string(pattern);
  }();
  return *file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::ofstream(JobFile(), std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  try {
    morvit::tool::JobSource source(JobFile());
    morvit::tool::JobFaults faults(source.Name());
    const auto domains = morvit::tool::CheckJob(source, faults);
    // A job without faults has a checked domain for each of its domains; faults are lines.
    for (const std::string& line : faults.Lines()) {
      if (line.empty()) std::abort();
    }
    (void)domains;
  } catch (const morvit::tool::Failure&) {
    // The tool's own failure (a job that cannot be read at all): reported, not a crash.
  }
  return 0;
}
