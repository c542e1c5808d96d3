// Reads damaged configuration domains (COIO, CODA, CbD, CbP, BxD) through their classes:
// back-translated into a database that touches every byte it is handed, then read and listed.
// The input's first byte picks the type; its second byte picks the damage: odd, the rest of
// the input is the domain, split into up to three part files; even, the rest is a list of byte
// edits (part, offset high, offset low, value) applied to a valid domain built by the writers
// (one part file each: a valid domain of several parts would make every run slow).
// Any input must end in a result or a file exception, never a crash, a hang or a wild
// allocation.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <vector>

#include "FuzzParcels.h"
#include "ScratchDataDirectory.h"
#include "domains/ConfigDomainTypes.h"
#include "domains/VCodaDomain.h"
#include "domains/VCoioDomain.h"
#include "interface/DomainTable.h"
#include "morvit/VConfigWriters.h"
#include "morvit/VDatabase.h"
#include "morvit/VDomainPath.h"
#include "morvit/VElement.h"

using namespace morvit;

namespace {

using Bytes = std::vector<std::uint8_t>;
using Parts = std::vector<Bytes>;

constexpr std::uint16_t kTypes[] = {kCoioType, kCodaType, kCbdType, kCbpType, kFirstBxdType};

// Touches every byte it is handed, so that a bad element shows under the sanitizers.
class TouchingDatabase : public VDatabase {
 public:
  void Insert(std::uint16_t, VElement* element) override { Touch(element); }
  void InsertBasicObject(std::uint16_t, VElement* element) override { Touch(element); }
  void Update(char* text, TCbxElement element) override {
    m_sum += std::strlen(text) + strnlen(element.name, sizeof element.name) +
             strnlen(element.enumText[0], sizeof element.enumText[0]) +
             strnlen(element.enumText[1], sizeof element.enumText[1]);
  }

 private:
  void Touch(VElement* element) {
    element->SeekToBegin();
    const auto length = static_cast<std::uint16_t>(element->GetLength());
    const auto buffer = element->GetBuffer(length);
    for (std::uint16_t i = 0; i < length; ++i) m_sum += buffer[i];
  }
  std::size_t m_sum = 0;
};

std::vector<VConfigElement> Elements(std::uint16_t code, std::size_t count) {
  std::vector<VConfigElement> elements(count);
  for (VConfigElement& element : elements) element = {code, {1, 2, 3, 4, 5}};
  return elements;
}

CString PartPath(std::uint16_t type, std::uint16_t scope) {
  return VDomainPath().FindFile(fuzzing::DomainParcel(type, scope));
}

// Writes the valid domain of `type` and returns its part files.
Parts WriteValid(std::uint16_t type) {
  fuzzing::ClearScratchDataDirectory();
  std::vector<ObjParcelType> written;
  switch (type) {
    case kCoioType:
      written = VWriteCoio(fuzzing::DomainParcel(type), {3, 7, Elements(864, 3)});
      break;
    case kCodaType: {
      VCodaContent coda;
      coda.nodeName = "NODE";
      coda.options = {{"A", "1"}, {"B", "2"}};
      coda.coleInit = Elements(940, 2);
      coda.evsMfb = Elements(4144, 1);
      coda.hasDat = coda.hasParDat = true;
      coda.dat = {1, 2, 3};
      coda.parDat = {4};
      written = VWriteCoda(fuzzing::DomainParcel(type), coda);
      break;
    }
    case kCbdType:
    case kCbpType: {
      VCbxContent cbx;
      for (std::int32_t i = 0; i < 300; ++i) {
        TCbxElement element{};
        element.typeIndex = (type == kCbdType ? 0 : 7) + i % (type == kCbdType ? 7 : 9);
        const std::string name = "E" + std::to_string(i);
        element.nameLength = static_cast<std::uint16_t>(name.size());
        std::memcpy(element.name, name.data(), name.size());
        std::memcpy(element.enumText[0], "ON", 2);
        cbx.elements.push_back(element);
      }
      cbx.shifts = {{1, 2}};
      written = VWriteCbx(fuzzing::DomainParcel(type), cbx);
      break;
    }
    default: {
      VBxdContent bxd;
      for (std::uint16_t slot : {0, 5, 9}) {
        VBxdProgram program;
        program.slot = slot;
        program.prolog = Elements(608, 2);
        program.sectionB = Elements(452, 1);
        program.sectionC = Elements(664, 1);
        bxd.programs.push_back(program);
      }
      written = VWriteBxd(fuzzing::DomainParcel(type), bxd);
      break;
    }
  }
  Parts parts;
  for (const ObjParcelType& parcel : written) {
    std::ifstream in(PartPath(type, parcel.scope), std::ios::binary);
    parts.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  return parts;
}

const Parts& ValidDomain(std::uint16_t type) {
  static std::map<std::uint16_t, Parts> valid;
  auto it = valid.find(type);
  if (it == valid.end()) it = valid.emplace(type, WriteValid(type)).first;
  return it->second;
}

Parts DamagedDomain(std::uint16_t type, std::uint8_t mode, const std::uint8_t* data,
                    std::size_t size) {
  if (mode & 1) {
    const std::size_t count = 1 + (mode >> 1) % 3;
    Parts parts(count);
    for (std::size_t i = 0; i < size; ++i) parts[i * count / size].push_back(data[i]);
    return parts;
  }
  Parts parts = ValidDomain(type);
  for (std::size_t i = 0; i + 4 <= size; i += 4) {
    Bytes& part = parts[data[i] % parts.size()];
    if (!part.empty())
      part[(std::size_t{data[i + 1]} << 8 | data[i + 2]) % part.size()] = data[i + 3];
  }
  return parts;
}

// COIO and CODA have no class in the manager's type table: they are never generated.
std::unique_ptr<VDomain> MakeDomain(std::uint16_t type) {
  if (type == kCoioType) return std::make_unique<VCoioDomain>();
  if (type == kCodaType) return std::make_unique<VCodaDomain>();
  return CreateDomainForType(type);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::uint16_t type = kTypes[data[0] % std::size(kTypes)];
  const bool decoderTable = type == kCbdType || type == kCbpType;
  const Parts parts = DamagedDomain(type, data[1], data + 2, size - 2);
  fuzzing::ClearScratchDataDirectory();
  for (std::uint16_t scope = 0; scope < parts.size(); ++scope) {
    std::ofstream out(PartPath(type, scope), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(parts[scope].data()),
              static_cast<std::streamsize>(parts[scope].size()));
  }
  TouchingDatabase database;
  try {
    std::unique_ptr<VDomain> domain = MakeDomain(type);
    domain->OpenDomain(fuzzing::DomainParcel(type), &database, kOpenForReading);
    // A decoder table reads what it needs while it hands it over.
    if (!decoderTable) domain->ReadDomain();
    domain->Backtranslate();
  } catch (const CFileException&) {
    // Damaged domains end here.
  }
  try {
    std::unique_ptr<VDomain> domain = MakeDomain(type);
    domain->OpenDomain(fuzzing::DomainParcel(type), nullptr, kOpenForReading);
    domain->ReadDomain();
    domain->WriteDomain(1);
  } catch (const CFileException&) {
    // Damaged domains end here too.
  }
  return 0;
}
