// Test-only fault injection into the file class: the n-th file operation of the chosen kinds
// fails with a chosen errno, writes only part of its bytes, or kills the process. Disarmed (the
// normal state), each file operation pays one test of a flag. Not part of the public interface:
// the library's tests and fuzz programs reach it through the static library.
#ifndef MORVIT_PLATFORM_FILEFAULTS_H
#define MORVIT_PLATFORM_FILEFAULTS_H

#include <cstdint>

namespace morvit::filefaults {

// The file operations that can be made to fail, as bits of a mask.
enum Call : unsigned {
  kOpen = 1u << 0,    // opening or creating a file
  kRead = 1u << 1,    // a read from the disk (not one served from the buffer)
  kWrite = 1u << 2,   // a write to the disk (buffered writes reach it in blocks)
  kSeek = 1u << 3,    // a change of position
  kFlush = 1u << 4,   // bringing a file or a directory to stable storage
  kRename = 1u << 5,  // moving a file to another name
  kRemove = 1u << 6,  // deleting a file
  kAllCalls = (1u << 7) - 1,
};

// What happens at the n-th call (1-based) of the kinds in `calls`.
struct Fault {
  unsigned calls = kAllCalls;
  std::uint64_t nth = 0;  // 0: count only, never fail
  int error = 0;          // errno the call fails with
  // A write that reaches the disk with only half of its bytes; the write that continues it
  // then fails with `error` (a disk that fills up), or goes through when `error` is 0.
  bool shortWrite = false;
  // The call and every later one of the kinds fail (a disk that stays full).
  bool persistent = false;
  // The process ends at once instead (SIGKILL, or TerminateProcess on Windows): no clean-up
  // of any kind runs.
  bool kill = false;
};

// Set while a fault is armed; the one test every file operation makes.
extern bool g_armed;

// Arms `fault` and starts counting calls from zero.
void Arm(const Fault& fault);
void Disarm();
// The calls of the armed kinds seen since Arm, the calls of one kind (armed or not), and
// whether the fault has struck.
std::uint64_t CallsSeen();
std::uint64_t CallsSeen(Call kind);
bool Struck();

// Called by the file class when armed: counts the call and gives the errno it must fail with
// (0: go on). For a write, *shorten becomes true when the write must take half its bytes.
int OnCall(Call call, bool* shorten = nullptr);

}  // namespace morvit::filefaults

#endif  // MORVIT_PLATFORM_FILEFAULTS_H
