// Standard input and output as the tool's files: "-" names them wherever a command reads or
// writes a file, every write to standard output is checked, and a reader that goes away (a
// closed pipe, as with `| head`) ends the run quietly. The one place that knows the platform's
// ways with these streams (SIGPIPE, binary mode).
#ifndef MORVIT_TOOL_STANDARDSTREAMS_H
#define MORVIT_TOOL_STANDARDSTREAMS_H

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>

#include "cli/ScratchDirectory.h"

namespace morvit::tool {

// The name that stands for standard input or output.
inline constexpr const char* kStandardStreamName = "-";

inline bool IsStandardStream(const std::string& name) { return name == kStandardStreamName; }

// Puts the checked buffer under std::cout, makes both streams binary and turns a closed pipe
// from a signal into a write error. Idempotent; RunTool calls it first.
void PrepareStandardStreams();

// Raised when standard output can take no more: `closed` when its reader went away (the run
// ends quietly), else a write error such as a full disk (the run fails with the message).
class OutputFailure : public std::runtime_error {
 public:
  OutputFailure(bool closed, const std::string& message)
      : std::runtime_error(message), m_closed(closed) {}
  bool Closed() const { return m_closed; }

 private:
  bool m_closed;
};

// Flushes std::cout and raises OutputFailure when a write to standard output has failed
// since the start. Commands call it between units of work so that they stop early; RunTool
// calls it at the end of every run.
void CheckStandardOutput();

// Whether standard output's reader has gone away: a run that fails after that ends quietly,
// whatever the failure it caused on the way (a run stopped by its output, for one).
bool StandardOutputClosed();

// Copies the whole file to standard output (binary), checked.
void CopyToStandardOutput(const std::filesystem::path& file);

// A file a command reads or writes: the named file itself, or for "-" a temporary file that
// stands in for the stream (removed with this object), so that the library's file functions
// can work on it.
class StreamFile {
 public:
  ~StreamFile() = default;
  StreamFile(const StreamFile&) = delete;
  StreamFile& operator=(const StreamFile&) = delete;

  const std::string& Path() const { return m_path; }
  // The name for messages: the file's, or "standard input"/"standard output" for "-".
  const std::string& Shown() const { return m_shown; }

 protected:
  StreamFile(const std::string& name, const char* stream);
  bool Temporary() const { return m_temporary; }

 private:
  std::string m_path;
  std::string m_shown;
  bool m_temporary;
  std::optional<ScratchDirectory> m_scratch;  // where the temporary file lies
};

// A file a command reads; standard input is copied into the temporary file first.
class InputFile : public StreamFile {
 public:
  explicit InputFile(const std::string& name);
};

// A file a command writes; for standard output the temporary file's content goes out at
// Commit(), so that what is written there is complete, as a named output appears only when
// complete.
class OutputFile : public StreamFile {
 public:
  explicit OutputFile(const std::string& name);
  void Commit();
};

}  // namespace morvit::tool

#endif  // MORVIT_TOOL_STANDARDSTREAMS_H
