// Ctrl-C and a closed output pipe, the tool's only dealings with signals (kept in this one
// place so that another host needs only its own version of this file pair). While an
// InterruptWatch lives, the first Ctrl-C only raises a flag that the command polls, so that it
// can stop cleanly (remove its scratch files, let the library discard what it staged) and exit
// with kExitInterrupted; the handler then gives way to the default, so that a second Ctrl-C ends
// the process at once.
#ifndef MORVIT_TOOL_INTERRUPTS_H
#define MORVIT_TOOL_INTERRUPTS_H

#include <csignal>

namespace morvit::tool {

class InterruptWatch {
 public:
  InterruptWatch();
  ~InterruptWatch();
  InterruptWatch(const InterruptWatch&) = delete;
  InterruptWatch& operator=(const InterruptWatch&) = delete;

 private:
  struct sigaction m_previous {};
};

// Whether Ctrl-C was pressed since the last InterruptWatch began.
bool Interrupted();

// A write to a closed pipe fails as a write (EPIPE) instead of ending the process, so that the
// command can clean up and stop.
void IgnoreBrokenPipe();

}  // namespace morvit::tool

#endif  // MORVIT_TOOL_INTERRUPTS_H
