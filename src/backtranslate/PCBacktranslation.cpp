// The PC program back-translation run: its order of domains, its parcels, its sorts and what
// stops it.
#include "backtranslate/PCBacktranslation.h"

#include <functional>
#include <memory>

#include "backtranslate/RunEvents.h"
#include "domains/VBobaDomain.h"
#include "domains/VNobaDomain.h"
#include "domains/VPobaDomain.h"
#include "domains/VPodeDomain.h"
#include "domains/VRebaDomain.h"
#include "domains/VRedeDomain.h"
#include "domains/VTadeDomain.h"
#include "morvit/VDatabase.h"
#include "morvit/VDomainPath.h"
#include "support/DomainTypes.h"

namespace morvit {

namespace {

// Domain types read or removed by the run.
constexpr std::uint16_t kNoba = DomainTypeOf("NB");
constexpr std::uint16_t kRelo = DomainTypeOf("RL");
constexpr std::uint16_t kReba = DomainTypeOf("RB");
constexpr std::uint16_t kPolo = DomainTypeOf("PO");
constexpr std::uint16_t kPoba = DomainTypeOf("PB");
// In the order they are read.
constexpr std::uint16_t kBobaTypes[] = {DomainTypeOf("B2"), DomainTypeOf("B1"), DomainTypeOf("B3")};
constexpr std::uint16_t kNewest = 0xFFFE;

// What the run tells SetAdditionalInfo before each pass over the bases.
constexpr int kFirstPassInfo = 7;
constexpr int kSecondPassInfo = 0x700;
constexpr int kTypeCircuitPassInfo = 0xFFFF;

// A sort parcel and whether ClearSort was called on it and BackupSort is still owed.
struct Sort {
  ObjParcelType parcel{};
  bool owed = false;
};

class PCRun {
 public:
  explicit PCRun(VDatabase& database) : m_database(database) {}

  int Run();

 private:
  // A parcel of the program: five-value form with the program number, or the three-value form
  // (any object number) for the domains that belong to no program.
  ObjParcelType ProgramParcel(std::uint16_t type, std::uint16_t scope,
                              std::uint16_t version = kNewest) const;
  static ObjParcelType AnyObjectParcel(std::uint16_t type);

  // Creates the domain, opens it for reading with the database and reads it.
  template <typename Domain>
  std::unique_ptr<Domain> ReadDomain(const ObjParcelType& parcel);
  // Reads the domain and back-translates it: its result; file exceptions pass.
  template <typename Domain>
  int Backtranslate(const ObjParcelType& parcel);
  // The same, with a missing or damaged domain skipped (result 1).
  template <typename Domain>
  int BacktranslateOrSkip(const ObjParcelType& parcel);

  // Deletes the parcel's file; a file that cannot be found or deleted is passed over.
  static void RemoveFile(const ObjParcelType& parcel);
  void ClearSort(Sort& sort);
  void BackupSort(Sort& sort);
  // Backs up the owed sorts, the resource's first, and returns 0.
  int Stop();
  // The same after the database's call `call` answered 0.
  int StopAfter(const char* call) {
    m_events.StoppedByAnswer(call);
    return Stop();
  }

  // Calls `step` for each task in the task order (the maximum task first, then 1 upwards; the
  // maximum asked again for every step) while it answers 1; the first 0 is the result.
  int ForEachTask(const std::function<int(std::uint16_t task, bool first)>& step);
  // Steps of the task pass.
  int TaskStep(std::uint16_t task, bool first);
  int ProgramStep(std::uint16_t task);
  // One pass over the program bases of the tasks, after SetAdditionalInfo with `info`.
  int BasePass(int info);
  // The resource base after SetAdditionalInfo with `info`.
  int ResourceBase(int info);

