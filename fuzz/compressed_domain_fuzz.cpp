// Reads arbitrary bytes as the part files of a compressed domain (the input's first byte says
// how many parts its rest is cut into) and joins and expands them: any input must end in an
// expanded file or a file exception, never a crash, a hang or a scratch file left behind.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "FuzzParcels.h"
#include "ScratchDataDirectory.h"
#include "files/CompressedDomain.h"
#include "support/DataSetNames.h"

using namespace morvit;

namespace {

constexpr std::uint16_t kType = 3;
constexpr std::size_t kMaxParts = 4;

void WritePart(std::uint16_t scope, const std::uint8_t* data, std::size_t size) {
  std::ofstream out(
      fuzzing::ScratchDataDirectory() + MakeDataSetName(fuzzing::DomainParcel(kType, scope)),
      std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::size_t parts = 1 + data[0] % kMaxParts;
  const std::size_t partSize = (size - 1) / parts;
  for (std::size_t i = 0; i < kMaxParts; ++i) {
    std::filesystem::remove(
        fuzzing::ScratchDataDirectory() +
        MakeDataSetName(fuzzing::DomainParcel(kType, static_cast<std::uint16_t>(i))));
  }
  for (std::size_t i = 0; i < parts; ++i) {
    const std::size_t last = i + 1 == parts ? (size - 1) - partSize * i : partSize;
    WritePart(static_cast<std::uint16_t>(i), data + 1 + partSize * i, last);
  }
  VCommonHeader common;
  VCompressHeader compress;
  VStructureHeader structure;
  VDomainFile file;
  try {
    file.OpenDomain(fuzzing::DomainParcel(kType), CFile::modeRead);
    ReadCompressedDomain(file, {common, compress, structure});
    file.RemoveDomain(VDomainFile::fileExpanded);
  } catch (const CFileException&) {
    // Damaged parts end here; no scratch file may stay (checked below).
  }
  std::string name = MakeDataSetName(fuzzing::DomainParcel(kType));
  name[name.find('.') + 1] = 'Z';
  if (std::filesystem::exists(fuzzing::ScratchDataDirectory() + name)) abort();
  return 0;
}
