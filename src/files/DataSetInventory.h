// The inventory of a data-set directory (morvit/VDataSet.h): each file read by its name and its
// headers, the parts of a domain found from their headers, and the verdict the headers give.
#ifndef MORVIT_FILES_DATASETINVENTORY_H
#define MORVIT_FILES_DATASETINVENTORY_H

#include <cstdint>
#include <string>

#include "morvit/VDataSet.h"

namespace morvit {

// What the headers of one data-set file say, and the first word that contradicts its name or
// its size. `problem` is empty when every checked word agrees.
struct FileHeaders {
  std::uintmax_t size = 0;
  std::uint16_t type = 0, scope = 0, version = 0;
  std::string time;
  int major = 0, minor = 0;
  bool blockHeaders = false;  // the compress header was read
  std::uint16_t own = 0, count = 1, method = 0;
  std::string problem;
  std::int64_t offset = -1;
};

// Reads and checks the headers of the file `path` named `name`.
FileHeaders ReadFileHeaders(const CString& path, const VDataSetName& name);

// Whether the headers of `path` prove it is a later part (scope >= 1) of the domain with this
// type, version and object: the replacement of a domain removes only such files.
bool ProvesLaterPart(const CString& path, const VDataSetName& name);

}  // namespace morvit

#endif  // MORVIT_FILES_DATASETINVENTORY_H
