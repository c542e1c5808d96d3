// Directory kinds to sub-directories of the project directory. The named sub-directories keep
// their names; the tool's own directories gather under "TOOL/", so that a node restored into a
// fresh project directory never reaches outside it.
#include "support/DirectoryKinds.h"

#include "morvit/VHostServices.h"

namespace morvit {

namespace {

struct KindDirectory {
  int kind;
  const char* subDirectory;  // below the project directory; "" is the project directory
};

constexpr KindDirectory kKindDirectories[] = {
    {kDirectoryTool, "TOOL/"},
    {kDirectoryToolPc, "TOOL/PC/"},
    {kDirectoryToolDatabase, "TOOL/DB/"},
    {kDirectoryTcData, "TCDATA/"},
    {kDirectoryDbData, "DBDATA/"},
    {kDirectoryPcData, "PCDATA/"},
    {kDirectoryControl, "CONTROL/"},
    {kDirectoryMode, "MODE/"},
    {kDirectoryProject, ""},
    {kDirectoryEnvironment, "ENVIRONMENT/"},
    {kDirectorySourceLibrary, "LIBDATA/SRC_LIB/"},
    {kDirectoryToolSource, "TOOL/SOURCE/"},
};

}  // namespace

CString DirectoryOfKind(const CString& projectDirectory, int kind) {
  for (const KindDirectory& entry : kKindDirectories) {
    if (entry.kind == kind) return projectDirectory + entry.subDirectory;
  }
  return CString();
}

}  // namespace morvit
