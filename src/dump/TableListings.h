// DATA and MOVE modes of the dump driver: the host-side data directory tables (DATA, and the
// PL tables of the PC programs) and the move-block tables (A and B), listed row by row.
#ifndef MORVIT_DUMP_TABLELISTINGS_H
#define MORVIT_DUMP_TABLELISTINGS_H

#include <string_view>

#include "dump/ListingOutput.h"
#include "morvit/platform.h"

namespace morvit {

// Result of a DATA or PL table that cannot be opened or holds no head record.
inline constexpr int kTableReadFailure = -11;

// Lists the table at `path`: a PL table (8-byte records with the PC/TRA flags) when
// `pcColumns` is set, else a DATA table (14-byte records). Rows run from the head record to the
// last record the head counts, or to the last whole record the file holds if that comes first;
// then the listing stops short (out.Stop): the table cannot be listed in full.
void ListDataTable(ListingOutput& out, const CString& path, bool pcColumns);

// Lists the A and B move tables whose names are `dataSetName` with place 2 set to 'A' and 'B',
// in `directory` (empty: the current directory); `wide` selects the 54000-byte A table. Counts
// in the A table beyond the records the tables hold stop the listing short.
void ListMoveTables(ListingOutput& out, const CString& directory, std::string_view dataSetName,
                    bool wide);

}  // namespace morvit

#endif  // MORVIT_DUMP_TABLELISTINGS_H
