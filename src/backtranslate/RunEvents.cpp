// The verdict a run asks before it reads a domain: that of its headers, as `check` gives it.
#include "backtranslate/RunEvents.h"

#include "files/DataSetInventory.h"
#include "morvit/VDomainPath.h"

namespace morvit {

void RunEvents::RequireSound(const CString& path) {
  const HeaderVerdict verdict = JudgeDomainHeaders(path);
  if (verdict.text.empty()) return;
  throw CFileException(verdict.cause, -1, verdict.file, verdict.text);
}

void RunEvents::OpenForReading(VDomain& domain, const ObjParcelType& parcel, VDatabase* database) {
  CString path;
  try {
    path = VDomainPath().FindFile(parcel);
  } catch (const CFileException& e) {
    m_noFile = e.m_cause == CFileException::fileNotFound;
    throw;
  }
  m_reading = FileName(path);
  RequireSound(path);
  domain.OpenDomain(parcel, database, kOpenForReading);
}

}  // namespace morvit
