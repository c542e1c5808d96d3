// The verdicts that need a domain's own reader: each domain whose headers are sound is read as
// the back-translation runs read it; each PC data table is listed as the dump lists it.
#include "dump/DumpDriver.h"
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
  // A reader that stops in another domain's file (a node in its file list) proves that file
  // damaged as well: the file's own domain gets the verdict too, so that every command, and a
  // run that names the file, agree on it.
  for (std::size_t i = 0; i < inventory.domains.size(); ++i) {
    const VDataSetDomain& reader = inventory.domains[i];
    if (reader.verdict != VVerdict::damaged || reader.causeFile.empty()) continue;
    const VDataSetDomain* found = VFindDomainOfFile(inventory, reader.causeFile);
    if (found == nullptr || found == &reader || found->verdict != VVerdict::sound) continue;
    VDataSetDomain& owner =
        inventory.domains[static_cast<std::size_t>(found - inventory.domains.data())];
    owner.verdict = VVerdict::damaged;
    owner.cause = "the reader of " + reader.file +
                  " stops in it: " + reader.cause.substr(reader.cause.find(": ") + 2);
    owner.causeFile = reader.causeFile;
  }
  // The dump's listing of a table, its events dropped: where it stops short, the table cannot
  // be listed in full.
  morvit::VListingSink dropped;
  for (VDataSetFile& file : inventory.others) {
    if (file.role != VFileRole::table) continue;
    const CString stop = morvit::ListThroughDriver(directory, file.name, dropped);
    if (stop.empty()) continue;
    file.role = VFileRole::damagedTable;
    file.note = "a PC data table that cannot be listed in full: " + stop;
  }
}
