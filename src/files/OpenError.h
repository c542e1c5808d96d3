// The system error that a domain file's open failure is raised with.
#ifndef MORVIT_FILES_OPENERROR_H
#define MORVIT_FILES_OPENERROR_H

#include <cerrno>

#include "morvit/platform.h"

// -1 for a file that is not there, as for every failed lookup; the system's own error for any
// other failure, so that a back-translation run can tell the storage failing under a domain
// that is there (which stops it) from a missing domain (which it passes over).
inline long OpenError(const CFileException& error) {
  return error.m_lOsError == ENOENT ? -1 : error.m_lOsError;
}

#endif  // MORVIT_FILES_OPENERROR_H
