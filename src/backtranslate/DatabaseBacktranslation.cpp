// Database back-translation: the configuration domains of a node read in their fixed order and
// handed to the client's database, bracketed by the calls that let the database prepare and
// complete its data, with the sort bracketing around the configuration data.
#include <array>
#include <memory>

#include "backtranslate/RunEvents.h"
#include "domains/ConfigDomainTypes.h"
#include "domains/VBxDDomain.h"
#include "domains/VCbXDomain.h"
#include "domains/VCodaDomain.h"
#include "domains/VCoioDomain.h"
#include "morvit/VDatabase.h"
#include "morvit/VDomainPath.h"
#include "morvit/VManager.h"
#include "util/GPath.h"

using namespace morvit;

namespace morvit {
namespace {

// The sort parcel: type 20, object 0, the version of the CODA domain read.
constexpr std::uint16_t kSortType = 20;
constexpr std::uint16_t kSortObject = 0;

// Files that the sort of a new configuration replaces, beside the sort parcel's file.
constexpr std::array<const char*, 4> kSortSiblings = {"COBIFFFD.C00", "COAIFFFD.C00",
                                                      "COBOFFFD.C00", "COAOFFFD.C00"};

// The newest domain of `type`, scope 0, any object.
ObjParcelType NewestParcel(std::uint16_t type) {
  ObjParcelType parcel{};
  VDomainPath().GenParcel(type, 0, VBASE_ANY_WORD, parcel);
  return parcel;
}

ObjParcelType SortParcel(std::uint16_t codaVersion) {
  ObjParcelType parcel{};
  VDomainPath().GenParcel(kSortType, 0, codaVersion, kSortObject, parcel);
  return parcel;
}

// Opens the newest domain of `type` for reading with the database attached.
template <typename Domain>
std::unique_ptr<Domain> OpenForReading(std::uint16_t type, VDatabase& database, RunEvents& events) {
  auto domain = std::make_unique<Domain>();
  events.OpenForReading(*domain, NewestParcel(type), &database);
  return domain;
}

// Deletes the sort parcel's file and its four siblings; one that does not exist or cannot be
// deleted is passed over.
void RemoveSortFiles(const ObjParcelType& sortParcel) {
  const CString sortFile = VDomainPath().FindFile(sortParcel);
  const CString directory = GPath(sortFile, 1).GetDirectory();
  std::array<CString, 1 + kSortSiblings.size()> paths{sortFile};
  for (std::size_t i = 0; i < kSortSiblings.size(); ++i)
    paths[i + 1] = directory + kSortSiblings[i];
  for (const CString& path : paths) {
    try {
      CFile::Remove(path);
    } catch (const CFileException&) {
      // Not there, or not deletable: the sort starts without it.
    }
  }
}

}  // namespace
}  // namespace morvit

int VManager::DBBacktranslate() {
  if (m_pDatabase == nullptr) return 0;
  VDatabase& database = *m_pDatabase;
  RunEvents events;
  database.Initialize();

  ObjParcelType sortParcel{};
  bool sortCleared = false;
  try {
    {
      auto coio = OpenForReading<VCoioDomain>(kCoioType, database, events);
      coio->ReadDomain();
      if (events.HandOver(*coio) == 0) return 0;
    }
    auto coda = OpenForReading<VCodaDomain>(kCodaType, database, events);
    coda->ReadDomain();
    sortParcel = SortParcel(coda->GetFile().GetParcel().version);
    RemoveSortFiles(sortParcel);
    database.ClearSort(&sortParcel);
    sortCleared = true;
    const int result = events.HandOver(*coda);
    coda.reset();
    sortCleared = false;
    database.BackupSort(sortParcel);
    if (result == 0) return 0;
  } catch (const CFileException& e) {
    if (sortCleared) database.BackupSort(sortParcel);
    return events.StoppedByFile(e);
  }

  // The decoder and BxD domains are optional: a configuration has those it needs.
  for (const std::uint16_t type : {kCbdType, kCbpType}) {
    const int result = events.SkippingMissing(
        type,
        [&] {
          // Its back-translation reads only what it needs; its reader, on an object of its
          // own, reads it whole first, as `morvit check` does: a table that the reader calls
          // damaged is not handed over in part.
          const auto open = [&] {
            return type == kCbdType ? std::unique_ptr<VCbXDomain>(
                                          OpenForReading<VCbDDomain>(type, database, events))
                                    : std::unique_ptr<VCbXDomain>(
                                          OpenForReading<VCbPDomain>(type, database, events));
          };
          open()->ReadDomain();
          return events.HandOver(*open());
        },
        true);
    if (result == 0) return 0;
  }

  if (database.GenerateBoteDomain() == 0) return events.StoppedByAnswer("GenerateBoteDomain");
  for (std::uint16_t type = kFirstBxdType; type <= kLastBxdType; ++type) {
    const int result = events.SkippingMissing(
        type,
        [&] {
          auto bxd = OpenForReading<VBxDDomain>(type, database, events);
          bxd->ReadDomain();
          return events.HandOver(*bxd);
        },
        true);
    if (result == 0) return 0;
  }

  database.InsertConnections();
  database.SetConfigPitch();
  return database.CompleteRIOs() == 0 ? events.StoppedByAnswer("CompleteRIOs") : 1;
}
