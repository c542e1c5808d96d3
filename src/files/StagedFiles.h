// Domain files come into being whole or not at all. A domain being generated is written under
// staging names: its data-set name with '~' and the writing process's number appended, which
// no newest-version search takes for a domain ("RB000012.C03~4711" beside "RB000012.C03"; the
// sibling letters work on it as on any domain name), and which two processes never share. Each file
// is brought to stable storage as it is closed; when every file of the domain is complete they are
// put in place in one step with the later parts of the domain it replaces that it no longer has
// removed. Several files cannot be renamed at once, so a step of more than one file is written
// down first in a journal ("RB000012.C03~journal"), and whoever finds the journal (the next
// generation, the inventory of the data set, every open of the domain's file) completes the
// step under the directory lock: the old set until the journal is in place, the new set after
// (docs/durability.md). A failed finish removes what it staged; a killed process leaves at most
// staging names and a journal, which the next reader or generation rolls forward.
#ifndef MORVIT_FILES_STAGEDFILES_H
#define MORVIT_FILES_STAGEDFILES_H

#include <string>
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

// Whether a file is there.
bool FileExists(const CString& path);

// The name of the file in `directory` that is `name` without regard to case (the greatest of
// several, as the newest-file search keeps), or "" when there is none.
CString NameInAnyCase(const CString& directory, const CString& name);

// Whether a file name is a journal of a replacement (or one being written).
bool IsJournalName(const std::string& name);

// Completes every replacement whose journal is in `directory` (host path), under the directory
// lock; a journal that was not finished being written is dropped with nothing done.
void RollForwardJournals(const CString& directory);

// Completes the replacement of the domain file `finalPath` if its journal is there.
void RollForward(const CString& finalPath);

// Removes each file that exists of `paths`; failures are swallowed (clean-up after a failure
// that is already on its way to the caller).
void Discard(const std::vector<CString>& paths);

}  // namespace morvit::staging

#endif  // MORVIT_FILES_STAGEDFILES_H
