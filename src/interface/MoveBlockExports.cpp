// The VBase_ move-block exports over the process-wide registries. Nothing thrown inside
// (only allocation can fail) crosses the C boundary: a failed insert gives 0.
#include "interface/MoveBlocks.h"
#include "morvit/VBase.h"

using namespace morvit;

namespace morvit {
namespace {

constexpr std::int16_t kFound = 1;
constexpr std::int16_t kNotFound = -1;

}  // namespace
}  // namespace morvit

extern "C" {

void VBase_ActivateMoveBlockList(uint8_t flag) {
  try {
    GetMoveBlockRegistry().Activate(flag != 0);
  } catch (...) {
    // The new list could not be allocated: the registry stays off and drops records.
    GetMoveBlockRegistry().Activate(false);
  }
}

uint8_t VBase_InsertMoveBlock(const TMoveBlock* record) {
  if (record == nullptr) return 0;
  try {
    return GetMoveBlockRegistry().Insert(*record) ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

int16_t VBase_GetMoveBlock(int32_t, const uint8_t* key, TMoveBlock* record) {
  if (key == nullptr || record == nullptr) return kNotFound;
  return GetMoveBlockRegistry().Find(key, *record) ? kFound : kNotFound;
}

int16_t VBase_GetMoveBlockStructure(uint16_t functionBlockKey, uint16_t* firstLength,
                                    uint16_t* secondLength, int16_t* shapeValue) {
  if (firstLength) *firstLength = 0;
  if (secondLength) *secondLength = 0;
  if (shapeValue) *shapeValue = 0;
  if (!firstLength || !secondLength || !shapeValue) return kNotFound;
  const MoveBlockShape* shape = GetMoveBlockRegistry().FindShape(functionBlockKey);
  if (shape == nullptr) return kNotFound;
  *firstLength = shape->firstLength;
  *secondLength = shape->secondLength;
  *shapeValue = shape->shapeValue;
  return kFound;
}

void VBase_DeleteFuncBlockList(void) { GetMoveBlockRegistry().DeleteShapes(); }

}  // extern "C"
