// Reads arbitrary bytes as a domain section, with start and end codes taken from the input, and
// writes what was read in both forms: any input must end in a section or the end-of-file
// exception, never a crash, a hang or a read outside the input.
#include <cstddef>
#include <cstdint>

#include "domains/VDomainSection.h"

using namespace morvit;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  const auto startCode = static_cast<std::uint16_t>(data[0] * 256 + data[1]);
  const auto endCode = static_cast<std::uint16_t>(data[2] * 256 + data[3]);
  CMemFile in(data + 4, size - 4);
  VDomainSection section;
  try {
    section.Read(in, startCode, endCode, 0);
  } catch (const CFileException&) {
    // A damaged section keeps what was read before the damage; it is written below all the same.
  }
  CMemFile out;
  section.Write(out, 0);
  section.Write(out, 1);
  return 0;
}
