// The tests' host calls: the POSIX forms, and the Windows ones beside them.
#include "support/TestPlatform.h"

#include <stdlib.h>
#ifndef _WIN32
#include <unistd.h>
#endif

namespace testutil {

#ifdef _WIN32

void SetEnvironment(const char* name, const char* value) {
  ::_putenv_s(name, value != nullptr ? value : "");
}

bool DirectoryPermissionsDeny() { return false; }

#else

void SetEnvironment(const char* name, const char* value) {
  value != nullptr ? ::setenv(name, value, 1) : ::unsetenv(name);
}

bool DirectoryPermissionsDeny() { return ::geteuid() != 0; }

#endif

}  // namespace testutil
