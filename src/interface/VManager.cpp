// VManager: the open-domain map and the generation steps on it.
#include "morvit/VManager.h"

#include "backtranslate/NodeBacktranslation.h"
#include "backtranslate/PCBacktranslation.h"
#include "domains/VDomain.h"
#include "dump/ClassDump.h"
#include "interface/DomainTable.h"

using namespace morvit;

VManager::VManager(VDatabase* database) : VManager(database, CreateDomainForType) {}

VManager::VManager(VDatabase* database, DomainFactory factory)
    : m_pDatabase(database), m_factory(std::move(factory)) {}

VManager::~VManager() {
  for (auto& [type, domain] : m_mapDomains) {
    try {
      domain->RemoveDomain();
    } catch (const CFileException&) {
      // A file that cannot be removed stays behind; the destructor has no caller to tell.
    }
  }
}

void VManager::CreateDomain(std::uint16_t type, ObjParcelType parcel) {
  if (m_mapDomains.count(type) != 0) return;
  std::unique_ptr<VDomain> domain = m_factory(type);
  if (!domain) return;
  // A domain of several files whose later open fails takes the files it created with it.
  {
    const DiscardFilesOnFailure guard(*domain);
    domain->OpenDomain(parcel, nullptr, kOpenForGeneration);
  }
  m_mapDomains.emplace(type, std::move(domain));
}

void VManager::Insert(std::uint16_t type, TSectionInfo* section) {
  if (VDomain* domain = FindDomain(type)) domain->InsertSection(section);
}

void VManager::DumpAndFreeDomain(std::uint16_t type, std::uint16_t* parcelCount,
                                 ObjParcelType* parcels, int listing) {
  const std::uint16_t highestIndex = *parcelCount;
  *parcelCount = 0;
  auto it = m_mapDomains.find(type);
  if (it == m_mapDomains.end()) return;
  // The domain leaves the map first, so that a failure below still frees it and a later
  // CreateDomain for the type starts afresh. A failed finish leaves nothing of the domain on
  // disk and reports no parcel: a partly written file under the domain's name would be taken
  // for the newest version of the domain by the next reader.
  std::unique_ptr<VDomain> domain = std::move(it->second);
  m_mapDomains.erase(it);
  const DiscardFilesOnFailure guard(*domain, parcelCount, 0);
  domain->WriteDomain(listing);
  domain->CloseDomain(parcelCount, highestIndex, parcels);
}

VDomain* VManager::FindDomain(std::uint16_t type) const {
  auto it = m_mapDomains.find(type);
  return it == m_mapDomains.end() ? nullptr : it->second.get();
}

int VManager::PCBacktranslate() {
  if (m_pDatabase == nullptr) return 0;
  return RunPCBacktranslation(*m_pDatabase);
}

void VManager::DumpDomain(CString path) { ClassDump(path, m_factory); }

int VManager::NodeBacktranslate(CString& nodeName, int option) {
  return BacktranslateNode(nodeName, option);
}

int VManager::LibsODBSuitLibsTarget() { return CheckNodeLibraries(); }
