// Ctrl-C and a closed output pipe, the tool's only dealings with signals (kept in this one
// place: a POSIX signal handler, or on Windows a console control handler). While an
// InterruptWatch lives, the first Ctrl-C only raises a flag that the command polls, so that it
// can stop cleanly (remove its scratch files, let the library discard what it staged) and exit
// with kExitInterrupted; the handler then gives way to the default, so that a second Ctrl-C ends
// the process at once.
#ifndef MORVIT_TOOL_INTERRUPTS_H
#define MORVIT_TOOL_INTERRUPTS_H

namespace morvit::tool {

class InterruptWatch {
 public:
  InterruptWatch();
  ~InterruptWatch();
  InterruptWatch(const InterruptWatch&) = delete;
  InterruptWatch& operator=(const InterruptWatch&) = delete;

 private:
  void (*m_previous)(int) = nullptr;  // the POSIX handler it replaced
};

// Whether Ctrl-C was pressed since the last InterruptWatch began.
bool Interrupted();

// A write to a closed pipe fails as a write (EPIPE) instead of ending the process, so that the
// command can clean up and stop.
void IgnoreBrokenPipe();

// Whether a failed write to standard output means that the reading end of its pipe is gone:
// EPIPE, or on Windows the EINVAL that the C run time gives for a pipe being closed.
bool WriteToClosedPipe(int error);

}  // namespace morvit::tool

#endif  // MORVIT_TOOL_INTERRUPTS_H
