// The default layout of the directory kinds of node files: every kind is a directory under the
// project directory (the table is in docs/host-services.md).
#ifndef MORVIT_SUPPORT_DIRECTORYKINDS_H
#define MORVIT_SUPPORT_DIRECTORYKINDS_H

#include "morvit/platform.h"

namespace morvit {

// The directory of `kind` under `projectDirectory` (which ends in '/'), ending in '/'; empty
// for a number that is no kind.
CString DirectoryOfKind(const CString& projectDirectory, int kind);

}  // namespace morvit

#endif  // MORVIT_SUPPORT_DIRECTORYKINDS_H
