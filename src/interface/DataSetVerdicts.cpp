// The verdicts that need a domain's own reader: each domain whose headers are sound is read as
// the back-translation runs read it.
#include "morvit/VDataSet.h"
#include "morvit/VManager.h"

void VJudgeDomains(VDataSetInventory& inventory, const CString& readDirectory) {
  CString directory = readDirectory;
  if (!directory.empty() && directory.back() != '/' && directory.back() != '\\') directory += '/';
  VManager manager(nullptr);
  for (VDataSetDomain& domain : inventory.domains) {
    if (domain.verdict != VVerdict::sound) continue;
    const CFileException failure = manager.CheckDomainFile(directory + domain.file);
    if (failure.m_cause == CFileException::none) continue;
    const std::size_t slash = failure.m_strFileName.find_last_of("/\\");
    const CString file =
        slash == CString::npos ? failure.m_strFileName : failure.m_strFileName.substr(slash + 1);
    CFileException unnamed = failure;
    unnamed.m_strFileName.clear();
    domain.verdict = VVerdict::damaged;
    domain.cause = "its reader stops: " + DescribeFileException(unnamed);
    domain.causeFile = file.empty() ? domain.file : file;
  }
}
