// CFile: a host file behind one buffer that holds either data read ahead or writes not yet on
// disk. Reads and writes use explicit offsets, so the logical position is ours alone.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "morvit/platform.h"
#include "platform/FileFaults.h"
#include "platform/HostSystem.h"

using namespace morvit;

namespace morvit {
namespace {

constexpr std::size_t kBufferSize = 64 * 1024;

[[noreturn]] void ThrowErrno(const CString& fileName) {
  const int err = errno;
  AfxThrowFileException(CFileException::OsErrorToCause(err), err, fileName);
}

// The system calls of the file class, each behind the test of the fault injection's flag: an
// injected failure looks to the caller exactly like the system's own (-1 and errno).
bool Injected(filefaults::Call call) {
  if (!filefaults::g_armed) [[likely]]
    return false;
  const int error = filefaults::OnCall(call);
  if (error == 0) return false;
  errno = error;
  return true;
}

int SysOpen(const CString& path, hostsys::OpenMode mode, bool create, bool truncate) {
  if (Injected(filefaults::kOpen)) return hostsys::kNoHandle;
  return hostsys::Open(path, mode, create, truncate);
}

std::int64_t SysRead(int fd, void* buffer, std::size_t count, std::uint64_t offset) {
  if (Injected(filefaults::kRead)) return -1;
  return hostsys::ReadAt(fd, buffer, count, offset);
}

std::int64_t SysWrite(int fd, const void* buffer, std::size_t count, std::uint64_t offset) {
  if (filefaults::g_armed) [[unlikely]] {
    bool shorten = false;
    const int error = filefaults::OnCall(filefaults::kWrite, &shorten);
    if (error != 0) {
      errno = error;
      return -1;
    }
    if (shorten && count > 1) count /= 2;
  }
  return hostsys::WriteAt(fd, buffer, count, offset);
}

bool SysSync(int fd) {
  if (Injected(filefaults::kFlush)) return false;
  return hostsys::Sync(fd);
}

}  // namespace
}  // namespace morvit

CFile::CFile() = default;

CFile::CFile(const CString& fileName, unsigned openFlags) {
  CFileException error;
  if (!Open(fileName, openFlags, &error)) throw error;
}

CFile::~CFile() {
  if (m_fd < 0) return;
  try {
    FlushWrites();
  } catch (const CFileException&) {
    // Nothing can be reported from here; Close() reports it to callers that ask.
  }
  hostsys::Close(m_fd);
}

CString CFile::HostPath(const CString& fileName) {
  CString path = fileName;
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

bool CFile::Open(const CString& fileName, unsigned openFlags, CFileException* error) {
  if (m_fd >= 0) Close();
  hostsys::OpenMode mode = hostsys::OpenMode::readWrite;
  if ((openFlags & 0x3) == modeRead) mode = hostsys::OpenMode::read;
  if ((openFlags & 0x3) == modeWrite) mode = hostsys::OpenMode::write;
  const bool create = (openFlags & modeCreate) != 0;
  const bool truncate = create && (openFlags & modeNoTruncate) == 0;
  const int fd = SysOpen(fileName, mode, create, truncate);
  if (fd < 0) {
    const int err = errno;
    if (error != nullptr)
      *error = CFileException(CFileException::OsErrorToCause(err), err, fileName);
    return false;
  }
  m_fd = fd;
  m_strFileName = fileName;
  m_position = 0;
  m_bufferStart = 0;
  m_bufferLength = 0;
  m_bufferDirty = false;
  m_buffer.resize(kBufferSize);
  return true;
}

bool CFile::IsOpen() const { return m_fd >= 0; }

CString CFile::GetFileName() const {
  const CString path = HostPath(m_strFileName);
  const auto slash = path.find_last_of('/');
  return slash == CString::npos ? path : path.substr(slash + 1);
}

void CFile::FlushWrites() {
  if (!m_bufferDirty) return;
  std::size_t done = 0;
  while (done < m_bufferLength) {
    const std::int64_t n =
        SysWrite(m_fd, m_buffer.data() + done, m_bufferLength - done, m_bufferStart + done);
    if (n < 0) {
      if (errno == EINTR) continue;
      m_bufferDirty = false;
      m_bufferLength = 0;
      ThrowErrno(m_strFileName);
    }
    done += static_cast<std::size_t>(n);
  }
  m_bufferDirty = false;
  m_bufferLength = 0;
}

void CFile::DropReadBuffer() {
  if (!m_bufferDirty) m_bufferLength = 0;
}

unsigned CFile::Read(void* buffer, unsigned count) {
  if (m_fd < 0) AfxThrowFileException(CFileException::invalidFile, -1, m_strFileName);
  FlushWrites();
  auto* out = static_cast<unsigned char*>(buffer);
  unsigned done = 0;
  while (done < count) {
    if (m_position >= m_bufferStart && m_position < m_bufferStart + m_bufferLength) {
      const std::size_t offset = static_cast<std::size_t>(m_position - m_bufferStart);
      const std::size_t n = std::min<std::size_t>(count - done, m_bufferLength - offset);
      std::memcpy(out + done, m_buffer.data() + offset, n);
      done += static_cast<unsigned>(n);
      m_position += n;
      continue;
    }
    const bool direct = count - done >= kBufferSize;
    unsigned char* target = direct ? out + done : m_buffer.data();
    const std::size_t want = direct ? count - done : kBufferSize;
    const std::int64_t n = SysRead(m_fd, target, want, m_position);
    if (n < 0) {
      if (errno == EINTR) continue;
      ThrowErrno(m_strFileName);
    }
    if (n == 0) break;
    if (direct) {
      done += static_cast<unsigned>(n);
      m_position += static_cast<std::uint64_t>(n);
    } else {
      m_bufferStart = m_position;
      m_bufferLength = static_cast<std::size_t>(n);
    }
  }
  return done;
}

void CFile::Write(const void* buffer, unsigned count) {
  if (m_fd < 0) AfxThrowFileException(CFileException::invalidFile, -1, m_strFileName);
  if (count == 0) return;
  DropReadBuffer();
  // Writes gather in the buffer while they continue where the last one ended.
  if (m_bufferDirty &&
      (m_position != m_bufferStart + m_bufferLength || m_bufferLength + count > kBufferSize)) {
    FlushWrites();
  }
  if (count >= kBufferSize) {
    const auto* in = static_cast<const unsigned char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
      const std::int64_t n = SysWrite(m_fd, in + done, count - done, m_position);
      if (n < 0) {
        if (errno == EINTR) continue;
        ThrowErrno(m_strFileName);
      }
      done += static_cast<std::size_t>(n);
      m_position += static_cast<std::uint64_t>(n);
    }
    return;
  }
  if (!m_bufferDirty) {
    m_bufferStart = m_position;
    m_bufferLength = 0;
    m_bufferDirty = true;
  }
  std::memcpy(m_buffer.data() + m_bufferLength, buffer, count);
  m_bufferLength += count;
  m_position += count;
}

