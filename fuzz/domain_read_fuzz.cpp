// Reads arbitrary bytes as the domain file of a generated type (the input's first byte picks
// NOBA, REBA or POBA), then reads, back-translates and lists it as the dump would: any input
// must end in a read domain or a file exception, never a crash, a hang or a wild allocation.
#include <cstddef>
#include <cstdint>

#include "FuzzParcels.h"
#include "ScratchDataDirectory.h"
#include "interface/DomainTable.h"
#include "morvit/VDatabase.h"

using namespace morvit;

namespace {

constexpr std::uint16_t kTypes[] = {3, 46, 78};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::uint16_t type = kTypes[data[0] % (sizeof kTypes / sizeof kTypes[0])];
  fuzzing::WriteScratchDomain(type, data + 1, size - 1);
  VDatabase database;
  std::unique_ptr<VDomain> domain = CreateDomainForType(type);
  try {
    domain->OpenDomain(fuzzing::DomainParcel(type), &database, kOpenForReading);
    domain->ReadDomain();
    domain->Backtranslate();
    domain->WriteDomain(1);
  } catch (const CFileException&) {
    // Damaged domains end here.
  }
  return 0;
}
