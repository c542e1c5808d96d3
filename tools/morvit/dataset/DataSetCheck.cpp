// Checking a data set through the library's inventory and verdicts.
#include "dataset/DataSetCheck.h"

#include "cli/Interrupts.h"
#include "cli/ToolPlatform.h"
#include "dataset/PrivateView.h"

namespace morvit::tool {

CheckResult CheckDataSet(const std::filesystem::path& directory) {
  VDataSetInventory inventory = VReadDataSet(Utf8(directory));
  {
    const PrivateView view(directory);
    InterruptMoment("check:view");
    StopIfInterrupted();
    InterruptMoment("check:read");
    VJudgeDomains(inventory, Utf8(view.Data()));
    StopIfInterrupted();
  }
  CheckResult result;
  result.domains = inventory.domains.size();
  for (const VDataSetDomain& domain : inventory.domains) {
    result.files += domain.parts.size();
    if (domain.verdict != VVerdict::sound) {
      result.findings.push_back({domain.file, VDescribeVerdict(domain)});
    }
  }
  for (const VDataSetFile& file : inventory.others) {
    ++result.files;
    if (file.role == VFileRole::damagedTable) {
      result.findings.push_back({file.name, "damaged: " + file.note});
    }
    if (file.role == VFileRole::staging || file.role == VFileRole::journal ||
        file.role == VFileRole::orphan) {
      const char* kind = file.role == VFileRole::staging   ? "stale staging file"
                         : file.role == VFileRole::journal ? "journal"
                                                           : "orphan";
      result.findings.push_back({file.name, std::string(kind) + ": " + file.note});
    }
  }
  return result;
}

}  // namespace morvit::tool
