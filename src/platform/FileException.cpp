// CFileException: cause numbers, the errno-to-cause table and the message text.
#include <cerrno>
#include <cstring>
#include <iterator>

#include "morvit/platform.h"

const char* CFileException::GetCauseText(int cause) {
  static const char* const kNames[] = {
      "no error",
      "generic failure",
      "file not found",
      "bad path",
      "too many open files",
      "access denied",
      "invalid file",
      "remove current directory",
      "directory full",
      "bad seek",
      "hard I/O error",
      "sharing violation",
      "lock violation",
      "disk full",
      "end of file",
  };
  if (cause < 0 || cause >= static_cast<int>(sizeof kNames / sizeof kNames[0])) {
    return "unknown cause";
  }
  return kNames[cause];
}

CFileException::CFileException(int cause, long osError, CString fileName)
    : m_cause(cause), m_lOsError(osError), m_strFileName(std::move(fileName)) {
  m_message =
      "file exception, cause " + std::to_string(m_cause) + " (" + GetCauseText(m_cause) + ")";
  if (!m_strFileName.empty()) m_message += ": " + m_strFileName;
  if (m_lOsError != -1) {
    m_message += " [" + std::string(std::strerror(static_cast<int>(m_lOsError))) + "]";
  }
}

CFileException::CFileException(int cause, long osError, CString fileName, CString reason)
    : CFileException(cause, osError, std::move(fileName)) {
  m_strReason = std::move(reason);
  if (!m_strReason.empty()) m_message += ": " + m_strReason;
}

const char* CFileException::what() const noexcept { return m_message.c_str(); }

int CFileException::OsErrorToCause(int osError) {
  switch (osError) {
    case 0:
      return none;
    case ENOENT:
      return fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
    case ELOOP:
      return badPath;
    case EMFILE:
    case ENFILE:
      return tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case EEXIST:
      return accessDenied;
    case EBADF:
      return invalidFile;
    case EBUSY:
      return sharingViolation;
    case EMLINK:
      return directoryFull;
    case ESPIPE:
    case EOVERFLOW:
      return badSeek;
    case EIO:
      return hardIO;
    case ENOLCK:
    case EDEADLK:
      return lockViolation;
    case ENOSPC:
#ifdef EDQUOT  // a quota: not a cause Windows has
    case EDQUOT:
#endif
    case EFBIG:
      return diskFull;
    default:
      return genericException;
  }
}

CString DescribeFileException(const CFileException& e) {
  static const char* const kWords[] = {
      "no failure",
      "cannot be used (damaged, or beyond a limit of the domain)",
      "file not found",
      "bad path (a name that does not fit, or a directory that is missing)",
      "too many open files",
      "access denied",
      "not a valid domain file (damaged, or of another kind)",
      "the current directory cannot be removed",
      "the directory is full",
      "bad seek",
      "input/output error",
      "in use by another process",
      "locked by another process",
      "the disk is full",
      "cut short or damaged (the file ends early)",
  };
  const bool known = e.m_cause >= 0 && e.m_cause < static_cast<int>(std::size(kWords));
  CString text = e.m_strFileName.empty() ? CString() : e.m_strFileName + ": ";
  text += known ? kWords[e.m_cause] : "failed (unknown cause " + std::to_string(e.m_cause) + ")";
  if (e.m_lOsError > 0) text += CString(" (") + std::strerror(static_cast<int>(e.m_lOsError)) + ")";
  if (!e.m_strReason.empty()) text += ": " + e.m_strReason;
  return text;
}

void AfxThrowFileException(int cause, long osError, const CString& fileName) {
  throw CFileException(cause, osError, fileName);
}
