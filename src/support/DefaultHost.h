// The host services a process gets when nobody installs others: settings from the environment,
// no user-interface window, texts from the library's own table, messages on standard error,
// the directory kinds under the project directory, the object database from a JSON store.
#ifndef MORVIT_SUPPORT_DEFAULTHOST_H
#define MORVIT_SUPPORT_DEFAULTHOST_H

#include "support/HostServices.h"

namespace morvit {

class DefaultHost : public HostServices {
 public:
  // The data-set directory (every domain file), ending in '/': MORVIT_DATA_DIR, else the
  // current directory at first use, made absolute. Fixed at first use unless set below.
  const CString& DataDirectory();
  // The root of the directory kinds of node domains, ending in '/': MORVIT_PROJECT_DIR, else
  // the data directory.
  const CString& ProjectDirectory();
  // The object database's store: MORVIT_OBJECT_DATABASE, else "objects.json" in the project
  // directory. Read at every lookup, so that an edited store is seen at once.
  const CString& ObjectDatabasePath();
  // Override the environment; a directory is made absolute and given a trailing '/'.
  void SetDataDirectory(const CString& directory);
  // Forgets the three settings, so that the next use reads the environment again.
  void ForgetSettings();
  void SetProjectDirectory(const CString& directory);
  void SetObjectDatabasePath(const CString& path);

  CString DataSetDirectory(const ObjParcelType& parcel) override;
  CString DataSetName(const ObjParcelType& parcel) override;
  // No window: progress is dropped and the cancel query answers 0.
  int SendMessageToUI(int number, int value, const CString& text) override;
  // One round of the thread's window messages on Windows (the host program's window keeps
  // answering during long runs); nothing on a POSIX host.
  void PumpMessages() override;
  CString GetText(int number) override;
  // Writes "Morvit32 message <number>: <its text>: <text>" to standard error (without the
  // middle part for a number that has no text).
  void ShowMessage(int number, const CString& text) override;
  // The kind's sub-directory of the project directory (table in docs/host-services.md).
  CString Directory(int kind) override;
  // The list from the store; a missing store holds empty lists.
  std::vector<VLibraryObject> LibraryObjects(VLibraryList list) override;

 private:
  CString m_strDataDirectory;     // empty until first use
  CString m_strProjectDirectory;  // empty until first use
  CString m_strObjectDatabase;    // empty until first use
};

// `directory` made absolute, with exactly one trailing '/'. '\\' separators become '/'.
CString AbsoluteDirectory(const CString& directory);

// The process-wide default instance (the one Host() gives when nothing is installed).
DefaultHost& GetDefaultHost();

}  // namespace morvit

#endif  // MORVIT_SUPPORT_DEFAULTHOST_H
