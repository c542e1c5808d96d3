// The tool's host services: progress, run events and Ctrl-C.
#include "record/ToolHost.h"

namespace morvit::tool {

ToolHost::ToolHost(ProgressBar& bar, DomainFileListener onDomainFile)
    : m_bar(bar), m_onDomainFile(std::move(onDomainFile)), m_previous(SetHost(this)) {}

ToolHost::~ToolHost() {
  SetHost(m_previous);
  m_bar.Finish();
}

bool ToolHost::Interrupted() { return morvit::tool::Interrupted(); }

int ToolHost::SendMessageToUI(int number, int value, const CString& text) {
  if (number == kMessageProgress) {
    m_bar.Update(text, value);
    return 0;
  }
  if (number == kMessageCancelQuery) {
    if (!Interrupted()) return 0;
    // The run stops; the one line about it is the run's own when it ends.
    m_bar.Finish();
    return 1;
  }
  return VHostServices::SendMessageToUI(number, value, text);
}

void ToolHost::DomainBegun(const CString& file, std::uint16_t type) {
  if (++m_handedOver == 2) InterruptMoment("backtranslate:domain");
  if (m_onDomainFile) m_onDomainFile(file, type);
}

void ToolHost::DomainEnded(const CString&, std::uint16_t) {
  if (m_onDomainFile) m_onDomainFile("", 0);
}

void ToolHost::DomainSkipped(const CString& file, std::uint16_t type, int cause, long osError) {
  m_skipped.push_back({file, type, cause, osError});
}

void ToolHost::RunStopped(const VRunStop& reason) { m_stop = reason; }

}  // namespace morvit::tool
