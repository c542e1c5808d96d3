// Storage of the process-wide listing switches.
#include "dump/ListingSwitches.h"

namespace morvit {

ListingSwitches& GetListingSwitches() {
  static ListingSwitches switches;
  return switches;
}

}  // namespace morvit
