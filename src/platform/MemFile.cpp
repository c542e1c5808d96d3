// CMemFile: a growable byte array with a file's read, write and seek semantics.
#include <algorithm>
#include <cstring>

#include "morvit/platform.h"

CMemFile::CMemFile(unsigned growBytes) : m_nGrowBytes(growBytes == 0 ? 1024 : growBytes) {}

CMemFile::CMemFile(const void* data, std::size_t size, unsigned growBytes) : CMemFile(growBytes) {
  Reserve(size);
  if (size != 0) std::memcpy(m_data.data(), data, size);
  m_size = size;
}

bool CMemFile::Open(const CString&, unsigned, CFileException*) { return true; }

bool CMemFile::IsOpen() const { return true; }

void CMemFile::Reserve(std::size_t size) {
  if (size <= m_data.size()) return;
  // Grow to the next multiple of the growth step, as the file's owner asked.
  const std::size_t steps = (size + m_nGrowBytes - 1) / m_nGrowBytes;
  m_data.resize(steps * m_nGrowBytes);
}

unsigned CMemFile::Read(void* buffer, unsigned count) {
  if (m_position >= m_size) return 0;
  const std::size_t n = std::min<std::size_t>(count, m_size - m_position);
  std::memcpy(buffer, m_data.data() + m_position, n);
  m_position += n;
  return static_cast<unsigned>(n);
}

void CMemFile::Write(const void* buffer, unsigned count) {
  if (count == 0) return;
  Reserve(m_position + count);
  if (m_position > m_size) std::memset(m_data.data() + m_size, 0, m_position - m_size);
  std::memcpy(m_data.data() + m_position, buffer, count);
  m_position += count;
  m_size = std::max(m_size, m_position);
}

std::int64_t CMemFile::Seek(std::int64_t offset, unsigned from) {
  std::int64_t base = 0;
  switch (from) {
    case begin:
      break;
    case current:
      base = static_cast<std::int64_t>(m_position);
      break;
    case end:
      base = static_cast<std::int64_t>(m_size);
      break;
    default:
      AfxThrowFileException(CFileException::badSeek, -1, m_strFileName);
  }
  if ((offset < 0 && base < -offset) || (offset > 0 && base > INT32_MAX - offset)) {
    AfxThrowFileException(CFileException::badSeek, -1, m_strFileName);
  }
  // As on disk, a position past the end is allowed; a write there fills the gap with zeros.
  m_position = static_cast<std::size_t>(base + offset);
  return base + offset;
}

std::uint64_t CMemFile::GetLength() const { return m_size; }

void CMemFile::SetLength(std::uint64_t newLength) {
  const auto length = static_cast<std::size_t>(newLength);
  Reserve(length);
  if (length > m_size) std::memset(m_data.data() + m_size, 0, length - m_size);
  m_size = length;
  m_position = std::min(m_position, m_size);
}

std::uint64_t CMemFile::GetPosition() const { return m_position; }

void CMemFile::Flush() {}

void CMemFile::Sync() {}

void CMemFile::Close() {
  m_data.clear();
  m_data.shrink_to_fit();
  m_size = 0;
  m_position = 0;
}

void CMemFile::Abort() { Close(); }
