// A host-services fake for tests: scratch data and project directories (the directory kinds
// laid out under the project directory as by default), the real data-set naming rule, library
// lists set by the test, and a record of every message sent to the user interface, every pump
// and every message shown or written; the cancel query can answer "cancel" at its k-th call.
#ifndef MORVIT_TESTS_SUPPORT_FAKEHOST_H
#define MORVIT_TESTS_SUPPORT_FAKEHOST_H

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "support/HostServices.h"
#include "support/TestUtil.h"

namespace testutil {

class FakeHost : public HostServices {
 public:
  struct SentMessage {
    int number;
    int value;
    CString text;
  };
  struct ShownMessage {
    int number;
    CString text;
  };
  struct WrittenMessage {
    int number;
    std::vector<VMessageValue> values;
  };

  FakeHost() = default;

  // The scratch data directory, ending in '/'; it is removed with the fake.
  CString DataDirectory() const { return m_data.path().string() + "/"; }
  // The scratch project directory, ending in '/'; it is removed with the fake.
  CString ProjectDirectory() const { return m_project.path().string() + "/"; }

  CString DataSetDirectory(const ObjParcelType& parcel) override;
  CString DataSetName(const ObjParcelType& parcel) override;
  int SendMessageToUI(int number, int value, const CString& text) override;
  void PumpMessages() override { ++pumps; }
  CString GetText(int number) override;
  void ShowMessage(int number, const CString& text) override;
  void WriteMessage(int number, const std::vector<VMessageValue>& values) override;
  CString Directory(int kind) override;
  std::vector<VLibraryObject> LibraryObjects(VLibraryList list) override;
  // The run events, one line each in `events` ("begun FILE TYPE", "ended FILE", "skipped FILE
  // CAUSE", "stopped answer|cancel|file CALL FILE").
  void DomainBegun(const CString& file, std::uint16_t type) override {
    events.push_back("begun " + file + " " + std::to_string(type));
  }
  void DomainEnded(const CString& file, std::uint16_t) override {
    events.push_back("ended " + file);
  }
  void DomainSkipped(const CString& file, std::uint16_t, int cause, long) override {
    events.push_back("skipped " + file + " " + std::to_string(cause));
  }
  void RunStopped(const VRunStop& reason) override {
    static const char* const kKinds[] = {"answer", "cancel", "file"};
    events.push_back(std::string("stopped ") + kKinds[reason.kind] + " " + reason.call + " " +
                     reason.file);
  }
  std::vector<std::string> events;

  // The cancel query answers non-zero at its `k`-th call (1-based) and later; 0: never.
  void CancelAtQuery(int k) { m_cancelAt = k; }
  // Replaces the wording of a text.
  void SetText(int number, const CString& text) { m_texts[number] = text; }
  // Sets a library file list of the object database (all empty at first).
  void SetLibraryObjects(VLibraryList list, std::vector<VLibraryObject> objects) {
    m_libraries[list] = std::move(objects);
  }

  // Every parcel the data-set lookups were asked about, in order.
  std::vector<ObjParcelType> lookups;
  std::vector<SentMessage> sent;
  std::vector<ShownMessage> shown;
  std::vector<WrittenMessage> written;
  int pumps = 0;
  int cancelQueries = 0;

 private:
  ScratchDir m_data;
  ScratchDir m_project;
  std::map<VLibraryList, std::vector<VLibraryObject>> m_libraries;
  int m_cancelAt = 0;
  std::map<int, CString> m_texts;
};

// Installs a host for the lifetime of the object and puts back the one installed before, and
// the process's current directory, which a newest-file search moves into the data directory.
class ScopedHost {
 public:
  explicit ScopedHost(HostServices& host);
  ~ScopedHost();
  ScopedHost(const ScopedHost&) = delete;
  ScopedHost& operator=(const ScopedHost&) = delete;

 private:
  HostServices* m_previous;
  std::filesystem::path m_directory;
};

}  // namespace testutil

#endif  // MORVIT_TESTS_SUPPORT_FAKEHOST_H
