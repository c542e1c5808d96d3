// VDecoderHeader: the 12-byte header of the decoder-table domains: where the decoder table
// and its description start, the decoder table version, and the values G1 to G3.
#ifndef MORVIT_FILES_VDECODERHEADER_H
#define MORVIT_FILES_VDECODERHEADER_H

#include <cstdint>

#include "files/VHeaderRecord.h"

namespace morvit {

class VDecoderHeader : public VHeaderRecord {
 public:
  std::uint16_t GetSize() const override;
  void Parse() override;
  // Always writes the version bytes 1 and 0, whatever m_wVersion holds.
  void Write(VDomainFile& file, int listing) override;

  std::uint16_t m_wOffsetToDecoderTable = 0;
  std::uint16_t m_wOffsetToDescription = 0;
  std::uint16_t m_wVersion = 0;  // as read: major in the high byte, minor in the low byte
  std::uint16_t m_wG1 = 0;
  std::uint16_t m_wG2 = 0;
  std::uint16_t m_wG3 = 0;
};

}  // namespace morvit

#endif  // MORVIT_FILES_VDECODERHEADER_H
