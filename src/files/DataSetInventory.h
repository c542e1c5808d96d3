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
  bool cut = false;  // the problem is a file that ends before its headers say it does
};

// Reads and checks the headers of the file `path` named `name`. A failure to read the file is a
// problem of the file; with `raiseStorageFailures` a failure of the storage under it (see
// StorageFailure.h) is raised instead.
FileHeaders ReadFileHeaders(const CString& path, const VDataSetName& name,
                            bool raiseStorageFailures = false);

// What a later part's headers say against its domain's first file (`first`, named
// `firstName`): its own problem, a part count or a time stamp of its own; empty when it agrees.
struct PartContradiction {
  std::string cause;
  std::int64_t offset = -1;
};
PartContradiction JudgePart(const FileHeaders& part, const FileHeaders& first,
                            const std::string& firstName);

// The verdict of the headers of the domain whose first file is `path`, as the inventory gives
// it: the first file's headers, then each later part it counts, found by its name (in any case).
// `text` is empty when sound, else the verdict in words; `file` is the file it is in, `cause` the
// file exception a reader would meet there (end of file for a file cut short, file not found for
// a missing part, invalid file for any other contradiction). A failure of the storage is raised:
// a reader that meets one stops rather than calling the domain damaged.
struct HeaderVerdict {
  std::string text;
  CString file;
  int cause = CFileException::none;
};
HeaderVerdict JudgeDomainHeaders(const CString& path);

// Whether the headers of `path` prove it is a later part (scope >= 1) of the domain with this
// type, version and object: the replacement of a domain removes only such files.
bool ProvesLaterPart(const CString& path, const VDataSetName& name);

}  // namespace morvit

#endif  // MORVIT_FILES_DATASETINVENTORY_H
