// Reads arbitrary bytes as a PC program domain file (the input's first byte picks TADE, REDE,
// PODE or BOBA) through its class, back-translates it into a database that reads every element
// it is handed, and lists it: any input must end in a read domain or a file exception, never a
// crash, a hang or a read outside the file's data.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "ScratchDataDirectory.h"
#include "domains/VBobaDomain.h"
#include "domains/VPodeDomain.h"
#include "domains/VRedeDomain.h"
#include "domains/VTadeDomain.h"
#include "morvit/VDatabase.h"
#include "morvit/VElement.h"

using namespace morvit;

namespace {

struct ProgramType {
  std::uint16_t type;
  std::function<std::unique_ptr<VDomain>()> make;
};

const ProgramType kTypes[] = {
    {49, [] { return std::make_unique<VTadeDomain>(); }},
    {33, [] { return std::make_unique<VRedeDomain>(); }},
    {65, [] { return std::make_unique<VPodeDomain>(); }},
    {116, [] { return std::make_unique<VBobaDomain>(); }},
};

// Copies out every element it receives, as a client would.
class RecordingDatabase : public VDatabase {
 public:
  void Insert(std::uint16_t, VElement* element) override {
    std::vector<std::uint8_t> bytes(element->GetLength());
    element->SeekToBegin();
    element->Read(bytes.data(), static_cast<unsigned>(bytes.size()));
    received += bytes.size();
  }
  std::size_t received = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const ProgramType& chosen = kTypes[data[0] % (sizeof kTypes / sizeof kTypes[0])];
  fuzzing::WriteScratchDomain(chosen.type, data + 1, size - 1);
  RecordingDatabase database;
  std::unique_ptr<VDomain> domain = chosen.make();
  try {
    domain->OpenDomain(fuzzing::DomainParcel(chosen.type), &database, kOpenForReading);
    domain->ReadDomain();
    domain->Backtranslate();
    domain->WriteDomain(1);
  } catch (const CFileException&) {
    // Damaged domains end here.
  }
  return 0;
}
