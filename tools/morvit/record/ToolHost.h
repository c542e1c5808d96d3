// The tool's host services during a run: progress messages drive the progress bar; the run
// events tell the recording database which domain file the following calls belong to (none for
// the run's own calls) and are kept for the run's report; Ctrl-C answers the next cancel query,
// so that the run stops cleanly with its result. Installed for its lifetime.
#ifndef MORVIT_TOOL_TOOLHOST_H
#define MORVIT_TOOL_TOOLHOST_H

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cli/Interrupts.h"
#include "cli/ProgressBar.h"
#include "cli/ToolPlatform.h"
#include "morvit/VHostServices.h"

namespace morvit::tool {

// A domain the run passed over.
struct SkippedDomain {
  std::string file;
  std::uint16_t type = 0;
  int cause = 0;
  long osError = -1;
};

class ToolHost : public VHostServices {
 public:
  // Called with the file and type of the domain being handed over, and with "" when it ends.
  using DomainFileListener = std::function<void(const std::string& file, std::uint16_t type)>;

  ToolHost(ProgressBar& bar, DomainFileListener onDomainFile);
  ~ToolHost() override;
  ToolHost(const ToolHost&) = delete;
  ToolHost& operator=(const ToolHost&) = delete;

  int SendMessageToUI(int number, int value, const CString& text) override;
  void DomainBegun(const CString& file, std::uint16_t type) override;
  void DomainEnded(const CString& file, std::uint16_t type) override;
  void DomainSkipped(const CString& file, std::uint16_t type, int cause, long osError) override;
  void RunStopped(const VRunStop& reason) override;

  // Whether an interrupt asked the run to stop.
  static bool Interrupted();

  int DomainsHandedOver() const { return m_handedOver; }
  const std::vector<SkippedDomain>& Skipped() const { return m_skipped; }
  const std::optional<VRunStop>& StopReason() const { return m_stop; }

 private:
  ProgressBar& m_bar;
  DomainFileListener m_onDomainFile;
  VHostServices* m_previous;
  InterruptWatch m_interrupts;
  int m_handedOver = 0;
  std::vector<SkippedDomain> m_skipped;
  std::optional<VRunStop> m_stop;
};

}  // namespace morvit::tool

#endif  // MORVIT_TOOL_TOOLHOST_H
