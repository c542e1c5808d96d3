// The dump driver: the generic lister for every file without a domain class that lists
// itself. The data-set name picks the mode (CODE: a target-code or header domain word by word;
// DATA: a data directory table; MOVE: the move-block tables) and names the listing file.
#ifndef MORVIT_DUMP_DUMPDRIVER_H
#define MORVIT_DUMP_DUMPDRIVER_H

#include <string_view>

#include "morvit/VDumpResult.h"
#include "morvit/VListingEvents.h"
#include "morvit/platform.h"

namespace morvit {

// A path to dump taken apart: its directory (empty, or ending in '/') and its file name.
struct DumpPath {
  CString directory;
  CString fileName;
};
// '\' counts as a separator too.
DumpPath SplitDumpPath(const CString& path);

enum class DumpMode { code, data, pcData, move, wideMove };

// The mode for a data-set name (places counted from 0, letters without regard to case): CODE
// for names beginning "BOBC" or "BMBD"; MOVE if place 2 is 'A' or 'B' (wide if place 3 is
// 'I'); DATA with PC/TRA columns if the name begins with "PL"; DATA if places 2 and 3 are "LO"
// or "LE"; CODE otherwise.
DumpMode SelectDumpMode(std::string_view dataSetName);

// The listing's name: the data-set name with the character after its first '.' replaced by
// 'D' (appended to a name ending in '.'). Empty when that would be the data-set name itself
// (no '.', or a 'D' there already): a listing never replaces the file it lists.
CString DumpOutputName(std::string_view dataSetName);

// Lists the file `dataSetName` of `directory` (empty, or ending in '/'; empty is the current
// directory) into its listing file in the same directory. Returns 0, or -700 - cause when the
// listing cannot be created, written or closed (no listing is left then), and -700 - badPath
// when the name gives no listing name. `result`, when given, is filled at the exits: the mode,
// the listing, and where a read stopped short or why no listing was written.
int RunDumpDriver(const CString& directory, std::string_view dataSetName,
                  VDumpResult* result = nullptr);

// The listing of the file `dataSetName` of `directory` as events into `sink` (the text listing
// renders them into the listing file). A failure to read the file is part of the listing; a
// failure of the sink is raised. Returns where the read stopped short, in words (empty for a
// whole read): a CODE-mode file cut or unreadable, a table that cannot be listed in full.
CString ListThroughDriver(const CString& directory, std::string_view dataSetName,
                          morvit::VListingSink& sink);

}  // namespace morvit

#endif  // MORVIT_DUMP_DUMPDRIVER_H
