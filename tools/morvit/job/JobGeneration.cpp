// Generating a checked job through the library: shared by `morvit generate` and the Python
// module, so that both write the same files and fail with the same words.
#include "job/JobGeneration.h"

#include <array>
#include <utility>

#include "cli/Failure.h"
#include "cli/Interrupts.h"
#include "morvit/VBase.h"

namespace morvit::tool {
namespace {

// Room for every file a domain may write: a REBA splits into parts, at most 100 scopes.
constexpr std::uint16_t kHighestParcel = 99;

// The generating pass over a checked job: each domain's records handed to the library as they
// are read, a writer type's domain written once it has been read. A failure names the domain;
// the manager removes the files of a domain that was not finished.
class DomainWriter : public JobUnitSink {
 public:
  DomainWriter(const std::vector<CheckedDomain>& domains, VManager* manager,
               const std::function<void(const ObjParcelType&)>& written, std::string dataSet)
      : m_domains(domains), m_manager(manager), m_written(written), m_dataSet(std::move(dataSet)) {}

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
        m_written(written);
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
    for (std::uint16_t i = 0; i < count; ++i) m_written(parcels[i]);
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
    std::string reason = VBase_GetLastFailure(m_manager);
    if (reason.empty()) reason = VBase_StatusText(status);
    throw StepFailure("domains[" + std::to_string(domain) + "] (" +
                          m_domains.at(domain).type.Name() + "): " + step + " failed: " + reason +
                          " (data set " + m_dataSet + ")",
                      status, reason);
  }

  const std::vector<CheckedDomain>& m_domains;
  VManager* m_manager;
  const std::function<void(const ObjParcelType&)>& m_written;
  std::string m_dataSet;
  std::size_t m_started = SIZE_MAX;
  std::size_t m_finished = 0;
};

}  // namespace

std::optional<std::string> GenerationWarning(int number, const std::vector<VMessageValue>& values) {
  const auto* pattern = values.size() == 2 ? std::get_if<CString>(&values[0]) : nullptr;
  const auto* searched = values.size() == 2 ? std::get_if<CString>(&values[1]) : nullptr;
  if (number != kMessageNoFileMatched || pattern == nullptr || searched == nullptr) {
    return std::nullopt;
  }
  return "the node file pattern " + *pattern + " matches no file" +
         (searched->empty() ? " (its search kinds name no directory)" : " in " + *searched);
}

const char* WrittenDomainName(std::uint16_t type) {
  if (const CInterfaceType* known = FindCInterfaceType(type)) return known->name;
  if (const WriterType* known = FindWriterType(type)) return known->name;
  // A node's file list comes with it: its parcels are of type 119 (a CNOD's) or 120 (an RNOD's).
  return type == 119 || type == 120 ? "XBFI" : "?";
}

void GenerateCheckedJob(JobSource& source, const std::vector<CheckedDomain>& domains,
                        VManager& manager, const std::function<void(const ObjParcelType&)>& written,
                        const std::string& dataSet) {
  DomainWriter writer(domains, &manager, written, dataSet);
  JobFaults changed(source.Name());
  source.Read(writer, changed);
  if (!changed.Empty()) throw Failure(source.Name() + ": the job changed while it was generated");
}

}  // namespace morvit::tool
