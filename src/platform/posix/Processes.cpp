// Process numbers, liveness and directory locks on POSIX hosts.
#include "platform/Processes.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace morvit::processes {

long CurrentProcessId() { return static_cast<long>(::getpid()); }

bool ProcessRuns(long id) {
  if (id <= 0) return false;
  // EPERM: it runs under another user.
  return ::kill(static_cast<pid_t>(id), 0) == 0 || errno == EPERM;
}

DirectoryLock::DirectoryLock(const CString& directory) {
  const CString path = directory.empty() ? CString(".") : directory;
  const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  m_lock = fd;
  while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
  }
}

DirectoryLock::~DirectoryLock() {
  if (m_lock >= 0) ::close(static_cast<int>(m_lock));  // closing releases the lock
}

}  // namespace morvit::processes
