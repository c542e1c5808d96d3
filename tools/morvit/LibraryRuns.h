// The library operations that the dump, back-translation and library-check commands drive.
// They reach the library in steps; each wrapper calls its operation when the library offers it
// and otherwise fails the run with a message saying which operation this build lacks. (Once
// every operation is in the library, the checks below can go and the wrappers call directly.)
#ifndef MORVIT_TOOL_LIBRARYRUNS_H
#define MORVIT_TOOL_LIBRARYRUNS_H

#include <cstdint>
#include <string>

#include "Failure.h"
#include "morvit/VBase.h"
#include "morvit/VManager.h"

namespace morvit::tool {

[[noreturn]] inline void MissingFromLibrary(const char* operation) {
  throw Failure(std::string("this build of the library has no ") + operation);
}

template <typename Manager = VManager>
int NodeBacktranslate(Manager& manager, CString& nodeName, int option) {
  if constexpr (requires { manager.NodeBacktranslate(nodeName, option); }) {
    return manager.NodeBacktranslate(nodeName, option);
  } else {
    MissingFromLibrary("node back-translation (VManager::NodeBacktranslate)");
  }
}

template <typename Manager = VManager>
int DBBacktranslate(Manager& manager) {
  if constexpr (requires { manager.DBBacktranslate(); }) {
    return manager.DBBacktranslate();
  } else {
    MissingFromLibrary("database back-translation (VManager::DBBacktranslate)");
  }
}

template <typename Manager = VManager>
int PCBacktranslate(Manager& manager) {
  if constexpr (requires { manager.PCBacktranslate(); }) {
    return manager.PCBacktranslate();
  } else {
    MissingFromLibrary("PC program back-translation (VManager::PCBacktranslate)");
  }
}

template <typename Manager = VManager>
int LibsODBSuitLibsTarget(Manager& manager) {
  if constexpr (requires { manager.LibsODBSuitLibsTarget(); }) {
    return manager.LibsODBSuitLibsTarget();
  } else {
    MissingFromLibrary("library check (VManager::LibsODBSuitLibsTarget)");
  }
}

// VBase_DumpDomain(length, name): the listing of a domain file beside it.
template <typename Length = std::uint16_t>
void DumpDomain(Length length, const char* name) {
  if constexpr (requires { VBase_DumpDomain(length, name); }) {
    VBase_DumpDomain(length, name);
  } else {
    MissingFromLibrary("dump (VBase_DumpDomain)");
  }
}

// Whether this build's library offers the operations (the demo runs only what is there).
template <typename Manager = VManager>
constexpr bool HasPCBacktranslate() {
  return requires(Manager & manager) { manager.PCBacktranslate(); };
}

template <typename Length = std::uint16_t>
constexpr bool HasDump() {
  return requires(Length length, const char* name) { VBase_DumpDomain(length, name); };
}

}  // namespace morvit::tool

#endif  // MORVIT_TOOL_LIBRARYRUNS_H