std::int64_t CFile::Seek(std::int64_t offset, unsigned from) {
  if (m_fd < 0) AfxThrowFileException(CFileException::invalidFile, -1, m_strFileName);
  if (Injected(filefaults::kSeek)) ThrowErrno(m_strFileName);
  std::int64_t base = 0;
  switch (from) {
    case begin:
      base = 0;
      break;
    case current:
      base = static_cast<std::int64_t>(m_position);
      break;
    case end:
      base = static_cast<std::int64_t>(GetLength());
      break;
    default:
      AfxThrowFileException(CFileException::badSeek, EINVAL, m_strFileName);
  }
  if ((offset < 0 && base < -offset) || (offset > 0 && base > INT64_MAX - offset)) {
    AfxThrowFileException(CFileException::badSeek, EINVAL, m_strFileName);
  }
  m_position = static_cast<std::uint64_t>(base + offset);
  return base + offset;
}

std::uint64_t CFile::GetLength() const {
  if (m_fd < 0) AfxThrowFileException(CFileException::invalidFile, -1, m_strFileName);
  std::uint64_t length = 0;
  if (!hostsys::Length(m_fd, length)) ThrowErrno(m_strFileName);
  if (m_bufferDirty) length = std::max<std::uint64_t>(length, m_bufferStart + m_bufferLength);
  return length;
}

void CFile::SetLength(std::uint64_t newLength) {
  if (m_fd < 0) AfxThrowFileException(CFileException::invalidFile, -1, m_strFileName);
  FlushWrites();
  m_bufferLength = 0;
  if (!hostsys::Truncate(m_fd, newLength)) ThrowErrno(m_strFileName);
}

std::uint64_t CFile::GetPosition() const { return m_position; }

void CFile::Flush() {
  if (m_fd < 0) return;
  FlushWrites();
}

void CFile::Sync() {
  if (m_fd < 0) return;
  FlushWrites();
  if (!SysSync(m_fd)) ThrowErrno(m_strFileName);
}

void CFile::Close() {
  if (m_fd < 0) return;
  const int fd = m_fd;
  try {
    FlushWrites();
  } catch (...) {
    hostsys::Close(fd);
    m_fd = -1;
    throw;
  }
  m_fd = -1;
  if (!hostsys::Close(fd)) ThrowErrno(m_strFileName);
}

void CFile::Abort() {
  if (m_fd < 0) return;
  try {
    FlushWrites();
  } catch (const CFileException&) {
    // Abort is the quiet close of clean-up paths: the caller is already handling a failure.
  }
  hostsys::Close(m_fd);
  m_fd = -1;
}

void CFile::Remove(const CString& fileName) {
  if (Injected(filefaults::kRemove) || !hostsys::Remove(fileName)) ThrowErrno(fileName);
}

void CFile::Rename(const CString& oldName, const CString& newName) {
  if (Injected(filefaults::kRename) || !hostsys::Rename(oldName, newName)) ThrowErrno(oldName);
}

// A directory's entries (the names created, renamed and removed in it) reach stable storage
// only when the directory itself is flushed.
void CFile::SyncDirectory(const CString& directory) {
  if (Injected(filefaults::kOpen) || Injected(filefaults::kFlush) ||
      !hostsys::SyncDirectory(directory)) {
    ThrowErrno(directory);
  }
}
