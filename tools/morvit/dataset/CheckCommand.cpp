// `morvit check DATA`: every domain file of a data set read as the runs read it, one line per
// file that is damaged, incomplete, a stale staging file or an orphan sibling.
#include <iostream>

#include "cli/Commands.h"
#include "cli/Failure.h"
#include "cli/Interrupts.h"
#include "cli/Session.h"
#include "cli/ToolPlatform.h"
#include "dataset/DataSetCheck.h"

namespace morvit::tool {
namespace {

int Check(const std::string& data) {
  if (!std::filesystem::is_directory(PathFromUtf8(data))) {
    throw Failure(data + ": the data-set directory does not exist");
  }
  int findings = 0;
  std::size_t files = 0;
  const std::vector<FileState> states = CheckDataSet(PathFromUtf8(data));
  InterruptMoment("check:report");
  StopIfInterrupted();
  for (const FileState& state : states) {
    ++files;
    if (state.kind == FileState::kClean) continue;
    ++findings;
    Session::Current().Out() << state.file << ": " << KindName(state.kind) << ": " << state.text
                             << "\n";
    Session::Current().GetReport().AddFinding(
        {"error", state.file, "", KindName(state.kind) + std::string(": ") + state.text});
  }
  if (findings != 0) {
    throw Failure(std::to_string(findings) + " of " + std::to_string(files) +
                  " files need attention");
  }
  Session::Current().Out() << files << " files checked: every one reads cleanly\n";
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
