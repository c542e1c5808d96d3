// Telling the storage failing under a file that is there from a file that is missing or
// damaged: the back-translation runs pass over a missing or damaged domain, but never one whose
// storage fails, and the dump lists no file it cannot read.
#ifndef MORVIT_FILES_STORAGEFAILURE_H
#define MORVIT_FILES_STORAGEFAILURE_H

#include <cerrno>

#include "morvit/platform.h"

namespace morvit {

// The system error that a domain file's open failure is raised with: -1 for a file that is not
// there, as for every failed lookup; the system's own error for any other failure.
inline long OpenError(const CFileException& error) {
  return error.m_lOsError == ENOENT ? -1 : error.m_lOsError;
}

// A failure of the storage under a file that is there: access refused, an I/O error, a full
// disk while a compressed domain is expanded. Not one: a file that is not there, and a damaged
// file (its damage raises the file exception without a system error).
inline bool IsStorageFailure(const CFileException& e) {
  return e.m_lOsError > 0 && e.m_lOsError != ENOENT;
}

}  // namespace morvit

#endif  // MORVIT_FILES_STORAGEFAILURE_H
