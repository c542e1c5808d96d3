// Interrupts and SIGPIPE: POSIX signals, or Windows console control events.
#include "cli/Interrupts.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

#include "cli/Failure.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace morvit::tool {
namespace {

// Set by the handlers (the signal's number), read by the commands.
volatile std::sig_atomic_t g_signal = 0;
int g_depth = 0;  // InterruptWatch objects alive
bool g_momentDone = false;

void OnSignal(int signal) {
  if (g_signal == 0) g_signal = signal;
  std::signal(signal, SIG_DFL);
}

#ifdef _WIN32

// Windows has no SIGHUP: the console's closing stands for it.
constexpr int kHangUp = 1;
const int kWatched[] = {SIGINT, SIGTERM};
HANDLE g_runEnded = nullptr;

// Runs on a thread of its own that the console starts. The first Ctrl-C or Ctrl-Break is taken;
// the handler then removes itself, so that the next one ends the process. The console's
// closing (and the user's logging off) ends the process when the handler returns: the handler
// waits for the run to clean up first, within the few seconds the system allows.
BOOL WINAPI OnConsoleControl(DWORD event) {
  const bool hangUp =
      event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT;
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && !hangUp) return FALSE;
  if (g_signal == 0) g_signal = hangUp ? kHangUp : SIGINT;
  ::SetConsoleCtrlHandler(OnConsoleControl, FALSE);
  if (hangUp && g_runEnded != nullptr) ::WaitForSingleObject(g_runEnded, 4000);
  return TRUE;
}

void Install() {
  if (g_runEnded == nullptr) g_runEnded = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ::SetConsoleCtrlHandler(OnConsoleControl, TRUE);
  for (int signal : kWatched) std::signal(signal, OnSignal);
}

void Uninstall() {
  ::SetConsoleCtrlHandler(OnConsoleControl, FALSE);
  for (int signal : kWatched) std::signal(signal, SIG_DFL);
}

int SignalNamed(const char* name) { return std::strcmp(name, "TERM") == 0 ? SIGTERM : SIGINT; }

#else

constexpr int kHangUp = SIGHUP;
const int kWatched[] = {SIGINT, SIGTERM, SIGHUP};

// sigaction, so that the handler stays installed across deliveries on every libc; no
// SA_RESTART, so that a read waiting for input gives way.
void Install() {
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  for (int signal : kWatched) sigaction(signal, &action, nullptr);
}

void Uninstall() {
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  for (int signal : kWatched) sigaction(signal, &action, nullptr);
}

int SignalNamed(const char* name) {
  if (std::strcmp(name, "TERM") == 0) return SIGTERM;
  if (std::strcmp(name, "HUP") == 0) return SIGHUP;
  return SIGINT;
}

#endif

}  // namespace

InterruptWatch::InterruptWatch() {
  if (g_depth++ != 0) return;
  g_signal = 0;
  Install();
}

InterruptWatch::~InterruptWatch() {
  if (--g_depth == 0) Uninstall();
}

bool Interrupted() { return g_signal != 0; }

// The statuses a POSIX shell gives for these signals (128 + their POSIX numbers), on every host.
int InterruptedExitStatus() {
  if (g_signal == SIGTERM) return 143;
  if (g_signal == kHangUp) return 129;
  return 130;
}

void StopIfInterrupted(std::string_view state) {
  if (Interrupted()) throw InterruptedRun("interrupted; " + std::string(state));
}

void InterruptMoment(std::string_view moment) {
  const char* wanted = std::getenv("MORVIT_INTERRUPT_AT");
  if (g_momentDone || wanted == nullptr || moment != wanted) return;
  g_momentDone = true;
  const char* signal = std::getenv("MORVIT_INTERRUPT_SIGNAL");
  std::raise(SignalNamed(signal != nullptr ? signal : "INT"));
}

#ifdef _WIN32

void RunEnded() {
  if (g_runEnded != nullptr) ::SetEvent(g_runEnded);
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

void RunEnded() {}

void IgnoreBrokenPipe() { std::signal(SIGPIPE, SIG_IGN); }

bool WriteToClosedPipe(int error) { return error == EPIPE; }

#endif

}  // namespace morvit::tool
