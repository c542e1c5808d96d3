// How the tool reports: a failure in words that names the file and the cause, warnings, and the
// exit statuses (docs/tool-safety.md).
#ifndef MORVIT_TOOL_FAILURE_H
#define MORVIT_TOOL_FAILURE_H

#include <exception>
#include <stdexcept>
#include <string>

namespace morvit::tool {

constexpr int kExitSuccess = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
// Standard output's reader went away (`| head`): the run ends quietly with the status a shell
// shows for a program ended by SIGPIPE, so that `set -o pipefail` treats it as other tools.
constexpr int kExitOutputClosed = 141;
constexpr int kExitInterrupted = 130;  // stopped by Ctrl-C (128 + SIGINT, as shells report it)

// A failed run with its message, already in words.
class Failure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A run that Ctrl-C stopped: exit status kExitInterrupted.
class InterruptedRun : public Failure {
 public:
  using Failure::Failure;
};

// The message for any exception that ends a run: a file exception as "FILE: cause in words",
// with the operating system's reason when there is one; the standard library's and the JSON
// reader's failures in words too, never their internal texts.
std::string DescribeFailure(const std::exception& failure);

// A warning line on standard error ("morvit: warning: TEXT"): every warning of the tool goes
// through here.
void Warn(const std::string& text);

// The command's name for messages ("dump"), set once the command line is parsed.
void SetCommandName(const std::string& name);

}  // namespace morvit::tool

#endif  // MORVIT_TOOL_FAILURE_H
