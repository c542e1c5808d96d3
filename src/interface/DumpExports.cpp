// VBase_DumpDomain, VManager::DumpDomainFile and VManager::CheckDomainFile: the class dump first,
// and the dump driver for every file that the class dump does not take. Nothing thrown inside
// leaves either function.
#include <cstring>

#include "dump/ClassDump.h"
#include "dump/DumpDriver.h"
#include "files/StorageFailure.h"
#include "interface/DomainTable.h"
#include "morvit/VBase.h"
#include "morvit/VManager.h"

using namespace morvit;

VDumpResult VManager::DumpDomainFile(const CString& path) {
  VDumpResult result;
  try {
    try {
      ClassDump(path, m_factory, &result);
      return result;
    } catch (const CFileException& e) {
      // A file whose storage fails is not listed at all, rather than in another mode.
      if (IsStorageFailure(e)) {
        result.outcome = VDumpResult::kNotWritten;
        result.where = DescribeFileException(e);
        return result;
      }
    }
    const std::uint16_t type = result.type;
    result = VDumpResult();
    result.type = type;
    const DumpPath where = SplitDumpPath(path);
    RunDumpDriver(where.directory, where.fileName, &result);
  } catch (const std::exception& e) {
    result.outcome = VDumpResult::kNotWritten;
    result.where = e.what();
  }
  return result;
}

CFileException VManager::CheckDomainFile(const CString& path) {
  // Read as the runs read it: through the manager's classes, and the classes of the types the
  // runs read that the manager does not generate.
  const DomainFactory readers = [this](std::uint16_t type) {
    std::unique_ptr<VDomain> domain = m_factory(type);
    return domain ? std::move(domain) : CreateReaderForType(type);
  };
  try {
    ReadDomainFile(path, readers);
  } catch (const CFileException& e) {
    return e;
  } catch (const std::exception&) {
    return CFileException(CFileException::genericException, -1, path);
  }
  return CFileException(CFileException::none, -1, path);
}

extern "C" {

int16_t VBase_DumpDomain(uint16_t length, const char* name) {
  if (name == nullptr) return VBASE_STATUS_OK;
  try {
    VManager manager(nullptr);
    manager.DumpDomainFile(CString(name, ::strnlen(name, length)));
  } catch (...) {
    // The dump reports nothing: a listing that cannot be written is simply not there.
  }
  return VBASE_STATUS_OK;
}

}  // extern "C"
