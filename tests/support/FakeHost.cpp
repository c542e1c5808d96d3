// The recording host-services fake.
#include "support/FakeHost.h"

#include <filesystem>

#include "support/DataSetNames.h"
#include "support/DirectoryKinds.h"
#include "support/Texts.h"

namespace testutil {

CString FakeHost::DataSetDirectory(const ObjParcelType& parcel) {
  lookups.push_back(parcel);
  return DataDirectory();
}

CString FakeHost::DataSetName(const ObjParcelType& parcel) { return MakeDataSetName(parcel); }

int FakeHost::SendMessageToUI(int number, int value, const CString& text) {
  sent.push_back({number, value, text});
  if (number != kMessageCancelQuery) return 0;
  ++cancelQueries;
  return m_cancelAt > 0 && cancelQueries >= m_cancelAt ? 1 : 0;
}

CString FakeHost::GetText(int number) {
  auto own = m_texts.find(number);
  if (own != m_texts.end()) return own->second;
  const char* text = FindText(number);
  return text ? text : CString();
}

void FakeHost::ShowMessage(int number, const CString& text) { shown.push_back({number, text}); }

void FakeHost::WriteMessage(int number, const std::vector<VMessageValue>& values) {
  written.push_back({number, values});
}

CString FakeHost::Directory(int kind) { return DirectoryOfKind(ProjectDirectory(), kind); }

std::vector<VLibraryObject> FakeHost::LibraryObjects(VLibraryList list) {
  auto found = m_libraries.find(list);
  return found == m_libraries.end() ? std::vector<VLibraryObject>() : found->second;
}

ScopedHost::ScopedHost(HostServices& host)
    : m_previous(SetHost(&host)), m_directory(std::filesystem::current_path()) {}

ScopedHost::~ScopedHost() {
  SetHost(m_previous);
  std::error_code ignored;
  std::filesystem::current_path(m_directory, ignored);
}

}  // namespace testutil
