// The VBase_ generation exports. Each runs its body through one guard, the only place where
// exceptions become status codes: nothing thrown inside ever crosses the C boundary.
#include <new>

#include "dump/ListingSwitches.h"
#include "files/StagedFiles.h"
#include "interface/Status.h"
#include "morvit/VBase.h"
#include "morvit/VManager.h"

using namespace morvit;

namespace morvit {
namespace {

// A generation step of the manager: "start of a domain of type 3", for the manager's reason.
struct Step {
  const char* name;
  std::uint16_t type;
};

// Keeps "STEP: REASON" as the manager's last failure; without memory for the text, the status
// alone tells.
void KeepFailure(VManager& manager, const Step& step, const char* reason) noexcept {
  try {
    manager.SetLastFailure(CString(step.name) + " a domain of type " + std::to_string(step.type) +
                           ": " + reason);
  } catch (...) {
    manager.SetLastFailure(CString());
  }
}

// Runs `body` on `manager`; a file exception becomes `onFileException(cause)`, anything else
// -706. The manager keeps the reason in words (empty after a success).
template <typename Body, typename OnFileException>
std::int16_t Guarded(VManager& manager, const Step& step, Body&& body,
                     OnFileException&& onFileException) noexcept {
  manager.SetLastFailure(CString());
  try {
    body();
    return kStatusOk;
  } catch (const CFileException& e) {
    try {
      // The domain file the client asked for, not the staging name it is written under.
      CFileException named = e;
      named.m_strFileName = staging::FinalPath(e.m_strFileName);
      KeepFailure(manager, step, DescribeFileException(named).c_str());
    } catch (...) {
      KeepFailure(manager, step, e.what());
    }
    return onFileException(e.m_cause);
  } catch (const std::exception& e) {
    KeepFailure(manager, step, e.what());
    return kStatusFileFailure;
  } catch (...) {
    KeepFailure(manager, step, "an unknown failure");
    return kStatusFileFailure;
  }
}

template <typename Body>
std::int16_t Guarded(VManager& manager, const Step& step, Body&& body) noexcept {
  return Guarded(manager, step, std::forward<Body>(body), [](int) { return kStatusFileFailure; });
}

}  // namespace
}  // namespace morvit

extern "C" {

void VBase_Body(void) {}

VManager* VBase_CreateManager(void) {
  try {
    return new VManager(nullptr);
  } catch (...) {
    return nullptr;
  }
}

void VBase_DeleteManager(VManager** manager) {
  if (manager == nullptr) return;
  delete *manager;
  *manager = nullptr;
}

int16_t VBase_PutStart(VManager* manager, uint16_t type, ObjParcelType parcel) {
  if (manager == nullptr) return kStatusFileFailure;
  return morvit::Guarded(*manager, morvit::Step{"start of", type},
                         [&] { manager->CreateDomain(type, parcel); });
}

int16_t VBase_PutStartEx(VManager* manager, uint16_t type, ObjParcelType parcel) {
  return VBase_PutStart(manager, type, parcel);
}

int16_t VBase_Insert(VManager* manager, uint16_t type, TSectionInfo* section) {
  if (manager == nullptr) return kStatusFileFailure;
  if (section == nullptr && manager->FindDomain(type) != nullptr) {
    morvit::KeepFailure(*manager, morvit::Step{"insert into", type}, "no section record given");
    return kStatusFileFailure;
  }
  if (section == nullptr) return kStatusOk;
  return morvit::Guarded(*manager, morvit::Step{"insert into", type},
                         [&] { manager->Insert(type, section); });
}

int16_t VBase_PutFinish(VManager* manager, uint16_t type, ObjParcelType* parcels) {
  if (manager == nullptr) return kStatusFileFailure;
  std::uint16_t count = 1;
  return morvit::Guarded(*manager, morvit::Step{"finish of", type},
                         [&] { manager->DumpAndFreeDomain(type, &count, parcels, 0); });
}

int16_t VBase_PutFinishEx(VManager* manager, uint16_t type, uint16_t* parcelCount,
                          uint16_t highestIndex, ObjParcelType* parcels) {
  if (manager == nullptr || parcelCount == nullptr) return kStatusFileFailure;
  *parcelCount = highestIndex;
  return morvit::Guarded(
      *manager, morvit::Step{"finish of", type},
      [&] { manager->DumpAndFreeDomain(type, parcelCount, parcels, 0); },
      [&](int cause) { return StatusFromCause(cause, parcels); });
}

const char* VBase_GetLastFailure(const VManager* manager) {
  if (manager == nullptr) return "no domain manager (a null manager was given)";
  return manager->GetLastFailure().c_str();
}

void VBase_EnableTimeOutput(uint8_t flag) { GetListingSwitches().suppressTimes = flag == 0; }

void VBase_EnableLineNumbers(uint8_t flag) { GetListingSwitches().lineNumbers = flag != 0; }

}  // extern "C"
