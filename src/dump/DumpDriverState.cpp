// Storage of the dump driver's process-wide state.
#include "dump/DumpDriverState.h"

namespace morvit {

DumpDriverState& GetDumpDriverState() {
  static DumpDriverState state;
  return state;
}

}  // namespace morvit
