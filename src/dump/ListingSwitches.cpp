// Storage of the process-wide listing switches.
#include "dump/ListingSwitches.h"

ListingSwitches& GetListingSwitches() {
  static ListingSwitches switches;
  return switches;
}
