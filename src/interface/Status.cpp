// Cause-to-status table of VBase_PutFinishEx.
#include "interface/Status.h"

#include "morvit/platform.h"

using namespace morvit;

std::int16_t morvit::StatusFromCause(int cause, const ObjParcelType* parcels) {
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

extern "C" const char* VBase_StatusText(int16_t status) {
  switch (status) {
    case VBASE_STATUS_OK:
      return "success";
    case VBASE_STATUS_BAD_PATH:
      return "bad path: a parcel field does not fit the data-set name, or a directory is missing";
    case VBASE_STATUS_FILE_NOT_FOUND:
      return "a file or directory was not found";
    case VBASE_STATUS_ACCESS_DENIED:
      return "access denied: a file or the data-set directory cannot be written";
    case VBASE_STATUS_DIRECTORY_FULL:
      return "the data-set directory is full";
    case VBASE_STATUS_END_OF_FILE:
      return "a file ended early (cut short or damaged)";
    case VBASE_STATUS_FILE_FAILURE:
      return "the step failed: no domain of this type was started, the record does not fit the "
             "domain, or a file could not be written (the disk full, or the data-set directory "
             "not writable)";
    default:
      break;
  }
  // -100 minus a domain type (0 to 255).
  if (status <= VBASE_STATUS_GENERIC_BASE && status >= VBASE_STATUS_GENERIC_BASE - 255) {
    return "the domain cannot be finished: it breaks a limit of its type (for example it would "
           "exceed 65,535 bytes) or its content is refused";
  }
  return "unknown status";
}
