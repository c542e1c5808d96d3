// What a dump of one domain file did: whether a listing was written, which reader wrote it and
// how, whether the read stopped short and where, or why nothing was written.
#ifndef MORVIT_VDUMPRESULT_H
#define MORVIT_VDUMPRESULT_H

#include <cstdint>

#include "morvit/platform.h"

struct VDumpResult {
  enum Outcome {
    kWritten,       // the whole file was read and listed
    kStoppedShort,  // a listing was written, but the read stopped before the file's end
    kNotWritten,    // no listing: the file cannot be read or the listing cannot be written
    kNoListing,     // a kind of file that has no listing (a node's file list)
  };
  Outcome outcome = kNotWritten;
  CString listing;         // the listing's path (kWritten, kStoppedShort)
  CString reader;          // "class" (the domain type's own listing) or "driver"
  CString mode;            // the driver's mode: "CODE", "DATA", "PC DATA", "MOVE", "WIDE MOVE"
  std::uint16_t type = 0;  // the domain type the file's header names (0: not read)
  CString where;           // where the read stopped, or why nothing was written, in words
};

#endif  // MORVIT_VDUMPRESULT_H
