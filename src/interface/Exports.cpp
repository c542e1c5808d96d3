// The VBase_ generation exports. Each runs its body through one guard, the only place where
// exceptions become status codes: nothing thrown inside ever crosses the C boundary.
#include <new>

#include "dump/ListingSwitches.h"
#include "interface/Status.h"
#include "morvit/VBase.h"
#include "morvit/VManager.h"

using namespace morvit;

namespace morvit {
namespace {

// Runs `body`; a file exception becomes `onFileException(cause)`, anything else -706.
template <typename Body, typename OnFileException>
std::int16_t Guarded(Body&& body, OnFileException&& onFileException) noexcept {
  try {
    body();
    return kStatusOk;
  } catch (const CFileException& e) {
    return onFileException(e.m_cause);
  } catch (...) {
    return kStatusFileFailure;
  }
}

template <typename Body>
std::int16_t Guarded(Body&& body) noexcept {
  return Guarded(std::forward<Body>(body), [](int) { return kStatusFileFailure; });
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
  return Guarded([&] { manager->CreateDomain(type, parcel); });
}

int16_t VBase_PutStartEx(VManager* manager, uint16_t type, ObjParcelType parcel) {
  return VBase_PutStart(manager, type, parcel);
}

int16_t VBase_Insert(VManager* manager, uint16_t type, TSectionInfo* section) {
  if (manager == nullptr) return kStatusFileFailure;
  if (section == nullptr) return manager->FindDomain(type) ? kStatusFileFailure : kStatusOk;
  return Guarded([&] { manager->Insert(type, section); });
}

int16_t VBase_PutFinish(VManager* manager, uint16_t type, ObjParcelType* parcels) {
  if (manager == nullptr) return kStatusFileFailure;
  std::uint16_t count = 1;
  return Guarded([&] { manager->DumpAndFreeDomain(type, &count, parcels, 0); });
}

int16_t VBase_PutFinishEx(VManager* manager, uint16_t type, uint16_t* parcelCount,
                          uint16_t highestIndex, ObjParcelType* parcels) {
  if (manager == nullptr || parcelCount == nullptr) return kStatusFileFailure;
  *parcelCount = highestIndex;
  return Guarded([&] { manager->DumpAndFreeDomain(type, parcelCount, parcels, 0); },
                 [&](int cause) { return StatusFromCause(cause, parcels); });
}

void VBase_EnableTimeOutput(uint8_t flag) { GetListingSwitches().suppressTimes = flag == 0; }

void VBase_EnableLineNumbers(uint8_t flag) { GetListingSwitches().lineNumbers = flag != 0; }

}  // extern "C"
