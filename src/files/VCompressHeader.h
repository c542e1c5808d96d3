// VCompressHeader: the 10-byte header of domains that may be compressed and split into part
// files: which part this is, how many there are, the compression method and chunk length.
#ifndef MORVIT_FILES_VCOMPRESSHEADER_H
#define MORVIT_FILES_VCOMPRESSHEADER_H

#include <cstdint>

#include "files/VHeaderRecord.h"

namespace morvit {

class VCompressHeader : public VHeaderRecord {
 public:
  // Compression methods ("CompressVersion"): any other non-zero value means the file was
  // moved to its compressed name without compression.
  static constexpr std::uint16_t kNotCompressed = 0;
  static constexpr std::uint16_t kImplode = 2;

  std::uint16_t GetSize() const override;
  void Parse() override;
  void Write(VDomainFile& file, int listing) override;

  // The file and the record both hold the number of domains less 1.
  void SetNumberOfDomains(std::uint16_t count) {
    m_wNumberOfDomainsMinus1 = static_cast<std::uint16_t>(count - 1);
  }

  std::uint16_t m_wOwnDomainNumber = 0xFFFF;        // this file's index in the split domain
  std::uint16_t m_wNumberOfDomainsMinus1 = 0xFFFF;  // files of the split domain, less 1
  std::uint16_t m_wCompressVersion = 0xFFFF;        // the compression method
  std::uint16_t m_wLengthCompressBlock = 0xFFFF;    // compressed bytes carried in this file
};

}  // namespace morvit

#endif  // MORVIT_FILES_VCOMPRESSHEADER_H
