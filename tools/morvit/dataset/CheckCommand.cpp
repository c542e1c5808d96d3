// `morvit check DATA`: every domain of a data set judged by the library (its headers, its parts,
// its own reader), one line per domain that is not sound and per staging file, journal or
// orphan sibling.
#include <iostream>

#include "cli/Commands.h"
#include "cli/Failure.h"
#include "cli/Interrupts.h"
#include "cli/Session.h"
#include "cli/ToolPlatform.h"
#include "dataset/DataSetCheck.h"

namespace morvit::tool {
namespace {

// Exit 0 only when every domain is sound and nothing else needs attention; a directory
// without a domain says so and exits 1.
int Check(const std::string& data) {
  const std::filesystem::path directory = PathFromUtf8(data);
  if (!std::filesystem::exists(directory)) {
    throw Failure(data + ": the data-set directory does not exist");
  }
  if (!std::filesystem::is_directory(directory)) {
    throw Failure(data + ": not a directory (check takes a data-set directory)");
  }
  const CheckResult result = CheckDataSet(directory);
  InterruptMoment("check:report");
  StopIfInterrupted();
  for (const CheckFinding& finding : result.findings) {
    Session::Current().Out() << finding.file << ": " << finding.text << "\n";
    Session::Current().GetReport().AddFinding({"error", finding.file, "", finding.text});
  }
  if (!result.findings.empty()) {
    throw Failure(std::to_string(result.findings.size()) + " of " + std::to_string(result.domains) +
                  " domains and other files need attention");
  }
  if (result.domains == 0) throw Failure(data + ": no domain in this directory");
  Session::Current().Out() << result.domains
                           << (result.domains == 1 ? " domain in " : " domains in ") << result.files
                           << (result.files == 1 ? " file" : " files")
                           << " checked: every one is sound\n";
  return kExitSuccess;
}

}  // namespace

CommandAction AddCheckCommand(CLI::App& app) {
  auto data = std::make_shared<std::string>();
  CLI::App* command = app.add_subcommand(
      "check", "Reads every domain file of a data set as the runs do and reports the damage");
  command->add_option("DATA", *data, "the data-set directory")->required();
  Session::Current().AddReportOption(*command);
  return [data] { return Check(*data); };
}

}  // namespace morvit::tool
