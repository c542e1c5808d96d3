// Parcels, paths and words for the tests of domains on disk.
#include "support/DomainFiles.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "support/DataSetNames.h"

namespace testutil {

ObjParcelType DomainParcel(std::uint16_t type, std::uint16_t objectNumber, std::uint16_t version) {
  ObjParcelType parcel{};
  parcel.objectNumber = objectNumber;
  parcel.classLetter = 'C';
  parcel.domainType = type;
  parcel.version = version;
  parcel.timeStamp[0] = 24;
  parcel.timeStamp[1] = 5;
  parcel.timeStamp[2] = 17;
  return parcel;
}

std::string DomainFilePath(FakeHost& host, ObjParcelType parcel, std::uint16_t scope, char letter) {
  parcel.scope = scope;
  std::string name = MakeDataSetName(parcel);
  name[name.find('.') + 1] = letter;
  return host.DataDirectory() + name;
}

std::string StagedFilePath(FakeHost& host, ObjParcelType parcel, std::uint16_t scope, char letter) {
  return DomainFilePath(host, parcel, scope, letter) + "~" + std::to_string(getpid());
}

std::uint16_t WordAt(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
  return static_cast<std::uint16_t>(bytes.at(offset) * 256 + bytes.at(offset + 1));
}

std::vector<ObjParcelType> GenerateDomain(VDomain& domain, const ObjParcelType& parcel) {
  domain.OpenDomain(parcel, nullptr, kOpenForGeneration);
  domain.WriteDomain(0);
  std::vector<ObjParcelType> parcels(8);
  std::uint16_t count = 0;
  domain.CloseDomain(&count, 7, parcels.data());
  parcels.resize(count);
  return parcels;
}

std::vector<std::string> DataFileNames(FakeHost& host) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(host.DataDirectory())) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace testutil
