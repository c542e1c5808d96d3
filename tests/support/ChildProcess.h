// Child processes of a test: the test program started again, running one registered body
// instead of its tests (a fresh process, as Windows has no fork), which the test can kill at
// any instant and whose end it can tell apart from a kill.
#ifndef MORVIT_TESTS_SUPPORT_CHILDPROCESS_H
#define MORVIT_TESTS_SUPPORT_CHILDPROCESS_H

#include <cstdint>
#include <string>
#include <vector>

namespace testutil {

// What a child runs, given the arguments its parent started it with.
using ChildBody = void (*)(const std::vector<std::string>& arguments);

// Registers a body under a name, at static initialisation:
//   const testutil::ChildRegistration kWriter{"writer", &Writer};
struct ChildRegistration {
  ChildRegistration(const char* name, ChildBody body);
};

// The status of a process ended by a kill: KillProcess() inside it or Kill() from outside.
inline constexpr int kKilledStatus = 137;

class ChildProcess {
 public:
  // Starts the body registered as `name` in a new process of this program. The body's return
  // ends the child with status 0.
  ChildProcess(const std::string& name, const std::vector<std::string>& arguments);
  ~ChildProcess();  // kills a child that still runs
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Ends the child at once, with no clean-up in it (the stand-in for a power failure).
  void Kill();
  // Waits for the child's end: its exit status, or kKilledStatus when it was killed; -1 when
  // it could not be started or waited for.
  int Wait();

 private:
  std::intptr_t m_process = -1;  // the host's process id or handle
  bool m_waited = false;
  int m_status = -1;
};

}  // namespace testutil

#endif  // MORVIT_TESTS_SUPPORT_CHILDPROCESS_H
