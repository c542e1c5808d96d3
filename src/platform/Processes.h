// What the library needs to know of processes beside it: its own process number (staging names
// are unique per process), whether the process that left a staging file still runs, and a lock
// that lets one process at a time move a domain's files into place in a directory.
#ifndef MORVIT_PLATFORM_PROCESSES_H
#define MORVIT_PLATFORM_PROCESSES_H

#include <cstdint>

#include "morvit/platform.h"

namespace morvit::processes {

long CurrentProcessId();

// Whether a process with this number runs (a number that is no process, or 0, does not).
bool ProcessRuns(long id);

// Holds an exclusive lock on a directory for its lifetime, shared by every process that takes
// it; a directory that cannot be locked is not locked (a file system without locks still works,
// only without the guard). On POSIX hosts the lock is an flock on the directory itself; on
// Windows, where a directory cannot be locked, it is a named mutex of the session whose name is
// made from the directory's full path, case folded.
class DirectoryLock {
 public:
  explicit DirectoryLock(const CString& directory);
  ~DirectoryLock();
  DirectoryLock(const DirectoryLock&) = delete;
  DirectoryLock& operator=(const DirectoryLock&) = delete;

 private:
  std::intptr_t m_lock = -1;  // the host's descriptor or handle; -1 when not locked
};

}  // namespace morvit::processes

#endif  // MORVIT_PLATFORM_PROCESSES_H
