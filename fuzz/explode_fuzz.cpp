// Fuzz target for the stream decoder: any input gives a result code, never a crash, a hang or
// an access outside the work area. The first byte picks how many bytes each read delivers.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "../tests/fixtures/DclStreams.h"
#include "files/Explode.h"

using namespace morvit;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const unsigned readLimit = data[0] % 4 == 0 ? 0 : data[0];
  const auto run =
      testutil::RunExplode(morvit::dcl::explode, std::span<const std::uint8_t>(data + 1, size - 1),
                           readLimit, morvit::dcl::kExplodeWorkSize);
  if (run.code < morvit::dcl::kOk || run.code > morvit::dcl::kStreamBroken) std::abort();
  // Every write hands on at most 4096 bytes.
  for (unsigned written : run.io.writeSizes)
    if (written == 0 || written > 4096) std::abort();
  return 0;
}
