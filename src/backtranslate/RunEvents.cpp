// The verdict a run asks before it reads a domain: that of its headers, as `check` gives it.
#include "backtranslate/RunEvents.h"

#include "files/DataSetInventory.h"
#include "morvit/VDomainPath.h"

namespace morvit {

void RunEvents::RequireSound(const CString& path) {
  const std::string verdict = JudgeDomainHeaders(path);
  if (verdict.empty()) return;
  CFileException failure(CFileException::invalidFile, -1, path);
  failure.m_strReason = verdict;
  throw failure;
}

void RunEvents::OpenForReading(VDomain& domain, const ObjParcelType& parcel,
                               VDatabase* database) {
  CString path;
  try {
    path = VDomainPath().FindFile(parcel);
  } catch (const CFileException& e) {
    m_noFile = e.m_cause == CFileException::fileNotFound;
    throw;
  }
  RequireSound(path);
  domain.OpenDomain(parcel, database, kOpenForReading);
}

}  // namespace morvit
