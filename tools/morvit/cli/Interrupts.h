// Interrupts and a closed output pipe, the tool's only dealings with signals (kept in this one
// place: POSIX signal handlers, or on Windows a console control handler). RunTool watches for
// the whole run: the first SIGINT, SIGTERM or SIGHUP (Ctrl-C, Ctrl-Break or the console's
// closing on Windows) only raises a flag that the commands poll (StopIfInterrupted), so that
// each stops cleanly: its scratch space goes with the objects that own it, the library
// discards what it staged, and the run exits with the status a POSIX shell gives for the signal
// (130 for Ctrl-C, 143 for SIGTERM, 129 for SIGHUP), on every host. The handler then gives way
// to the default, so that a second one ends the process at once.
#ifndef MORVIT_TOOL_INTERRUPTS_H
#define MORVIT_TOOL_INTERRUPTS_H

#include <string>
#include <string_view>

namespace morvit::tool {

// Watches for interrupts while it lives. Watches nest: the outermost one installs the handlers
// and clears the flag, inner ones (a command's, a run's) share it.
class InterruptWatch {
 public:
  InterruptWatch();
  ~InterruptWatch();
  InterruptWatch(const InterruptWatch&) = delete;
  InterruptWatch& operator=(const InterruptWatch&) = delete;
};

// Whether an interrupt arrived since the outermost InterruptWatch began.
bool Interrupted();
// The exit status of an interrupted run: 130, 143 or 129 (130 when none arrived).
int InterruptedExitStatus();

// Stops the command when an interrupt arrived: throws an InterruptedRun whose message is
// "interrupted; " + `state` (what was completed, or "nothing changed").
void StopIfInterrupted(std::string_view state = "nothing changed");

// A moment of a command at which the tool's tests interrupt it: when the setting
// MORVIT_INTERRUPT_AT names `moment`, the process sends itself the signal that
// MORVIT_INTERRUPT_SIGNAL names (INT, TERM or HUP; INT when unset) there, once. The commands x
// moments table of the tests is built on it; without the setting it does nothing.
void InterruptMoment(std::string_view moment);

// Tells a handler that waits for the run (Windows' console closing, which ends the process
// when its handler returns) that the run has cleaned up.
void RunEnded();

// A write to a closed pipe fails as a write (EPIPE) instead of ending the process, so that the
// command can clean up and stop.
void IgnoreBrokenPipe();

// Whether a failed write to standard output means that the reading end of its pipe is gone:
// EPIPE, or on Windows the EINVAL that the C run time gives for a pipe being closed.
bool WriteToClosedPipe(int error);

}  // namespace morvit::tool

#endif  // MORVIT_TOOL_INTERRUPTS_H
