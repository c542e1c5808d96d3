// Storage of the dump driver's process-wide state.
#include "dump/DumpDriverState.h"

DumpDriverState& GetDumpDriverState() {
  static DumpDriverState state;
  return state;
}
