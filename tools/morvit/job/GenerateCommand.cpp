// `morvit generate JOB.json`: builds the domains a JSON job describes and prints the parcels
// written. The job is read twice as a stream: checked whole first (JobCheck.h), then generated
// record by record, so a job of any size takes memory for one record at a time. The job format
// is documented in docs/job-format.md and docs/jobs.md; examples/job.json is a complete one.
#include <array>
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
#include "morvit/VBase.h"
#include "morvit/VDomainPath.h"
#include "morvit/VHostServices.h"

namespace morvit::tool {
namespace {

// Room for every file a domain may write: a REBA splits into parts, at most 100 scopes.
constexpr std::uint16_t kHighestParcel = 99;

struct GenerateOptions {
  std::string job;
  Directories directories;
};

// A node's file list comes with it: its parcels are of type 119 (a CNOD's) or 120 (an RNOD's).
const char* DomainName(std::uint16_t type) {
  if (const CInterfaceType* known = FindCInterfaceType(type)) return known->name;
  if (const WriterType* known = FindWriterType(type)) return known->name;
  return type == 119 || type == 120 ? "XBFI" : "?";
}

// A file written: a line for people and an entry of the report.
void PrintParcel(const ObjParcelType& parcel) {
  VDomainPath path;
  const CString full = path.FindFile(parcel);
  const std::size_t slash = full.find_last_of('/');
  Session::Current().GetReport().AddFile(full, DomainName(parcel.domainType), parcel);
  Session::Current().Out() << full.substr(slash == CString::npos ? 0 : slash + 1) << "  "
                           << DomainName(parcel.domainType) << "  type " << parcel.domainType
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
    const auto* pattern = values.size() == 2 ? std::get_if<CString>(&values[0]) : nullptr;
    const auto* searched = values.size() == 2 ? std::get_if<CString>(&values[1]) : nullptr;
    if (number != kMessageNoFileMatched || pattern == nullptr || searched == nullptr) {
      VHostServices::WriteMessage(number, values);
      return;
    }
    Warn("the node file pattern " + *pattern + " matches no file" +
         (searched->empty() ? " (its search kinds name no directory)" : " in " + *searched));
  }
};

// The data-set directory the library writes into, for messages.
std::string DataSetDirectoryName() {
  const char* setting = std::getenv("MORVIT_DATA_DIR");
  return setting != nullptr && *setting != '\0' ? setting : Utf8(std::filesystem::current_path());
}

// The generating pass over a checked job: each domain's records handed to the library as they
// are read, a writer type's domain written once it has been read. A failure names the domain;
// the manager removes the files of a domain that was not finished.
class DomainWriter : public JobUnitSink {
 public:
  DomainWriter(const std::vector<CheckedDomain>& domains, VManager* manager)
      : m_domains(domains), m_manager(manager) {}

  void Item(std::size_t domain, const std::string& member, JobUnit& item) override {
    const CInterfaceType* type = m_domains.at(domain).type.viaInterface;
    if (type == nullptr || member != type->list) return;
    StopWhenInterrupted(domain);
    Start(domain);
    InterruptMoment("generate:insert");  // the first record handed over
    SectionList list;
    type->buildItem(JobValue{item.value, item.path}, list);
    Insert(domain, list);
  }

  void Domain(std::size_t domain, JobUnit& head) override {
    if (domain == 1) InterruptMoment("generate:domain");
    StopWhenInterrupted(domain);
    const CheckedDomain& checked = m_domains.at(domain);
    const JobValue value{head.value, head.path};
    if (checked.type.viaWriter) {
      for (const ObjParcelType& written :
           checked.type.viaWriter->generate(value, checked.parcel, true)) {
        PrintParcel(written);
      }
      ++m_finished;
      return;
    }
    const CInterfaceType& type = *checked.type.viaInterface;
    Start(domain);
    if (type.buildTail != nullptr) {
      SectionList list;
      type.buildTail(value, list);
      Insert(domain, list);
    }
    std::array<ObjParcelType, kHighestParcel + 1> parcels{};
    std::uint16_t count = 0;
    Check(domain, VBase_PutFinishEx(m_manager, type.type, &count, kHighestParcel, parcels.data()),
          "finish");
    for (std::uint16_t i = 0; i < count; ++i) PrintParcel(parcels[i]);
    ++m_finished;
  }

  void Job(JobUnit&) override {}

  // Domains finished so far.
  std::size_t Finished() const { return m_finished; }

 private:
  // Ctrl-C stops between domains or at the next insert: the domain under way is never
  // finished, and the manager removes what it staged.
  void StopWhenInterrupted(std::size_t domain) const {
    if (!Interrupted()) return;
    throw InterruptedRun("interrupted: " + std::to_string(m_finished) + " of " +
                         std::to_string(m_domains.size()) + " domains finished; domains[" +
                         std::to_string(domain) + "] and the ones after it were not generated");
  }

  void Start(std::size_t domain) {
    if (m_started == domain) return;
    m_started = domain;
    const CheckedDomain& checked = m_domains.at(domain);
    Check(domain, VBase_PutStart(m_manager, checked.type.Number(), checked.parcel), "start");
  }

  void Insert(std::size_t domain, SectionList& list) {
    for (TSectionInfo& record : list.records) {
      Check(domain, VBase_Insert(m_manager, m_domains.at(domain).type.Number(), &record), "insert");
    }
  }

  // A failed step in the library's own words: the check or the file and the system's reason.
  void Check(std::size_t domain, std::int16_t status, const char* step) const {
    if (status == VBASE_STATUS_OK) return;
    const std::string reason = VBase_GetLastFailure(m_manager);
    throw Failure("domains[" + std::to_string(domain) + "] (" + m_domains.at(domain).type.Name() +
                  "): " + step +
                  " failed: " + (reason.empty() ? VBase_StatusText(status) : reason) +
                  " (data set " + DataSetDirectoryName() + ")");
  }

  const std::vector<CheckedDomain>& m_domains;
  VManager* m_manager;
  std::size_t m_started = SIZE_MAX;
  std::size_t m_finished = 0;
};

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
  DomainWriter writer(domains, manager.get());
  JobFaults changed(source.Name());
  try {
    source.Read(writer, changed);
  } catch (const InterruptedRun&) {
    manager.reset();  // removes the files of the domain that was not finished
    throw;
  }
  if (!changed.Empty()) throw Failure(source.Name() + ": the job changed while it was generated");
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
