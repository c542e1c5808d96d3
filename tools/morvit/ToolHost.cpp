// The tool's host services: progress, domain files and Ctrl-C.
#include "ToolHost.h"

#include <csignal>
#include <iostream>

namespace morvit::tool {
namespace {

// Set by the interrupt handler, read by the cancel query.
volatile std::sig_atomic_t g_interrupted = 0;

// The first Ctrl-C asks the run to stop at its next cancel query; the handler then gives way
// to the default, so that a second Ctrl-C ends the process at once.
void OnInterrupt(int) {
  g_interrupted = 1;
  InterruptRoute::RestoreDefault();
}

}  // namespace

ToolHost::ToolHost(ProgressBar& bar, DomainFileListener onDomainFile)
    : m_bar(bar),
      m_onDomainFile(std::move(onDomainFile)),
      m_previous(SetHost(this)),
      m_interrupts((g_interrupted = 0, OnInterrupt)) {}

ToolHost::~ToolHost() {
  SetHost(m_previous);
  m_bar.Finish();
}

bool ToolHost::Interrupted() { return g_interrupted != 0; }

int ToolHost::SendMessageToUI(int number, int value, const CString& text) {
  if (number == kMessageProgress) {
    if (m_onDomainFile) m_onDomainFile(text);
    m_bar.Update(text, value);
    return 0;
  }
  if (number == kMessageCancelQuery) {
    if (!Interrupted()) return 0;
    if (!m_cancelAnswered) {
      m_bar.Finish();
      std::cerr << "morvit: interrupted: the run stops here\n";
      m_cancelAnswered = true;
    }
    return 1;
  }
  return VHostServices::SendMessageToUI(number, value, text);
}

}  // namespace morvit::tool
