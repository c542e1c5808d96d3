// Process numbers, liveness and directory locks on POSIX hosts.
#include "platform/Processes.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace processes {

long CurrentProcessId() { return static_cast<long>(::getpid()); }

bool ProcessRuns(long id) {
  if (id <= 0) return false;
  // EPERM: it runs under another user.
  return ::kill(static_cast<pid_t>(id), 0) == 0 || errno == EPERM;
}

DirectoryLock::DirectoryLock(const CString& directory) {
  const CString path = directory.empty() ? CString(".") : directory;
  m_fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (m_fd < 0) return;
  while (::flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {
  }
}

DirectoryLock::~DirectoryLock() {
  if (m_fd >= 0) ::close(m_fd);  // closing releases the lock
}

}  // namespace processes
