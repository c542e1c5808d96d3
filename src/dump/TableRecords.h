// Reading the host-side tables of the dump: as many bytes as a file gives up to a size, and
// the fixed-size records of a table taken batch by batch.
#ifndef MORVIT_DUMP_TABLERECORDS_H
#define MORVIT_DUMP_TABLERECORDS_H

#include <cstdint>
#include <span>
#include <vector>

#include "morvit/platform.h"

namespace morvit {

// Reads until `bytes` is full or the file ends; the count read. A read failure raises.
std::size_t ReadUpTo(CFile& file, std::span<std::uint8_t> bytes);

// The whole records of a table, read in batches of `batchRecords`: a part record at the end of
// the file, and everything after a failed read, count as missing.
class RecordReader {
 public:
  RecordReader(CFile& file, std::size_t recordSize, std::size_t batchRecords);

  // The next record, or null when the file holds no further whole record.
  const std::uint8_t* Next();

 private:
  void Refill();

  CFile& m_file;
  std::size_t m_recordSize;
  std::vector<std::uint8_t> m_batch;
  std::size_t m_filled = 0;
  std::size_t m_at = 0;
  bool m_ended = false;
};

}  // namespace morvit

#endif  // MORVIT_DUMP_TABLERECORDS_H
