// The split of a compressed domain into part files and the join that reads it back.
#include "files/CompressedDomain.h"

#include <algorithm>
#include <vector>

#include "files/HeaderFormat.h"
#include "files/StagedFiles.h"
#include "morvit/VMotorolaIO.h"

namespace morvit {

namespace {

using headerformat::kFirstPartHeaderSize;
using headerformat::kPartHeaderSize;

std::uint16_t PartHeaderSize(std::uint32_t part) {
  return part == 0 ? kFirstPartHeaderSize : kPartHeaderSize;
}

// Writes part `part` of `partCount` with the next `chunk` bytes of the Z file under its staging
// name (added to `written` as soon as it exists), brings it to stable storage and closes it;
// returns the part's length before padding.
std::uint16_t WritePart(VDomainFile& zFile, const DomainHeaders& headers, std::uint16_t method,
                        std::uint16_t part, std::uint32_t partCount, std::uint16_t chunk,
                        std::uint16_t scope, std::vector<CString>& written) {
  const std::uint32_t headerSize = PartHeaderSize(part);
  ObjParcelType parcel = zFile.GetParcel();
  parcel.scope = scope;
  VDomainFile partFile;
  partFile.OpenDomain(parcel, CFile::modeCreate | CFile::modeReadWrite);
  written.push_back(partFile.GetFullPath());
  headers.common.m_wDomainLength = static_cast<std::uint16_t>((headerSize + chunk + 1) & ~1u);
  headers.common.Write(partFile, 0);
  headers.compress.m_wOwnDomainNumber = part;
  headers.compress.SetNumberOfDomains(static_cast<std::uint16_t>(partCount));
  headers.compress.m_wCompressVersion = method;
  headers.compress.m_wLengthCompressBlock = chunk;
  headers.compress.Write(partFile, 0);
  if (part == 0) headers.structure.Write(partFile, 0);
  VMotorolaIO io;
  io.CopyBytes(zFile, partFile, chunk, 0);
  if (chunk % 2 != 0) io.WriteByte(partFile, 0, 0, nullptr);
  const auto length = static_cast<std::uint16_t>(partFile.GetLength());
  partFile.Close(1);
  return length;
}

// Appends the chunk of part `part` to the Z file, after checking that the part's headers
// describe it: its own number is `part` and its chunk lies inside the part's domain length.
void JoinPart(VDomainFile& zFile, const DomainHeaders& headers, ObjParcelType parcel,
              std::uint16_t part, std::uint16_t scope) {
  VDomainFile partFile;
  parcel.scope = scope;
  partFile.OpenDomain(parcel, CFile::modeRead);
  headers.common.Read(partFile);
  headers.compress.Read(partFile);
  if (part == 0) headers.structure.Read(partFile);
  // A chunk that runs past its part's headers-and-chunk length, or a part that is not the
  // one the chain asks for, means a damaged set of parts: joining it would hand padding or
  // the wrong bytes to the expansion.
  const std::uint16_t domainLength = headers.common.m_wDomainLength;
  const std::uint16_t headerSize = PartHeaderSize(part);
  const std::uint16_t room = domainLength > headerSize ? domainLength - headerSize : 0;
  const std::uint16_t chunk = headers.compress.m_wLengthCompressBlock;
  if (headers.compress.m_wOwnDomainNumber != part || chunk > room) {
    AfxThrowFileException(CFileException::endOfFile, -1, partFile.GetFullPath());
  }
  VMotorolaIO().CopyBytes(partFile, zFile, chunk, 0);
  partFile.CFile::Close();
}

}  // namespace

std::uint32_t CompressedPartCount(std::uint64_t length, std::uint32_t maxPartSize) {
  const std::uint32_t firstChunk = maxPartSize - kFirstPartHeaderSize;
  const std::uint32_t laterChunk = maxPartSize - kPartHeaderSize;
  if (length <= firstChunk) return 1;
  return static_cast<std::uint32_t>(1 + (length - firstChunk + laterChunk - 1) / laterChunk);
}

// The count of parts written into every compress header is the count this split produces.
// Estimated from the length modulo the part size with 16-bit arithmetic, it comes out one short
// for lengths just below a multiple of the part size (65486 to 65500 bytes, for one), and a
// reader then drops the last part's bytes.
void WriteCompressedDomain(VDomainFile& file, const DomainHeaders& headers, std::uint16_t method,
                           std::uint32_t maxPartSize, std::uint16_t* parcelCount,
                           std::uint16_t highestIndex, ObjParcelType* parcels) {
  file.Compress(method);
  SplitCompressedDomain(file, headers, method, maxPartSize, parcelCount, highestIndex, parcels);
}

// The parts are reported and moved into place only when all of them are complete; a failure
// on the way removes every part and the Z file and reports none.
void SplitCompressedDomain(VDomainFile& file, const DomainHeaders& headers, std::uint16_t method,
                           std::uint32_t maxPartSize, std::uint16_t* parcelCount,
                           std::uint16_t highestIndex, ObjParcelType* parcels,
                           std::uint16_t firstScope) {
  const std::uint16_t firstIndex = *parcelCount;
  std::vector<CString> written;
  try {
    std::uint64_t remaining = file.GetLength();
    const std::uint32_t partCount = CompressedPartCount(remaining, maxPartSize);
    file.SeekToBegin();
    std::uint16_t part = 0;
    do {
      if (*parcelCount > highestIndex) {
        AfxThrowFileException(CFileException::genericException, -1, file.GetFullPath());
      }
      const auto chunk = static_cast<std::uint16_t>(
          std::min<std::uint64_t>(maxPartSize - PartHeaderSize(part), remaining));
      const auto scope = static_cast<std::uint16_t>(firstScope + part);
      const std::uint16_t length =
          WritePart(file, headers, method, part, partCount, chunk, scope, written);
      ObjParcelType& entry = parcels[*parcelCount];
      entry = file.GetParcel();
      entry.scope = scope;
      entry.length = length;
      ++*parcelCount;
      remaining -= chunk;
      ++part;
    } while (remaining > 0);
    staging::Publish(written);
  } catch (...) {
    *parcelCount = firstIndex;
    staging::Discard(written);
    file.DiscardWrittenFiles();
    throw;
  }
  file.RemoveDomain(VDomainFile::fileCompressed);
}

void ReadCompressedDomain(VDomainFile& file, const DomainHeaders& headers,
                          std::uint16_t firstScope) {
  headers.common.Read(file);
  headers.compress.Read(file);
  const std::uint16_t method = headers.compress.m_wCompressVersion;
  if (method == VCompressHeader::kNotCompressed) {
    file.SeekToBegin();
    return;
  }
  const std::uint32_t partCount = std::uint32_t{headers.compress.m_wNumberOfDomainsMinus1} + 1;
  const ObjParcelType parcel = file.GetParcel();
  file.Reopen(VDomainFile::fileCompressed);
  // The Z file is a scratch copy of the parts: it must not outlive a failed join.
  try {
    for (std::uint32_t part = 0; part < partCount; ++part) {
      JoinPart(file, headers, parcel, static_cast<std::uint16_t>(part),
               static_cast<std::uint16_t>(firstScope + part));
    }
    file.Uncompress(method);
  } catch (const CFileException&) {
    file.RemoveDomain(VDomainFile::fileCompressed);
    throw;
  }
}

}  // namespace morvit
