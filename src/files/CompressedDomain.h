// Compressed domains on disk: the complete domain file imploded and spread over a chain of part
// files, each opened by its own headers, and the join and expansion that reads it back.
//
// Part file i (parcel scope i, or first scope + i) of n:
//   common header (14)    "OffsetToLastByte" = (header bytes + chunk, rounded up to even) - 1
//   compress header (10)  own number i, number of domains n, the method, the chunk length
//   structure header (26) first part file only
//   chunk                 the next bytes of the compressed stream
//   pad byte              one zero byte when the chunk length is odd
//   zeros                 up to the next multiple of 1024
#ifndef MORVIT_FILES_COMPRESSEDDOMAIN_H
#define MORVIT_FILES_COMPRESSEDDOMAIN_H

#include <cstdint>

#include "files/VCommonHeader.h"
#include "files/VCompressHeader.h"
#include "files/VStructureHeader.h"
#include "morvit/VBase.h"
#include "morvit/VDomainFile.h"

namespace morvit {

// The header records of a compressible domain; the split and the join write and read them.
struct DomainHeaders {
  VCommonHeader& common;
  VCompressHeader& compress;
  VStructureHeader& structure;
};

// The number of part files a compressed stream of `length` bytes is split into: the first part
// carries maxPartSize - 50 bytes of it, every further part maxPartSize - 24; at least one part.
std::uint32_t CompressedPartCount(std::uint64_t length, std::uint32_t maxPartSize);

// Compresses the domain file with `method` (its Z sibling), splits the result into part files
// of at most `maxPartSize` bytes before padding, appends one parcel per part at *parcelCount
// (generic cause once the count passes `highestIndex`) and deletes the Z file.
void WriteCompressedDomain(VDomainFile& file, const DomainHeaders& headers, std::uint16_t method,
                           std::uint32_t maxPartSize, std::uint16_t* parcelCount,
                           std::uint16_t highestIndex, ObjParcelType* parcels);

// The split alone, for a file already compressed with `method` (Compress has made it the Z
// sibling): a domain type that must look at the compressed length before it is split. Part i
// is written and reported under scope `firstScope` + i: a domain whose scope names its owner
// rather than a part number (a program base belongs to a task) keeps it.
void SplitCompressedDomain(VDomainFile& file, const DomainHeaders& headers, std::uint16_t method,
                           std::uint32_t maxPartSize, std::uint16_t* parcelCount,
                           std::uint16_t highestIndex, ObjParcelType* parcels,
                           std::uint16_t firstScope = 0);

// Reads the headers of the open domain file (the part of scope `firstScope`). An uncompressed
// domain is rewound to its first byte; a compressed one is joined from its parts (scopes
// `firstScope` upwards) into the Z sibling and expanded into the X sibling, which the file then
// refers to, positioned at its first byte.
void ReadCompressedDomain(VDomainFile& file, const DomainHeaders& headers,
                          std::uint16_t firstScope = 0);

}  // namespace morvit

#endif  // MORVIT_FILES_COMPRESSEDDOMAIN_H
