// `morvit generate JOB.json`: builds the domains a JSON job describes and prints the parcels
// written. The job is read twice as a stream: checked whole first (JobCheck.h), then generated
// record by record, so a job of any size takes memory for one record at a time. The job format
// is documented in docs/job-format.md and docs/jobs.md; examples/job.json is a complete one.
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>

#include "cli/Commands.h"
#include "cli/Failure.h"
#include "cli/Interrupts.h"
#include "cli/ProgressBar.h"
#include "cli/ScopedHost.h"
#include "cli/Session.h"
#include "cli/StandardStreams.h"
#include "cli/ToolPlatform.h"
#include "job/JobCheck.h"
#include "job/JobGeneration.h"
#include "morvit/VBase.h"
#include "morvit/VDomainPath.h"
#include "morvit/VHostServices.h"

namespace morvit::tool {
namespace {

struct GenerateOptions {
  std::string job;
  Directories directories;
};

// A file written: a line for people and an entry of the report.
void PrintParcel(const ObjParcelType& parcel) {
  VDomainPath path;
  const CString full = path.FindFile(parcel);
  const std::size_t slash = full.find_last_of('/');
  Session::Current().GetReport().AddFile(full, WrittenDomainName(parcel.domainType), parcel);
  Session::Current().Out() << full.substr(slash == CString::npos ? 0 : slash + 1) << "  "
                           << WrittenDomainName(parcel.domainType) << "  type " << parcel.domainType
                           << "  scope " << parcel.scope << "  version " << parcel.version
                           << "  object " << parcel.objectNumber << "  " << parcel.length
                           << " bytes\n";
  // A reader of standard output that went away, or a full disk under it, ends the run here.
  CheckStandardOutput();
}

// A node's file pattern that matches nothing becomes the tool's warning; every other message
// stays the library's.
class GenerateHost : public ScopedHost {
 public:
  void WriteMessage(int number, const std::vector<VMessageValue>& values) override {
    if (const std::optional<std::string> warning = GenerationWarning(number, values)) {
      Warn(*warning);
    } else {
      VHostServices::WriteMessage(number, values);
    }
  }
};

// The data-set directory the library writes into, for messages.
std::string DataSetDirectoryName() {
  const char* setting = std::getenv("MORVIT_DATA_DIR");
  return setting != nullptr && *setting != '\0' ? setting : Utf8(std::filesystem::current_path());
}

int Generate(const GenerateOptions& options) {
  JobSource source(options.job);
  // The whole job is checked before the first file is written.
  JobFaults faults(source.Name());
  // A large job takes a while to check: its progress on a terminal.
  ProgressBar bar(std::cerr, ProgressBar::StyleForStandardError(Session::Current().Quiet(),
                                                                Session::Current().Verbose()));
  source.ShowProgress(&bar, "checking " + source.Name());
  const std::vector<CheckedDomain> domains = CheckJob(source, faults);
  source.ShowProgress(nullptr, "");
  bar.Finish();
  InterruptMoment("generate:check");
  StopIfInterrupted();
  if (!faults.Empty()) {
    for (const std::string& line : faults.Lines()) std::cerr << line << "\n";
    for (const PlacedFault& fault : faults.Faults()) {
      Session::Current().GetReport().AddFinding({"error", source.Name(),
                                                 std::to_string(fault.place.line) + ":" +
                                                     std::to_string(fault.place.column) +
                                                     (fault.path.empty() ? "" : " " + fault.path),
                                                 fault.what});
    }
    const std::string count = std::to_string(faults.Count());
    throw Failure(source.Name() + ": " + (faults.Full() ? "stopped after " + count : count) +
                  (faults.Count() == 1 ? " fault" : " faults") + "; nothing written");
  }
  // The data directory is where the job's files go: made when missing.
  if (!options.directories.data.empty()) {
    std::filesystem::create_directories(PathFromUtf8(options.directories.data));
  }
  UseDirectories(options.directories);
  std::unique_ptr<VManager, void (*)(VManager*)> manager(
      VBase_CreateManager(), [](VManager* m) { VBase_DeleteManager(&m); });
  if (!manager) throw Failure("cannot create a domain manager");
  Session::Current().Note("job checked: " + std::to_string(domains.size()) + " domains");
  InterruptWatch interrupts;
  GenerateHost host;
  try {
    GenerateCheckedJob(source, domains, *manager, PrintParcel, DataSetDirectoryName());
  } catch (const InterruptedRun&) {
    manager.reset();  // removes the files of the domain that was not finished
    throw;
  }
  return kExitSuccess;
}

}  // namespace

CommandAction AddGenerateCommand(CLI::App& app) {
  auto options = std::make_shared<GenerateOptions>();
  CLI::App* command =
      app.add_subcommand("generate", "Builds the domain files a JSON job describes");
  command
      ->add_option("JOB", options->job,
                   "the job file, - for standard input (format in docs/job-format.md)")
      ->required();
  AddDirectoryOptions(*command, options->directories);
  Session::Current().AddReportOption(*command);
  return [options] { return Generate(*options); };
}

}  // namespace morvit::tool
