// The check behind `morvit check`: the library's inventory of a data set with the verdicts of
// the domains' own readers, run on a private view (the data set stays as it is).
#ifndef MORVIT_TOOL_DATASETCHECK_H
#define MORVIT_TOOL_DATASETCHECK_H

#include <filesystem>
#include <string>
#include <vector>

#include "morvit/VDataSet.h"

namespace morvit::tool {

// One line of the check: a file and what it is, when it needs attention.
struct CheckFinding {
  std::string file;
  std::string text;  // "damaged: cut short: ... (RB000001.C01, byte 0)"
};

struct CheckResult {
  std::size_t domains = 0;  // every domain judged
  std::size_t files = 0;    // every file looked at
  std::vector<CheckFinding>
      findings;  // domains that are not sound, staging files, journals, orphans
};

CheckResult CheckDataSet(const std::filesystem::path& directory);

}  // namespace morvit::tool

#endif  // MORVIT_TOOL_DATASETCHECK_H
