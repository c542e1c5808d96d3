// MOVE mode: the move-block tables of the host side. The A table is a fixed file of 8-byte
// records whose last four bytes count the A and B records; the B table holds one 178-byte
// record per block: a head and 16 element entries. Fields are in the host's byte order but
// for the h and e words, which are big-endian.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "dump/ReadResults.h"
#include "dump/TableListings.h"
#include "dump/TableRecords.h"
#include "support/ControllerTypes.h"

namespace morvit {

namespace {

// A table: 30000 bytes (54000 in the wide variant), records iKey (16), termId (16), poiEle
// (32), then the numbers of the last A and last B record in its last four bytes.
constexpr std::size_t kATableSize = 30000;
constexpr std::size_t kWideATableSize = 54000;
constexpr std::size_t kARecordSize = 2 + 2 + 4;
constexpr std::size_t kCountsSize = 2 + 2;

// B record: head fbCod, len, noEl (16 each), h1 to h4 (big-endian words), opEl (8), a spare
// byte, contInd (16); then 16 entries iKey, termId, lOffs (16 each), e1 and e2 (big-endian).
constexpr std::size_t kBHeadSize = 2 + 2 + 2 + 4 * 2 + 1 + 1 + 2;
constexpr std::size_t kBEntrySize = 2 + 2 + 2 + 2 * 2;
constexpr std::size_t kBEntries = 16;
constexpr std::size_t kBRecordSize = kBHeadSize + kBEntries * kBEntrySize;
static_assert(kBRecordSize == 178);
constexpr std::size_t kBBatchRecords = 350;

// The name with place 2 set to the table's letter, in the case the name has there: the file
// system keeps the case of names, so "qqb00001.C01" has its A table in "qqa00001.C01".
CString TableName(std::string_view dataSetName, char letter) {
  CString name(dataSetName);
  const bool lower = name[2] >= 'a' && name[2] <= 'z';
  name[2] = lower ? static_cast<char>(letter - 'A' + 'a') : letter;
  return name;
}

void ATitle(ListingOutput& out, std::string_view dataSetName) {
  out.Text(TableName(dataSetName, 'A'));
  out.Char(':');
  out.LineEnd();
  out.LineEnd();
  out.Text("index   iKey termId poiEle");
  out.LineEnd();
  out.Text(std::string(27, '-'));
  out.LineEnd();
}

void BTitle(ListingOutput& out, std::string_view dataSetName) {
  out.LineEnd();
  out.LineEnd();
  out.LineEnd();
  out.Text(TableName(dataSetName, 'B'));
  out.Char(':');
  out.LineEnd();
  out.LineEnd();
  out.Text("index  fbCod  len  noEl      h1   h2   h3   h4");
  out.Text("  opEl contInd ");
  out.LineEnd();
  out.Text("              index   iKey termId  lOffs      ");
  out.Text("e1   e2");
  out.LineEnd();
  out.Text(std::string(46 + 19, '-'));
  out.LineEnd();
}

// A big-endian word of a record at `at` in the table file.
void BigEndianWord(ListingOutput& out, std::int64_t at, const std::uint8_t* bytes,
                   std::string_view label) {
  out.Char(' ');
  const std::uint16_t word = controller::BytesToCardinal(bytes);
  out.Hex(word, 4);
  out.Column(at, bytes, 2, word, label);
}

void HostWord(ListingOutput& out, std::int64_t at, const std::uint8_t* bytes, unsigned width,
              std::string_view label) {
  const std::uint16_t word = controller::HostBytesToCardinal(bytes);
  out.Unsigned(word, width);
  out.Column(at, bytes, 2, word, label);
}

// One B record at `at` in its file: nothing for a block without elements, else its head row
// and one row for each of its first noEl entries (at most the 16 it has).
void BRecord(ListingOutput& out, std::uint32_t index, const std::uint8_t* r) {
  using controller::HostBytesToCardinal;
  const std::int64_t at = static_cast<std::int64_t>(index) * std::int64_t{kBRecordSize};
  const std::uint16_t elements = HostBytesToCardinal(r + 4);
  if (elements == 0) return;
  out.Begin({morvit::VListingPlace::row, {}, -1, {}, index, at});
  out.Unsigned(index, 5);
  out.Spaces(3);
  out.Hex(HostBytesToCardinal(r), 4);
  out.Column(at, r, 2, HostBytesToCardinal(r), "fbCod");
  out.Hex(HostBytesToCardinal(r + 2), 5);
  out.Column(at + 2, r + 2, 2, HostBytesToCardinal(r + 2), "len");
  HostWord(out, at + 4, r + 4, 6, "noEl");
  out.Spaces(3);
  static constexpr std::string_view kHeadWords[] = {"h1", "h2", "h3", "h4"};
  for (std::size_t h = 0; h < 4; ++h)
    BigEndianWord(out, at + 6 + 2 * h, r + 6 + 2 * h, kHeadWords[h]);
  out.Spaces(5);
  out.Char(r[14] != 0 ? 'T' : 'F');
  out.Column(at + 14, r + 14, 1, r[14], "opEl");
  out.Flag(at + 14, 1, "opEl", r[14] != 0);
  HostWord(out, at + 16, r + 16, 8, "contInd");
  out.LineEnd();
  const std::size_t shown = std::min<std::size_t>(elements, kBEntries);
  for (std::size_t e = 0; e < shown; ++e) {
    const std::size_t within = kBHeadSize + e * kBEntrySize;
    const std::uint8_t* entry = r + within;
    const std::int64_t entryAt = at + static_cast<std::int64_t>(within);
    out.Begin({morvit::VListingPlace::row, "entry", -1, {}, static_cast<std::int64_t>(e), entryAt});
    out.Unsigned(static_cast<std::uint32_t>(e), 19);
    HostWord(out, entryAt, entry, 7, "iKey");
    HostWord(out, entryAt + 2, entry + 2, 7, "termId");
    HostWord(out, entryAt + 4, entry + 4, 7, "lOffs");
    out.Spaces(3);
    BigEndianWord(out, entryAt + 6, entry + 6, "e1");
    BigEndianWord(out, entryAt + 8, entry + 8, "e2");
    out.End(morvit::VListingPlace::row);
    out.LineEnd();
  }
  out.End(morvit::VListingPlace::row);
}

}  // namespace

void ListMoveTables(ListingOutput& out, const CString& directory, std::string_view dataSetName,
                    bool wide) {
  using controller::HostBytesToCardinal;
  std::vector<std::uint8_t> aTable(wide ? kWideATableSize : kATableSize);
  int result = kReadOk;
  std::size_t aRead = 0;
  CFile aFile;
  CFileException error;
  if (!aFile.Open(directory + TableName(dataSetName, 'A'), CFile::modeRead | CFile::typeBinary,
                  &error)) {
    result = kReadFailureBase - error.m_cause;
  } else {
    try {
      aRead = ReadUpTo(aFile, aTable);
      if (aRead < aTable.size()) result = kReadFailureBase - CFileException::endOfFile;
    } catch (const CFileException& e) {
      result = kReadFailureBase - e.m_cause;
    }
  }
  CFile bFile;
  const bool bOpened = bFile.Open(directory + TableName(dataSetName, 'B'),
                                  CFile::modeRead | CFile::typeBinary, &error);
  if (result == kReadOk && !bOpened) result = kReadFailureBase - error.m_cause;
  if (result != kReadOk) {
    out.Text("return from file_read (MOVE): ");
    out.Signed(result, 5);
    out.LineEnd();
    out.Stop(-1, "a move table cannot be opened or is cut short");
  }

  ATitle(out, dataSetName);
  // Without a whole A table the counts are unknown: no rows.
  const bool counted = aRead == aTable.size();
  const std::size_t countsAt = aTable.size() - kCountsSize;
  const std::uint32_t lastA = counted ? HostBytesToCardinal(&aTable[countsAt]) : 0;
  const std::uint32_t lastB = counted ? HostBytesToCardinal(&aTable[countsAt + 2]) : 0;
  const std::uint32_t aRecords =
      counted ? std::min<std::uint32_t>(lastA + 1, countsAt / kARecordSize) : 0;
  out.Begin({morvit::VListingPlace::table, "A table", -1, {}, -1, 0});
  for (std::uint32_t index = 0; index < aRecords; ++index) {
    const std::size_t within = index * kARecordSize;
    const std::uint8_t* r = &aTable[within];
    const auto at = static_cast<std::int64_t>(within);
    out.Begin({morvit::VListingPlace::row, {}, -1, {}, index, at});
    out.Unsigned(index, 5);
    HostWord(out, at, r, 7, "iKey");
    HostWord(out, at + 2, r + 2, 7, "termId");
    const std::uint32_t poiEle = controller::HostBytesToLongCard(r + 4);
    out.Unsigned(poiEle, 7);
    out.Column(at + 4, r + 4, 4, poiEle, "poiEle");
    out.End(morvit::VListingPlace::row);
    out.LineEnd();
  }
  out.End(morvit::VListingPlace::table);
  if (counted && lastA + 1u > aRecords) {
    out.Stop(static_cast<std::int64_t>(countsAt),
             "the A table counts " + std::to_string(lastA + 1u) + " records, it holds " +
                 std::to_string(aRecords));
  }
  if (!counted || !bOpened) return;

  RecordReader records(bFile, kBRecordSize, kBBatchRecords);
  std::uint32_t index = 0;
  for (; index <= lastB; ++index) {
    const std::uint8_t* record = records.Next();
    if (record == nullptr) break;
    if (index == 0) {
      BTitle(out, dataSetName);
      out.Begin({morvit::VListingPlace::table, "B table", -1, {}, -1, 0});
    }
    BRecord(out, index, record);
  }
  // The title and the table begin with the first record.
  if (index != 0) out.End(morvit::VListingPlace::table);
  if (index <= lastB) {
    out.Stop(static_cast<std::int64_t>(index) * std::int64_t{kBRecordSize},
             "the A table counts " + std::to_string(lastB + 1u) + " B records, " +
                 std::string(TableName(dataSetName, 'B')) + " holds " + std::to_string(index));
  }
}

}  // namespace morvit
