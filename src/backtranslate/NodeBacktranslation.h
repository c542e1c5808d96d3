// The node runs: restoring a node's files from its CNOD and RNOD domains, and checking the
// node's library files against the object database. Neither uses a database: the node domains
// are opened without one.
#ifndef MORVIT_BACKTRANSLATE_NODEBACKTRANSLATION_H
#define MORVIT_BACKTRANSLATE_NODEBACKTRANSLATION_H

#include "morvit/platform.h"

namespace morvit {

// The name of the node's initialisation file before (or without) a CNOD domain.
inline constexpr const char* kDefaultNodeName = "TESTNODE.INI";

// Restores the files of the CNOD, then of the RNOD domain (`option`: the node-mode flag), and
// puts the node's initialisation file name into `nodeName`. 1 when both are restored, and when
// there is no CNOD domain at all (`nodeName` then stays "TESTNODE.INI"); 0 when a CNOD that
// exists cannot be read or restored, or the RNOD cannot.
int BacktranslateNode(CString& nodeName, int option);

// 1 when the library files of the CNOD and RNOD domains match the object database (an RNOD that
// cannot be read counts as matching); 0 when the CNOD cannot be read or a file does not match.
int CheckNodeLibraries();

}  // namespace morvit

#endif  // MORVIT_BACKTRANSLATE_NODEBACKTRANSLATION_H
