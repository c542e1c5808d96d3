// The default object database: the project's library file lists in a JSON store on disk (its
// format is in docs/host-services.md).
#ifndef MORVIT_SUPPORT_OBJECTDATABASE_H
#define MORVIT_SUPPORT_OBJECTDATABASE_H

#include <vector>

#include "morvit/VHostServices.h"

namespace morvit {

// The objects of `list` in the store at `storePath`, in the store's order. A store that does
// not exist holds empty lists; one that cannot be read or is not a store of this format raises
// a file exception (invalid file) with its path, so that a damaged store is never taken for an
// empty one.
std::vector<VLibraryObject> ReadLibraryObjects(const CString& storePath, VLibraryList list);

}  // namespace morvit

#endif  // MORVIT_SUPPORT_OBJECTDATABASE_H
