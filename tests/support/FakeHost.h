// A host-services fake for tests: a scratch data directory, the real data-set naming rule, and
// a record of every message sent to the user interface, every pump and every message shown;
// the cancel query can be told to answer "cancel" at its k-th call.
#ifndef MORVIT_TESTS_SUPPORT_FAKEHOST_H
#define MORVIT_TESTS_SUPPORT_FAKEHOST_H

#include <filesystem>
#include <map>
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

  FakeHost() = default;

  // The scratch data directory, ending in '/'; it is removed with the fake.
  CString DataDirectory() const { return m_data.path().string() + "/"; }

  CString DataSetDirectory(const ObjParcelType& parcel) override;
  CString DataSetName(const ObjParcelType& parcel) override;
  int SendMessageToUI(int number, int value, const CString& text) override;
  void PumpMessages() override { ++pumps; }
  CString GetText(int number) override;
  void ShowMessage(int number, const CString& text) override;

  // The cancel query answers non-zero at its `k`-th call (1-based) and later; 0: never.
  void CancelAtQuery(int k) { m_cancelAt = k; }
  // Replaces the wording of a text.
  void SetText(int number, const CString& text) { m_texts[number] = text; }

  // Every parcel the data-set lookups were asked about, in order.
  std::vector<ObjParcelType> lookups;
  std::vector<SentMessage> sent;
  std::vector<ShownMessage> shown;
  int pumps = 0;
  int cancelQueries = 0;

 private:
  ScratchDir m_data;
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
