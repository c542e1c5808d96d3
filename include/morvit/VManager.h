// VManager: owns the open domains of a generation (at most one per domain type), creates the
// domain class for a type number, and carries the client's database for back-translation.
#ifndef MORVIT_VMANAGER_H
#define MORVIT_VMANAGER_H

#include <cstdint>
#include <functional>
#include <map>
#include <memory>

#include "morvit/VBase.h"
#include "morvit/VDumpResult.h"
#include "morvit/platform.h"

class VDatabase;
// The library's domain classes are internal: clients see them only through this interface.
namespace morvit {
class VDomain;
}

class MORVIT_API VManager : public CObject {
 public:
  // Makes the domain object for a type number, or null for a type without a class.
  using DomainFactory = std::function<std::unique_ptr<morvit::VDomain>(std::uint16_t type)>;

  explicit VManager(VDatabase* database = nullptr);
  // A manager whose domains come from `factory` instead of the library's type table.
  VManager(VDatabase* database, DomainFactory factory);
  VManager(const VManager&) = delete;
  VManager& operator=(const VManager&) = delete;
  // Removes (deletes the files of) and destroys every domain still open.
  ~VManager() override;

  // Creates and opens the domain for `type` unless one is open already.
  void CreateDomain(std::uint16_t type, ObjParcelType parcel);
  // Hands the section to the open domain of `type`; nothing if none is open.
  void Insert(std::uint16_t type, TSectionInfo* section);
  // Writes, closes and destroys the domain of `type`. On entry *parcelCount is the highest
  // parcel index; on return it is the number of parcels written.
  void DumpAndFreeDomain(std::uint16_t type, std::uint16_t* parcelCount, ObjParcelType* parcels,
                         int listing);
  // Lists the domain file at `path` into its 'D' sibling through its domain class (types 1, 3,
  // 44, 46, 78, 116 to 118 whose class the manager has; nothing for 119 and 120). Raises
  // file-not-found for any other type; failures while reading or listing a known type end the
  // dump without a listing and are not raised.
  void DumpDomain(CString path);
  // Lists the domain file at `path` beside it as VBase_DumpDomain does (the domain class where
  // its type has one, else the dump driver) and says what happened. Never raises.
  VDumpResult DumpDomainFile(const CString& path);
  // Reads the domain file at `path` as the runs read it (its headers, its part files, their
  // expansion, its type's own reader where there is one) and lists nothing; reading a compressed
  // domain writes its expanded sibling, as it does in a run. The failure met, or one with cause
  // CFileException::none when the file reads cleanly. Never raises.
  CFileException CheckDomainFile(const CString& path);
  // The open domain of `type`, or null.
  morvit::VDomain* FindDomain(std::uint16_t type) const;

  // Rebuilds the database's PC program from its domains: 1 when the run completed, 0 when it
  // stopped (also at once without a database).
  int PCBacktranslate();
  // Restores the node's files from its CNOD and RNOD domains (`option`: the node-mode flag)
  // and puts the name of its initialisation file into `nodeName` ("TESTNODE.INI" without a
  // CNOD domain). 1: restored, or no CNOD domain at all; 0: a node domain exists but cannot be
  // read or restored.
  int NodeBacktranslate(CString& nodeName, int option);
  // 1 when the node's library files match the object database; 0 when they do not (each
  // mismatch written as message 2455) or the CNOD domain cannot be read.
  int LibsODBSuitLibsTarget();
  // Database back-translation: rebuilds the database's configuration from the COIO, CODA, CbD,
  // CbP and BxD domains of the data-set directory. 1 when the run completed, 0 when it stopped
  // (a domain's back-translation or the database said stop, the user cancelled, the COIO or
  // CODA domain could not be read). A manager without a database has nothing to rebuild: 0.
  int DBBacktranslate();

  VDatabase* GetDatabase() const { return m_pDatabase; }

  // The specific reason of the last failed generation step on this manager (VBase_PutStart,
  // VBase_Insert, VBase_PutFinish(Ex)): the step, the domain type, the file and the system's
  // or the library's reason, in words for a user; empty when the last step succeeded.
  const CString& GetLastFailure() const { return m_strLastFailure; }
  void SetLastFailure(CString text) { m_strLastFailure = std::move(text); }

 private:
  VDatabase* m_pDatabase;
  DomainFactory m_factory;
  std::map<std::uint16_t, std::unique_ptr<morvit::VDomain>> m_mapDomains;
  CString m_strLastFailure;
};

#endif  // MORVIT_VMANAGER_H
