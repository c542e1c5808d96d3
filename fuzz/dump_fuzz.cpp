// Dumps arbitrary bytes under a fixed data-set name in each mode of the dump (the input's
// first byte picks the name and the listing switches): a domain listed by its class or in CODE
// mode, a DATA or PL table, a move-table pair. Any input must end in a listing, never a crash,
// a hang or a read outside the driver's buffers.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "ScratchDataDirectory.h"
#include "dump/ListingSwitches.h"
#include "morvit/VBase.h"

using namespace morvit;

namespace {

// CODE (first and later file of a domain, and a name that the class dump would take),
// DATA, PL, MOVE and wide MOVE.
constexpr const char* kNames[] = {"CA000001.C01", "AD010001.C01", "RB000001.C01", "XXLO0001.C01",
                                  "PL000001.C01", "XXA00001.C01", "XXAI0001.C01"};

void WriteFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::uint8_t choice = data[0];
  const std::string name = kNames[choice % std::size(kNames)];
  GetListingSwitches().lineNumbers = (choice & 0x40) != 0;
  GetListingSwitches().suppressTimes = (choice & 0x80) != 0;
  const std::string directory = fuzzing::ScratchDataDirectory();
  const std::uint8_t* body = data + 1;
  const std::size_t bodySize = size - 1;
  if (name[2] == 'A') {
    // The A table at its fixed size, the input at its start and its counts from the input's
    // first four bytes; the B table is the input itself.
    std::vector<std::uint8_t> aTable(name[3] == 'I' ? 54000 : 30000);
    std::memcpy(aTable.data(), body, std::min(bodySize, aTable.size()));
    std::memcpy(aTable.data() + aTable.size() - 4, body, std::min<std::size_t>(bodySize, 4));
    WriteFile(directory + name, aTable.data(), aTable.size());
    std::string bName = name;
    bName[2] = 'B';
    WriteFile(directory + bName, body, bodySize);
  } else {
    WriteFile(directory + name, body, bodySize);
  }
  const std::string path = directory + name;
  VBase_DumpDomain(static_cast<std::uint16_t>(path.size()), path.c_str());
  return 0;
}
