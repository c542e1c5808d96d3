// While a domain file is listed, its directory is the data-set directory (the class listings
// read the domain's further files through it) and the working directory (the generic lister
// works on the bare name). Both are put back when the object goes.
#ifndef MORVIT_TOOL_DUMPDIRECTORY_H
#define MORVIT_TOOL_DUMPDIRECTORY_H

#include <filesystem>

#include "cli/ScopedHost.h"

namespace morvit::tool {

class DumpDirectory : public ScopedHost {
 public:
  explicit DumpDirectory(const std::filesystem::path& directory);
  ~DumpDirectory() override;
  CString DataSetDirectory(const ObjParcelType&) override { return m_directory; }

 private:
  CString m_directory;
  std::filesystem::path m_cwd;
};

}  // namespace morvit::tool

#endif  // MORVIT_TOOL_DUMPDIRECTORY_H
