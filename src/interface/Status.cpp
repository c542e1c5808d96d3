// Cause-to-status table of VBase_PutFinishEx.
#include "interface/Status.h"

#include "morvit/platform.h"

std::int16_t StatusFromCause(int cause, const ObjParcelType* parcels) {
  switch (cause) {
    case CFileException::badPath:
      return VBASE_STATUS_BAD_PATH;
    case CFileException::fileNotFound:
      return VBASE_STATUS_FILE_NOT_FOUND;
    case CFileException::accessDenied:
      return VBASE_STATUS_ACCESS_DENIED;
    case CFileException::directoryFull:
      return VBASE_STATUS_DIRECTORY_FULL;
    case CFileException::endOfFile:
      return VBASE_STATUS_END_OF_FILE;
    case CFileException::genericException: {
      const std::uint16_t type = parcels != nullptr ? parcels[0].domainType : 0;
      return static_cast<std::int16_t>(static_cast<std::uint16_t>(-100 - type));
    }
    default:
      return kStatusFileFailure;
  }
}
