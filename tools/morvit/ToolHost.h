// The tool's host services during a run: progress messages drive the progress bar and tell
// the recording database which domain file the following calls belong to; Ctrl-C answers the
// next cancel query, so that the run stops cleanly with its result. Installed for its lifetime.
#ifndef MORVIT_TOOL_TOOLHOST_H
#define MORVIT_TOOL_TOOLHOST_H

#include <functional>
#include <string>

#include "ProgressBar.h"
#include "ToolPlatform.h"
#include "morvit/VHostServices.h"

namespace morvit::tool {

class ToolHost : public VHostServices {
 public:
  using DomainFileListener = std::function<void(const std::string& file)>;

  ToolHost(ProgressBar& bar, DomainFileListener onDomainFile);
  ~ToolHost() override;
  ToolHost(const ToolHost&) = delete;
  ToolHost& operator=(const ToolHost&) = delete;

  int SendMessageToUI(int number, int value, const CString& text) override;

  // Whether an interrupt asked the run to stop.
  static bool Interrupted();

 private:
  ProgressBar& m_bar;
  DomainFileListener m_onDomainFile;
  VHostServices* m_previous;
  InterruptRoute m_interrupts;
  bool m_cancelAnswered = false;
};

}  // namespace morvit::tool

#endif  // MORVIT_TOOL_TOOLHOST_H
