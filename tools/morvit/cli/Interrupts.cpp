// Ctrl-C and SIGPIPE: POSIX signals, or Windows console control events.
#include "cli/Interrupts.h"

#include <cerrno>
#include <csignal>

#ifdef _WIN32
#include <windows.h>
#endif

namespace morvit::tool {
namespace {

// Set by the interrupt handler, read by the commands.
volatile std::sig_atomic_t g_interrupted = 0;

#ifdef _WIN32

// Runs on a thread of its own that the console starts. The first Ctrl-C (or Ctrl-Break) is
// taken; the handler then removes itself, so that the next one ends the process.
BOOL WINAPI OnConsoleControl(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
  g_interrupted = 1;
  ::SetConsoleCtrlHandler(OnConsoleControl, FALSE);
  return TRUE;
}

#endif

void OnInterrupt(int) {
  g_interrupted = 1;
  std::signal(SIGINT, SIG_DFL);
}

}  // namespace

#ifdef _WIN32

// A raised SIGINT (the C run time's own) counts as Ctrl-C too.
InterruptWatch::InterruptWatch() {
  g_interrupted = 0;
  ::SetConsoleCtrlHandler(OnConsoleControl, TRUE);
  m_previous = std::signal(SIGINT, OnInterrupt);
}

InterruptWatch::~InterruptWatch() {
  ::SetConsoleCtrlHandler(OnConsoleControl, FALSE);
  std::signal(SIGINT, m_previous == SIG_ERR ? SIG_DFL : m_previous);
}

// Windows has no SIGPIPE: a write to a closed pipe fails by itself.
void IgnoreBrokenPipe() {}

// (The C run time turns the system's "pipe is being closed" into EINVAL, which a write to a
// pipe has no other cause for.)
bool WriteToClosedPipe(int error) {
  return error == EPIPE ||
         (error == EINVAL && ::GetFileType(::GetStdHandle(STD_OUTPUT_HANDLE)) == FILE_TYPE_PIPE);
}

#else

// sigaction, so that the handler stays installed across deliveries on every libc.
InterruptWatch::InterruptWatch() {
  g_interrupted = 0;
  struct sigaction action {};
  struct sigaction previous {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, &previous);
  m_previous = previous.sa_handler;
}

InterruptWatch::~InterruptWatch() {
  struct sigaction action {};
  action.sa_handler = m_previous;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
}

void IgnoreBrokenPipe() { std::signal(SIGPIPE, SIG_IGN); }

bool WriteToClosedPipe(int error) { return error == EPIPE; }

#endif

bool Interrupted() { return g_interrupted != 0; }

}  // namespace morvit::tool
