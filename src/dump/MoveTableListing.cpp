// MOVE mode: the move-block tables of the host side. The A table is a fixed file of 8-byte
// records whose last four bytes count the A and B records; the B table holds one 178-byte
// record per block: a head and 16 element entries. Fields are in the host's byte order but
// for the h and e words, which are big-endian.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "dump/CodeListing.h"
#include "dump/TableListings.h"
#include "dump/TableRecords.h"
#include "support/ControllerTypes.h"

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

CString TableName(std::string_view dataSetName, char letter) {
  CString name(dataSetName);
  name[2] = letter;
  return name;
}

void ATitle(ListingText& out, std::string_view dataSetName) {
  out.Text(TableName(dataSetName, 'A'));
  out.Char(':');
  out.LineEnd();
  out.LineEnd();
  out.Text("index   iKey termId poiEle");
  out.LineEnd();
  out.Text(std::string(27, '-'));
  out.LineEnd();
}

void BTitle(ListingText& out, std::string_view dataSetName) {
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

void BigEndianWord(ListingText& out, const std::uint8_t* bytes) {
  out.Char(' ');
  out.Hex(controller::BytesToCardinal(bytes), 4);
}

// One B record: nothing for a block without elements, else its head row and one row for
// each of its first noEl entries (at most the 16 it has).
void BRecord(ListingText& out, std::uint32_t index, const std::uint8_t* r) {
  using controller::HostBytesToCardinal;
  const std::uint16_t elements = HostBytesToCardinal(r + 4);
  if (elements == 0) return;
  out.Unsigned(index, 5);
  out.Spaces(3);
  out.Hex(HostBytesToCardinal(r), 4);
  out.Hex(HostBytesToCardinal(r + 2), 5);
  out.Unsigned(elements, 6);
  out.Spaces(3);
  for (std::size_t h = 0; h < 4; ++h) BigEndianWord(out, r + 6 + 2 * h);
  out.Spaces(5);
  out.Char(r[14] != 0 ? 'T' : 'F');
  out.Unsigned(HostBytesToCardinal(r + 16), 8);
  out.LineEnd();
  const std::size_t shown = std::min<std::size_t>(elements, kBEntries);
  for (std::size_t e = 0; e < shown; ++e) {
    const std::uint8_t* entry = r + kBHeadSize + e * kBEntrySize;
    out.Unsigned(static_cast<std::uint32_t>(e), 19);
    out.Unsigned(HostBytesToCardinal(entry), 7);
    out.Unsigned(HostBytesToCardinal(entry + 2), 7);
    out.Unsigned(HostBytesToCardinal(entry + 4), 7);
    out.Spaces(3);
    BigEndianWord(out, entry + 6);
    BigEndianWord(out, entry + 8);
    out.LineEnd();
  }
}

}  // namespace

void ListMoveTables(ListingText& out, const CString& directory, std::string_view dataSetName,
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
  }

  ATitle(out, dataSetName);
  // Without a whole A table the counts are unknown: no rows.
  const bool counted = aRead == aTable.size();
  const std::size_t countsAt = aTable.size() - kCountsSize;
  const std::uint32_t lastA = counted ? HostBytesToCardinal(&aTable[countsAt]) : 0;
  const std::uint32_t lastB = counted ? HostBytesToCardinal(&aTable[countsAt + 2]) : 0;
  const std::uint32_t aRecords =
      counted ? std::min<std::uint32_t>(lastA + 1, countsAt / kARecordSize) : 0;
  for (std::uint32_t index = 0; index < aRecords; ++index) {
    const std::uint8_t* r = &aTable[index * kARecordSize];
    out.Unsigned(index, 5);
    out.Unsigned(HostBytesToCardinal(r), 7);
    out.Unsigned(HostBytesToCardinal(r + 2), 7);
    out.Unsigned(controller::HostBytesToLongCard(r + 4), 7);
    out.LineEnd();
  }
  if (!counted || !bOpened) return;

  RecordReader records(bFile, kBRecordSize, kBBatchRecords);
  for (std::uint32_t index = 0; index <= lastB; ++index) {
    const std::uint8_t* record = records.Next();
    if (record == nullptr) break;
    if (index == 0) BTitle(out, dataSetName);
    BRecord(out, index, record);
  }
}
