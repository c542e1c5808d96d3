// The default host services: environment settings, no window, messages on standard error.
#include "support/DefaultHost.h"

#include <cstdio>

#include "platform/HostSystem.h"
#include "support/DataSetNames.h"
#include "support/DirectoryKinds.h"
#include "support/ObjectDatabase.h"
#include "support/Texts.h"

namespace morvit {

namespace {

// The environment variable `name` when set and not empty.
std::optional<CString> Setting(const char* name) { return hostsys::Environment(name); }

}  // namespace

CString AbsoluteDirectory(const CString& directory) {
  CString text = hostsys::FullPath(directory);
  if (text.empty()) text = CFile::HostPath(directory);
  if (text.empty() || text.back() != '/') text += '/';
  return text;
}

const CString& DefaultHost::DataDirectory() {
  if (m_strDataDirectory.empty()) {
    m_strDataDirectory = AbsoluteDirectory(Setting("MORVIT_DATA_DIR").value_or("."));
  }
  return m_strDataDirectory;
}

const CString& DefaultHost::ProjectDirectory() {
  if (m_strProjectDirectory.empty()) {
    const std::optional<CString> setting = Setting("MORVIT_PROJECT_DIR");
    m_strProjectDirectory = setting ? AbsoluteDirectory(*setting) : DataDirectory();
  }
  return m_strProjectDirectory;
}

const CString& DefaultHost::ObjectDatabasePath() {
  if (m_strObjectDatabase.empty()) {
    m_strObjectDatabase =
        Setting("MORVIT_OBJECT_DATABASE").value_or(ProjectDirectory() + "objects.json");
  }
  return m_strObjectDatabase;
}

void DefaultHost::ForgetSettings() {
  m_strDataDirectory.clear();
  m_strProjectDirectory.clear();
  m_strObjectDatabase.clear();
}

void DefaultHost::SetDataDirectory(const CString& directory) {
  m_strDataDirectory = AbsoluteDirectory(directory);
}

void DefaultHost::SetProjectDirectory(const CString& directory) {
  m_strProjectDirectory = AbsoluteDirectory(directory);
}

void DefaultHost::SetObjectDatabasePath(const CString& path) { m_strObjectDatabase = path; }

CString DefaultHost::DataSetDirectory(const ObjParcelType&) { return DataDirectory(); }

CString DefaultHost::DataSetName(const ObjParcelType& parcel) { return MakeDataSetName(parcel); }

int DefaultHost::SendMessageToUI(int, int, const CString&) { return 0; }

void DefaultHost::PumpMessages() { hostsys::PumpWindowMessages(); }

CString DefaultHost::GetText(int number) {
  const char* text = FindText(number);
  return text ? text : CString();
}

void DefaultHost::ShowMessage(int number, const CString& text) {
  const CString wording = GetText(number);
  std::fprintf(stderr, "Morvit32 message %d: %s%s%s\n", number, wording.c_str(),
               wording.empty() ? "" : ": ", text.c_str());
}

CString DefaultHost::Directory(int kind) { return DirectoryOfKind(ProjectDirectory(), kind); }

std::vector<VLibraryObject> DefaultHost::LibraryObjects(VLibraryList list) {
  return ReadLibraryObjects(ObjectDatabasePath(), list);
}

}  // namespace morvit
