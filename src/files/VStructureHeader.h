// VStructureHeader: the 26-byte header of block-addressed domains: structure version and
// the offsets of the domain's blocks.
#ifndef MORVIT_FILES_VSTRUCTUREHEADER_H
#define MORVIT_FILES_VSTRUCTUREHEADER_H

#include <cstdint>

#include "files/VHeaderRecord.h"

namespace morvit {

class VStructureHeader : public VHeaderRecord {
 public:
  std::uint16_t GetSize() const override;
  void Parse() override;
  void Write(VDomainFile& file, int listing) override;

  std::uint8_t m_cMajorVersion = 0;
  std::uint8_t m_cMinorVersion = 0;
  std::int32_t m_lOffsetToBlock1 = 0;
  std::int32_t m_lOffsetToBlock2 = 0;
  std::int32_t m_lOffsetToExtension = 0;
};

}  // namespace morvit

#endif  // MORVIT_FILES_VSTRUCTUREHEADER_H
