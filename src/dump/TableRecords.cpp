// Batch reading of the host-side tables.
#include "dump/TableRecords.h"

namespace morvit {

std::size_t ReadUpTo(CFile& file, std::span<std::uint8_t> bytes) {
  std::size_t read = 0;
  while (read < bytes.size()) {
    const unsigned got = file.Read(bytes.data() + read, static_cast<unsigned>(bytes.size() - read));
    if (got == 0) break;
    read += got;
  }
  return read;
}

RecordReader::RecordReader(CFile& file, std::size_t recordSize, std::size_t batchRecords)
    : m_file(file), m_recordSize(recordSize), m_batch(recordSize * batchRecords) {}

const std::uint8_t* RecordReader::Next() {
  if (m_at + m_recordSize > m_filled) {
    if (m_ended) return nullptr;
    Refill();
    if (m_filled < m_recordSize) return nullptr;
  }
  const std::uint8_t* record = m_batch.data() + m_at;
  m_at += m_recordSize;
  return record;
}

void RecordReader::Refill() {
  m_at = 0;
  try {
    m_filled = ReadUpTo(m_file, m_batch);
  } catch (const CFileException&) {
    m_filled = 0;
  }
  m_ended = m_filled < m_batch.size();
  m_filled -= m_filled % m_recordSize;
}

}  // namespace morvit
