// Host services of one data set: its directories given by the client, not by the environment.
#include "support/DefaultHost.h"
#include "support/DirectoryKinds.h"
#include "support/ObjectDatabase.h"

using namespace morvit;

VDataSetHost::VDataSetHost(const CString& dataDirectory, const CString& projectDirectory,
                           const CString& objectDatabase)
    : m_strData(AbsoluteDirectory(dataDirectory)),
      m_strProject(projectDirectory.empty() ? m_strData : AbsoluteDirectory(projectDirectory)),
      m_strObjects(objectDatabase.empty() ? m_strProject + "objects.json" : objectDatabase) {}

CString VDataSetHost::DataSetDirectory(const ObjParcelType&) { return m_strData; }

CString VDataSetHost::Directory(int kind) { return DirectoryOfKind(m_strProject, kind); }

std::vector<VLibraryObject> VDataSetHost::LibraryObjects(VLibraryList list) {
  return ReadLibraryObjects(m_strObjects, list);
}
