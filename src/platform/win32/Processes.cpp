// Process numbers, liveness and directory locks on Windows hosts.
#include "platform/Processes.h"

#include <windows.h>

#include <cstdint>
#include <string>

#include "platform/HostSystem.h"

namespace morvit::processes {

long CurrentProcessId() { return static_cast<long>(::GetCurrentProcessId()); }

bool ProcessRuns(long id) {
  if (id <= 0) return false;
  HANDLE process =
      ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(id));
  // Access denied: it runs under another user.
  if (process == nullptr) return ::GetLastError() == ERROR_ACCESS_DENIED;
  // A process that has ended stays openable while handles to it are held: it runs while its
  // handle is not signalled.
  const bool runs = ::WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
  ::CloseHandle(process);
  return runs;
}

namespace {

// The mutex's name: the directory's full path, case folded (two spellings of one directory
// take one lock), hashed (FNV-1a, 64 bits) to stay within the name limit and free of '\'.
std::wstring LockName(const CString& directory) {
  const CString full = hostsys::FullPath(directory.empty() ? CString(".") : directory);
  std::uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : full) {
    const unsigned char folded =
        c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c - 'A' + 'a') : c;
    hash = (hash ^ folded) * 1099511628211ull;
  }
  wchar_t digits[17] = {};
  for (int i = 15; i >= 0; --i, hash >>= 4) digits[i] = L"0123456789abcdef"[hash & 15];
  return std::wstring(L"Local\\morvit-directory-lock-") + digits;
}

}  // namespace

DirectoryLock::DirectoryLock(const CString& directory) {
  HANDLE mutex = ::CreateMutexW(nullptr, FALSE, LockName(directory).c_str());
  if (mutex == nullptr) return;
  // WAIT_ABANDONED: its last holder ended while holding it; the lock is ours all the same.
  const DWORD waited = ::WaitForSingleObject(mutex, INFINITE);
  if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
    ::CloseHandle(mutex);
    return;
  }
  m_lock = reinterpret_cast<std::intptr_t>(mutex);
}

DirectoryLock::~DirectoryLock() {
  if (m_lock == -1) return;
  HANDLE mutex = reinterpret_cast<HANDLE>(m_lock);
  ::ReleaseMutex(mutex);
  ::CloseHandle(mutex);
}

}  // namespace morvit::processes
