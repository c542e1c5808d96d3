// Domain files come into being whole or not at all. A domain being generated is written under
// staging names: its data-set name with '~' and the writing process's number appended, which
// no newest-version search takes for a domain ("RB000012.C03~4711" beside "RB000012.C03"; the
// sibling letters work on it as on any domain name), and which two processes never share. Each file
// is brought to stable storage as it is closed; when every file of the domain is complete they are
// renamed into place, the first file (the one a search finds, which says how many parts follow)
// last, and the directory is flushed once. A failed finish removes what it staged; a killed process
// leaves at most staging names, which the next generation of the same domain removes (RemoveStale).
#ifndef MORVIT_FILES_STAGEDFILES_H
#define MORVIT_FILES_STAGEDFILES_H

#include <vector>

#include "morvit/platform.h"

namespace morvit::staging {

// The staging name of a domain file path, and back.
CString StagingPath(const CString& finalPath);
bool IsStaged(const CString& path);
CString FinalPath(const CString& path);

// Removes the staging files of `finalPath` whose writing process no longer runs (and those of the
// older form without a process number); failures are swallowed.
void RemoveStale(const CString& finalPath);

// Renames the staged files (in writing order, the first one the domain's first file) into
// place and flushes their directory. Should a rename fail, the files already moved into place
// are removed again and the failure is raised; the staged files stay for Discard.
void Publish(const std::vector<CString>& stagedPaths);

// Removes each file that exists of `paths`; failures are swallowed (clean-up after a failure
// that is already on its way to the caller).
void Discard(const std::vector<CString>& paths);

}  // namespace morvit::staging

#endif  // MORVIT_FILES_STAGEDFILES_H
