// The host calls of the tests themselves, the same on every host.
#ifndef MORVIT_TESTS_SUPPORT_TESTPLATFORM_H
#define MORVIT_TESTS_SUPPORT_TESTPLATFORM_H

namespace testutil {

// Sets an environment variable (nullptr: removes it) for the whole process.
void SetEnvironment(const char* name, const char* value);
// Whether taking the write permission of a directory away stops this process from creating
// files in it (not for root on POSIX; never on Windows, where the read-only attribute of a
// directory does not guard its entries).
bool DirectoryPermissionsDeny();

}  // namespace testutil

#endif  // MORVIT_TESTS_SUPPORT_TESTPLATFORM_H
