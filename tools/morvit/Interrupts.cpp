// Ctrl-C and SIGPIPE on POSIX hosts.
#include "Interrupts.h"

namespace morvit::tool {
namespace {

// Set by the interrupt handler, read by the commands.
volatile std::sig_atomic_t g_interrupted = 0;

void OnInterrupt(int) {
  g_interrupted = 1;
  std::signal(SIGINT, SIG_DFL);
}

}  // namespace

InterruptWatch::InterruptWatch() {
  g_interrupted = 0;
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, &m_previous);
}

InterruptWatch::~InterruptWatch() { sigaction(SIGINT, &m_previous, nullptr); }

bool Interrupted() { return g_interrupted != 0; }

void IgnoreBrokenPipe() { std::signal(SIGPIPE, SIG_IGN); }

}  // namespace morvit::tool
