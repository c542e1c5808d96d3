// Fuzz target for the encoder, both entries (implode and the domain writer's implodeFast):
// whatever the input, mode and dictionary size, imploding then exploding gives back the input
// exactly, within the worst-case size. The first byte picks mode, dictionary and read size.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "../tests/fixtures/DclStreams.h"
#include "files/Explode.h"
#include "files/Implode.h"

using namespace morvit;

namespace {

// Work areas kept from run to run, as a client keeps its own: no run may rely on what the run
// before left in them. Kept runs also spare each run a fresh allocation of the fast entry's
// large area.
template <std::size_t Size>
char* KeptWorkArea() {
  static char* area = new char[Size];
  return area;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const unsigned mode = data[0] & 1;
  const unsigned dictionary = 1024u << ((data[0] >> 1) % 3);
  const unsigned readLimit = data[0] >> 3;
  const std::span<const std::uint8_t> input(data + 1, size - 1);
  const std::size_t literalBits = mode == 0 ? 9 : 14;
  using morvit::dcl::kExplodeWorkSize;
  using morvit::dcl::kImplodeFastWorkSize;
  using morvit::dcl::kImplodeWorkSize;
  for (const auto& packed :
       {testutil::RunImplode(morvit::dcl::implode, input, mode, dictionary, readLimit,
                             kImplodeWorkSize, KeptWorkArea<kImplodeWorkSize>()),
        testutil::RunImplode(morvit::dcl::implodeFast, input, mode, dictionary, readLimit,
                             kImplodeFastWorkSize, KeptWorkArea<kImplodeFastWorkSize>())}) {
    if (packed.code != morvit::dcl::kOk) std::abort();
    if (packed.bytes.size() > 2 + (literalBits * input.size() + 16 + 7) / 8) std::abort();
    const auto unpacked =
        testutil::RunExplode(morvit::dcl::explode, packed.bytes, 0, kExplodeWorkSize, 0,
                             KeptWorkArea<kExplodeWorkSize>());
    if (unpacked.code != morvit::dcl::kOk) std::abort();
    if (unpacked.bytes.size() != input.size() ||
        !std::equal(input.begin(), input.end(), unpacked.bytes.begin()))
      std::abort();
  }
  return 0;
}
