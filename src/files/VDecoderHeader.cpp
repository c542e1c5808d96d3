// VDecoderHeader: two table offsets, the decoder major and minor version (a byte each) and
// the three values G1, G2, G3.
#include "files/VDecoderHeader.h"

#include "files/HeaderFormat.h"

namespace morvit {

std::uint16_t VDecoderHeader::GetSize() const { return headerformat::kDecoderHeaderSize; }

void VDecoderHeader::Parse() {
  m_wOffsetToDecoderTable = m_io.ReadCardinal(*this);
  m_wOffsetToDescription = m_io.ReadCardinal(*this);
  m_wVersion = m_io.ReadCardinal(*this);
  m_wG1 = m_io.ReadCardinal(*this);
  m_wG2 = m_io.ReadCardinal(*this);
  m_wG3 = m_io.ReadCardinal(*this);
}

void VDecoderHeader::Write(VDomainFile& file, int listing) {
  m_io.WriteCardinal(file, m_wOffsetToDecoderTable, listing, "OffsetToDecoderTable");
  m_io.WriteCardinal(file, m_wOffsetToDescription, listing, "OffsetToDescription");
  m_io.WriteByte(file, headerformat::kDecoderMajorVersion, listing, "Decoder Major/Minor Vers");
  m_io.WriteByte(file, headerformat::kDecoderMinorVersion, listing, "Decoder Major/Minor Vers");
  m_io.WriteCardinal(file, m_wG1, listing, "G1");
  m_io.WriteCardinal(file, m_wG2, listing, "G2");
  m_io.WriteCardinal(file, m_wG3, listing, "G3");
}

}  // namespace morvit
