// How the tool reports a failed run: a failure in words that names the file and the cause, and
// the exit statuses (0 success, 1 failed run, 2 usage error, 141 standard output closed).
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

// A failed run with its message, already in words.
class Failure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The message for any exception that ends a run: a file exception as "FILE: cause in words",
// with the operating system's reason when there is one.
std::string DescribeFailure(const std::exception& failure);

}  // namespace morvit::tool

#endif  // MORVIT_TOOL_FAILURE_H
