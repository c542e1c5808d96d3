// The verdict a run asks before it hands a domain over: the same as `check` gives, from the
// inventory of the domain's directory.
#include "backtranslate/RunEvents.h"

#include "morvit/VDomainPath.h"

namespace morvit {

void RunEvents::RequireSound(const CString& path) {
  const std::size_t separator = path.find_last_of("/\\");
  const CString directory = separator == CString::npos ? CString(".") : path.substr(0, separator);
  auto& inventory = m_inventories[directory];
  if (inventory == nullptr) {
    try {
      inventory = std::make_shared<const VDataSetInventory>(VReadDataSet(directory));
    } catch (const CFileException&) {
      // A directory that cannot be listed: the reader has read the file; it stands.
      inventory = std::make_shared<const VDataSetInventory>();
    }
  }
  const VDataSetDomain* domain = VFindDomainOfFile(*inventory, FileName(path));
  if (domain == nullptr || domain->verdict == VVerdict::sound) return;
  CFileException failure(CFileException::invalidFile, -1, path);
  failure.m_strReason = VDescribeVerdict(*domain);
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
