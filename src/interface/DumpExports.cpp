// VBase_DumpDomain: the class dump first, and the dump driver for every file that the class
// dump does not take. Nothing thrown inside leaves the function.
#include <cstring>

#include "dump/DumpDriver.h"
#include "files/StorageFailure.h"
#include "morvit/VBase.h"
#include "morvit/VManager.h"

extern "C" {

int16_t VBase_DumpDomain(uint16_t length, const char* name) {
  if (name == nullptr) return VBASE_STATUS_OK;
  try {
    const CString path(name, ::strnlen(name, length));
    VManager manager(nullptr);
    try {
      manager.DumpDomain(path);
    } catch (const CFileException& e) {
      // A file whose storage fails is not listed at all, rather than in another mode.
      if (IsStorageFailure(e)) return VBASE_STATUS_OK;
      const DumpPath where = SplitDumpPath(path);
      RunDumpDriver(where.directory, where.fileName);
    }
  } catch (...) {
    // The dump reports nothing: a listing that cannot be written is simply not there.
  }
  return VBASE_STATUS_OK;
}

}  // extern "C"
