// DATA mode: a data directory table of 14-byte records, or a PL table of 8-byte records, each
// with a head record whose first field is the number of the last record. Fields are in the
// host's byte order.
#include <algorithm>
#include <cstdint>
#include <string>

#include "dump/TableListings.h"
#include "dump/TableRecords.h"
#include "support/ControllerTypes.h"

namespace morvit {

namespace {

// DATA record: iKey (16), termId (8), tcNo (8), offset (16), noBytes (16), ioSelect (8),
// bitNo (8), locOffs (16), a last value (16).
constexpr std::size_t kDataRecordSize = 2 + 1 + 1 + 2 + 2 + 1 + 1 + 2 + 2;
static_assert(kDataRecordSize == 14);
// PL record: iKey (16), termId (8), tcNo (8), offset (16), noBytes (16) with the flags.
constexpr std::size_t kPlRecordSize = 2 + 1 + 1 + 2 + 2;
static_assert(kPlRecordSize == 8);

// A DATA table is read in batches of records; a PL table whole, up to this size.
constexpr std::size_t kDataBatchRecords = 4660;
constexpr std::size_t kPlTableMaxSize = 56024;

// noBytes of a PL record: bit 15 the PC flag, bit 14 the TRA flag.
constexpr std::uint16_t kPcFlag = 0x8000;
constexpr std::uint16_t kTraFlag = 0x4000;

// ioSelect is shown as a character when it lies in this range.
constexpr std::uint8_t kFirstShownChar = ' ';
constexpr std::uint8_t kLastShownChar = 'z';

std::size_t RecordSize(bool pcColumns) { return pcColumns ? kPlRecordSize : kDataRecordSize; }

void Heading(ListingOutput& out, bool pcColumns) {
  if (pcColumns) {
    out.Text("index   iKey termId tcNo PC/TRA noBytes offset");
  } else {
    out.Text("index   iKey termId tcNo noBytes offset");
    out.Text(" ioSelect bitNo locOffs");
  }
  out.LineEnd();
  out.Spaces(33);
  out.LineEnd();
}

void Row(ListingOutput& out, std::uint32_t index, const std::uint8_t* r, bool pcColumns) {
  using controller::HostBytesToCardinal;
  const std::int64_t at =
      static_cast<std::int64_t>(index) * static_cast<std::int64_t>(RecordSize(pcColumns));
  out.Begin({morvit::VListingPlace::row, {}, -1, {}, index, at});
  out.Unsigned(index, 5);
  out.Unsigned(HostBytesToCardinal(r), 7);
  out.Column(at, r, 2, HostBytesToCardinal(r), "iKey");
  out.Unsigned(r[2], 7);
  out.Column(at + 2, r + 2, 1, r[2], "termId");
  out.Unsigned(r[3], 5);
  out.Column(at + 3, r + 3, 1, r[3], "tcNo");
  const std::uint16_t offset = HostBytesToCardinal(r + 4);
  const std::uint16_t stored = HostBytesToCardinal(r + 6);
  std::uint16_t noBytes = stored;
  if (pcColumns) {
    out.Text((noBytes & kPcFlag) != 0 ? "   T" : "   F");
    out.Text((noBytes & kTraFlag) != 0 ? "  T" : "  F");
    noBytes &= static_cast<std::uint16_t>(~(kPcFlag | kTraFlag));
  }
  out.Unsigned(noBytes, 8);
  out.Column(at + 6, r + 6, 2, stored, "noBytes");
  if (pcColumns) {
    out.Flag(at + 6, 2, "PC", (stored & kPcFlag) != 0);
    out.Flag(at + 6, 2, "TRA", (stored & kTraFlag) != 0);
  }
  out.Unsigned(offset, 7);
  out.Column(at + 4, r + 4, 2, offset, "offset");
  if (!pcColumns) {
    const std::uint8_t ioSelect = r[8];
    if (ioSelect >= kFirstShownChar && ioSelect <= kLastShownChar) {
      out.Spaces(8);
      out.Char(static_cast<char>(ioSelect));
    } else {
      out.Unsigned(ioSelect, 9);
    }
    out.Column(at + 8, r + 8, 1, ioSelect, "ioSelect");
    out.Unsigned(r[9], 6);
    out.Column(at + 9, r + 9, 1, r[9], "bitNo");
    out.Unsigned(HostBytesToCardinal(r + 10), 8);
    out.Column(at + 10, r + 10, 2, HostBytesToCardinal(r + 10), "locOffs");
    out.Unsigned(HostBytesToCardinal(r + 12), 8);
    out.Column(at + 12, r + 12, 2, HostBytesToCardinal(r + 12), "last");
  }
  out.End(morvit::VListingPlace::row);
  out.LineEnd();
}

}  // namespace

void ListDataTable(ListingOutput& out, const CString& path, bool pcColumns) {
  const std::size_t recordSize = RecordSize(pcColumns);
  const std::size_t batchRecords = pcColumns ? kPlTableMaxSize / kPlRecordSize : kDataBatchRecords;
  CFile file;
  const bool opened = file.Open(path, CFile::modeRead | CFile::typeBinary);
  RecordReader reader(file, recordSize, opened ? batchRecords : 0);
  const std::uint8_t* head = opened ? reader.Next() : nullptr;
  if (head == nullptr) {
    out.Text("return from file_read (DATA): ");
    out.Signed(kTableReadFailure, 5);
    out.LineEnd();
    out.Stop(-1, "the table cannot be opened or holds no head record");
  }
  Heading(out, pcColumns);
  if (head == nullptr) return;
  // A PL table holds only what its one read gave: rows end there whatever the head counts.
  // Rows that the head counts and the file does not hold make a listing stopped short: a table
  // that cannot be listed in full (random bytes too, whose head counts at random).
  const std::uint32_t last = controller::HostBytesToCardinal(head);
  out.Begin({morvit::VListingPlace::table, pcColumns ? "PL table" : "DATA table", -1, {}, -1, 0});
  Row(out, 0, head, pcColumns);
  std::uint32_t index = 1;
  for (; index <= last; ++index) {
    const std::uint8_t* record = reader.Next();
    if (record == nullptr || (pcColumns && index >= batchRecords)) break;
    Row(out, index, record, pcColumns);
  }
  out.End(morvit::VListingPlace::table);
  if (index <= last) {
    const bool beyondRead = pcColumns && index >= batchRecords;
    out.Stop(static_cast<std::int64_t>(index) * static_cast<std::int64_t>(recordSize),
             "its head counts " + std::to_string(last + 1u) + " records, " +
                 (beyondRead ? "more than the " + std::to_string(batchRecords) + " a PL table holds"
                             : "the file holds " + std::to_string(index)));
  }
}

}  // namespace morvit
