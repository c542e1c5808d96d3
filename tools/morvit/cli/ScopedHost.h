// A host of the tool's own, installed for its lifetime and the previous one put back after it:
// a command derives from it and overrides only the services it changes.
#ifndef MORVIT_TOOL_SCOPEDHOST_H
#define MORVIT_TOOL_SCOPEDHOST_H

#include "morvit/VHostServices.h"

namespace morvit::tool {

class ScopedHost : public VHostServices {
 public:
  ScopedHost() : m_previous(SetHost(this)) {}
  ~ScopedHost() override { SetHost(m_previous); }
  ScopedHost(const ScopedHost&) = delete;
  ScopedHost& operator=(const ScopedHost&) = delete;

 private:
  VHostServices* m_previous;
};

}  // namespace morvit::tool

#endif  // MORVIT_TOOL_SCOPEDHOST_H
