// Builders of the files the dump lists, written byte by byte: CODE-mode domain files (words
// big-endian behind a common header of either generation), the host-side DATA and PL tables
// and the MOVE A and B tables (host byte order); and reading a listing back as lines.
#ifndef MORVIT_TESTS_SUPPORT_DUMPFILES_H
#define MORVIT_TESTS_SUPPORT_DUMPFILES_H

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace testutil {

using Bytes = std::vector<std::uint8_t>;

// A domain file as 16-bit words. Word 0 (the offset to the last byte) is set by Build.
class CodeFile {
 public:
  // The common header: type and scope, version, then Date, Time, MilliSec and the
  // major/minor word (0x0504 and the like for the current header; below 1000 the older one).
  static CodeFile Header(std::uint8_t type, std::uint16_t majorMinor, std::uint8_t scope = 0);

  CodeFile& Words(std::initializer_list<std::uint16_t> words);
  CodeFile& Repeat(std::uint16_t word, std::size_t count);
  // The file's bytes; `padTo` pads with zeros to a multiple of it (0: no padding).
  Bytes Build(std::size_t padTo = 0) const;

  std::vector<std::uint16_t> words;
};

// Tables of the host side, in host byte order.
struct DataRecord {
  std::uint16_t iKey;
  std::uint8_t termId, tcNo;
  std::uint16_t offset, noBytes;
  std::uint8_t ioSelect, bitNo;
  std::uint16_t locOffs, last;
};
Bytes DataTable(const std::vector<DataRecord>& records);
struct PlRecord {
  std::uint16_t iKey;
  std::uint8_t termId, tcNo;
  std::uint16_t offset, noBytes;
};
Bytes PlTable(const std::vector<PlRecord>& records);

struct MoveARecord {
  std::uint16_t iKey, termId;
  std::uint32_t poiEle;
};
// The fixed A table (30000 bytes, 54000 wide) with the last-record numbers at its end.
Bytes MoveATable(const std::vector<MoveARecord>& records, std::uint16_t lastA, std::uint16_t lastB,
                 bool wide = false);
struct MoveEntry {
  std::uint16_t iKey, termId, lOffs, e1, e2;  // e1, e2 written big-endian
};
struct MoveBRecord {
  std::uint16_t fbCod, len, noEl;
  std::uint16_t h[4];  // written big-endian
  std::uint8_t opEl;
  std::uint16_t contInd;
  std::vector<MoveEntry> entries;  // at most 16
};
Bytes MoveBTable(const std::vector<MoveBRecord>& records);

// The lines of a text file, without their line ends.
std::vector<std::string> ReadLines(const std::string& path);
// The label of each word line of a CODE listing (the text after the characters column), from
// the first word line on; `lineNumbers` tells where the column starts.
std::vector<std::string> WordLabels(const std::vector<std::string>& lines, bool lineNumbers);

}  // namespace testutil

#endif  // MORVIT_TESTS_SUPPORT_DUMPFILES_H
