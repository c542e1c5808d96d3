// The counter and the armed fault of the file class's fault injection: process-wide, for one
// test at a time.
#include "platform/FileFaults.h"

#include <array>
#include <bit>

#include "platform/HostSystem.h"

namespace morvit::filefaults {

bool g_armed = false;

namespace {

struct State {
  Fault fault;
  std::uint64_t seen = 0;
  std::array<std::uint64_t, 7> seenOfKind{};
  bool struck = false;
  int pendingWriteError = 0;  // the error of the write that continues a short one
};

State& Current() {
  static State state;
  return state;
}

}  // namespace

void Arm(const Fault& fault) {
  Current() = State{fault};
  g_armed = true;
}

void Disarm() {
  g_armed = false;
  Current().pendingWriteError = 0;
}

std::uint64_t CallsSeen() { return Current().seen; }

std::uint64_t CallsSeen(Call kind) {
  return Current().seenOfKind.at(std::countr_zero(unsigned{kind}));
}

bool Struck() { return Current().struck; }

int OnCall(Call call, bool* shorten) {
  State& state = Current();
  if (call == kWrite && state.pendingWriteError != 0) {
    const int error = state.pendingWriteError;
    state.pendingWriteError = 0;
    return error;
  }
  ++state.seenOfKind.at(std::countr_zero(unsigned{call}));
  if ((state.fault.calls & call) == 0) return 0;
  ++state.seen;
  const bool due =
      state.fault.nth != 0 &&
      (state.seen == state.fault.nth || (state.fault.persistent && state.seen > state.fault.nth));
  if (!due) return 0;
  state.struck = true;
  if (state.fault.kill) hostsys::KillProcess();
  if (call == kWrite && state.fault.shortWrite && shorten != nullptr) {
    *shorten = true;
    state.pendingWriteError = state.fault.error;
    return 0;
  }
  return state.fault.error;
}

}  // namespace morvit::filefaults
