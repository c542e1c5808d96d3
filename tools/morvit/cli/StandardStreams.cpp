// Standard streams: a checked buffer under std::cout, temporary files for "-", and the
// platform's settings for the two streams.
#include "cli/StandardStreams.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <random>
#include <streambuf>

#include "cli/Failure.h"
#include "cli/Interrupts.h"
#include "cli/ToolPlatform.h"
#include "morvit/platform.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace morvit::tool {
namespace {

namespace fs = std::filesystem;

// std::cout's buffer: hands full buffers to the C stream and keeps the first error's number,
// so that a failed write is reported (or a closed pipe recognised) when the run checks it.
// After a failure everything further is dropped.
class CheckedOutputBuffer : public std::streambuf {
 public:
  CheckedOutputBuffer() { setp(m_buffer.data(), m_buffer.data() + m_buffer.size()); }

  // The error number of the first failed write, 0 while none failed.
  int Error() const { return m_error; }

 protected:
  int_type overflow(int_type c) override {
    if (!Drain()) return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
      *pptr() = traits_type::to_char_type(c);
      pbump(1);
    }
    return traits_type::not_eof(c);
  }

  int sync() override { return Drain() && Flush() ? 0 : -1; }

 private:
  bool Drain() {
    const std::size_t size = static_cast<std::size_t>(pptr() - pbase());
    setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
    if (m_error != 0) return false;
    errno = 0;
    if (std::fwrite(m_buffer.data(), 1, size, stdout) != size) return Failed();
    return true;
  }

  bool Flush() {
    if (m_error != 0) return false;
    errno = 0;
    return std::fflush(stdout) == 0 || Failed();
  }

  bool Failed() {
    m_error = errno == 0 ? EIO : WriteToClosedPipe(errno) ? EPIPE : errno;
    return false;
  }

  std::array<char, 1 << 16> m_buffer{};
  int m_error = 0;
};

// Never destroyed: std::cout is flushed through it at exit, after the statics are gone.
CheckedOutputBuffer& OutputBuffer() {
  static auto* buffer = new CheckedOutputBuffer;
  return *buffer;
}

}  // namespace

void PrepareStandardStreams() {
  static bool prepared = false;
  if (prepared) return;
  prepared = true;
  // A closed pipe shows as EPIPE on the write, which CheckStandardOutput turns into a quiet end.
  IgnoreBrokenPipe();
#ifdef _WIN32
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);  // lines end in '\n' on every host
#endif
  std::cout.rdbuf(&OutputBuffer());
}

void CheckStandardOutput() {
  std::cout.flush();
  const int error = OutputBuffer().Error();
  if (error == 0) return;
  throw OutputFailure(error == EPIPE, std::string("standard output: cannot be written (") +
                                          std::strerror(error) + ")");
}

bool StandardOutputClosed() {
  std::cout.flush();
  return OutputBuffer().Error() == EPIPE;
}

void CopyToStandardOutput(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw CFileException(CFileException::OsErrorToCause(errno), errno, Utf8(file));
  std::array<char, 1 << 16> chunk{};
  while (in.read(chunk.data(), chunk.size()) || in.gcount() > 0) {
    std::cout.write(chunk.data(), in.gcount());
  }
  if (in.bad()) throw CFileException(CFileException::hardIO, -1, Utf8(file));
  CheckStandardOutput();
}

StreamFile::StreamFile(const std::string& name, const char* stream)
    : m_path(name), m_shown(name), m_temporary(IsStandardStream(name)) {
  if (!m_temporary) return;
  m_scratch.emplace("stream");
  m_path = Utf8(m_scratch->Path() / "stream");
  m_shown = stream;
}

InputFile::InputFile(const std::string& name) : StreamFile(name, "standard input") {
  if (!Temporary()) return;
  std::ofstream out(PathFromUtf8(Path()), std::ios::binary);
  std::array<char, 1 << 16> chunk{};
  while (std::cin.read(chunk.data(), chunk.size()) || std::cin.gcount() > 0) {
    out.write(chunk.data(), std::cin.gcount());
  }
  if (std::cin.bad() || !out.flush()) throw CFileException(CFileException::hardIO, -1, Shown());
}

OutputFile::OutputFile(const std::string& name) : StreamFile(name, "standard output") {}

void OutputFile::Commit() {
  if (Temporary()) CopyToStandardOutput(PathFromUtf8(Path()));
}

}  // namespace morvit::tool