  VDatabase& m_database;
  RunEvents m_events;
  std::uint16_t m_wProgram = 0;
  Sort m_relo;
  Sort m_polo;
};

ObjParcelType PCRun::ProgramParcel(std::uint16_t type, std::uint16_t scope,
                                   std::uint16_t version) const {
  ObjParcelType parcel{};
  VDomainPath().GenParcel(type, scope, version, m_wProgram, parcel);
  return parcel;
}

ObjParcelType PCRun::AnyObjectParcel(std::uint16_t type) {
  ObjParcelType parcel{};
  VDomainPath().GenParcel(type, 0, kNewest, parcel);
  return parcel;
}

template <typename Domain>
std::unique_ptr<Domain> PCRun::ReadDomain(const ObjParcelType& parcel) {
  auto domain = std::make_unique<Domain>();
  m_events.OpenForReading(*domain, parcel, &m_database);
  domain->ReadDomain();
  return domain;
}

template <typename Domain>
int PCRun::Backtranslate(const ObjParcelType& parcel) {
  return m_events.HandOver(*ReadDomain<Domain>(parcel));
}

template <typename Domain>
int PCRun::BacktranslateOrSkip(const ObjParcelType& parcel) {
  return m_events.SkippingMissing(parcel.domainType, [&] { return Backtranslate<Domain>(parcel); });
}

void PCRun::RemoveFile(const ObjParcelType& parcel) {
  try {
    CFile::Remove(VDomainPath().FindFile(parcel));
  } catch (const CFileException&) {
    // Nothing to remove, or a file that stays: the run goes on either way.
  }
}

void PCRun::ClearSort(Sort& sort) {
  m_database.ClearSort(&sort.parcel);
  sort.owed = true;
}

void PCRun::BackupSort(Sort& sort) {
  sort.owed = false;
  m_database.BackupSort(sort.parcel);
}

int PCRun::Stop() {
  if (m_relo.owed) BackupSort(m_relo);
  if (m_polo.owed) BackupSort(m_polo);
  return 0;
}

// GetMaxTask is asked once per step: its answer bounds the counter and, on the first step, is
// the task number.
int PCRun::ForEachTask(const std::function<int(std::uint16_t, bool)>& step) {
  for (std::uint32_t k = 0;; ++k) {
    const std::uint16_t maximum = m_database.GetMaxTask();
    if (k >= maximum) return 1;
    const auto task = static_cast<std::uint16_t>(k == 0 ? maximum : k);
    if (step(task, k == 0) == 0) return 0;
  }
}

int PCRun::ProgramStep(std::uint16_t task) {
  std::unique_ptr<VPodeDomain> program =
      ReadDomain<VPodeDomain>(ProgramParcel(VPodeDomain::kType, task));
  m_polo.parcel = ProgramParcel(kPolo, task, program->GetFile().GetParcel().version);
  RemoveFile(m_polo.parcel);
  ClearSort(m_polo);
  const int result = m_events.HandOver(*program);
  BackupSort(m_polo);
  return result;
}

// A task whose program cannot be read stops the run, and so does the first task (the maximum)
// whose description cannot be read; a lower task whose description is missing or damaged is
// passed over, one whose storage fails stops the run.
int PCRun::TaskStep(std::uint16_t task, bool first) {
  bool inProgram = false;
  try {
    if (Backtranslate<VTadeDomain>(ProgramParcel(VTadeDomain::kType, task)) == 0) return Stop();
    inProgram = true;
    if (ProgramStep(task) == 0) return Stop();
    return 1;
  } catch (const CFileException& e) {
    if (first || inProgram || IsStorageFailure(e)) {
      m_events.StoppedByFile(e);
      return Stop();
    }
    return m_events.Skipped(e, VTadeDomain::kType);
  }
}

int PCRun::BasePass(int info) {
  m_database.SetAdditionalInfo(info);
  return ForEachTask([this](std::uint16_t task, bool) {
    return BacktranslateOrSkip<VPobaDomain>(ProgramParcel(kPoba, task));
  });
}

int PCRun::ResourceBase(int info) {
  m_database.SetAdditionalInfo(info);
  return BacktranslateOrSkip<VRebaDomain>(ProgramParcel(kReba, 0));
}

int PCRun::Run() {
  m_database.Initialize();
  m_database.GenerateMoveBlocks();
  if (m_database.GetPCProgNo(&m_wProgram) == 0) return m_events.StoppedByAnswer("GetPCProgNo");

  // The resource description names the version of the resource's load file, which goes.
  try {
    const std::uint16_t version = ReadDomain<VRedeDomain>(ProgramParcel(VRedeDomain::kType, 0))
                                      ->GetFile()
                                      .GetParcel()
                                      .version;
    m_relo.parcel = ProgramParcel(kRelo, 0, version);
    RemoveFile(m_relo.parcel);
  } catch (const CFileException& e) {
    return m_events.StoppedByFile(e);
  }
  ClearSort(m_relo);

  if (ForEachTask([this](std::uint16_t task, bool first) { return TaskStep(task, first); }) == 0) {
    return 0;
  }
  try {
    if (Backtranslate<VRedeDomain>(ProgramParcel(VRedeDomain::kType, 0)) == 0) return Stop();
  } catch (const CFileException& e) {
    m_events.StoppedByFile(e);
    return Stop();
  }
  if (BacktranslateOrSkip<VNobaDomain>(AnyObjectParcel(kNoba)) == 0) return Stop();
  if (ResourceBase(kFirstPassInfo) == 0 || BasePass(kFirstPassInfo) == 0) return Stop();
  m_database.SetCallParam1OfSlavem();
  m_database.PrepareConnections();
  m_database.InsertConnections();
  if (ResourceBase(kSecondPassInfo) == 0 || BasePass(kSecondPassInfo) == 0) return Stop();
  for (const std::uint16_t type : kBobaTypes) {
    if (BacktranslateOrSkip<VBobaDomain>(AnyObjectParcel(type)) == 0) return Stop();
  }
  m_database.SetResourcePitch();
  if (m_database.RestoreDBElemsMMI() == 0) return StopAfter("RestoreDBElemsMMI");
  if (m_database.RestoreTypeCircuits() == 0) return StopAfter("RestoreTypeCircuits");
  if (m_database.PCTCRestored() != 0 && BasePass(kTypeCircuitPassInfo) == 0) return Stop();
  if (m_database.InsertTCTermsInPOLODomains() == 0) return StopAfter("InsertTCTermsInPOLODomains");
  BackupSort(m_relo);
  m_database.CreateSoftPageNumbers();
  m_database.SetAllExecPitches();
  m_database.Save();
  return 1;
}

}  // namespace

int RunPCBacktranslation(VDatabase& database) { return PCRun(database).Run(); }

}  // namespace morvit
