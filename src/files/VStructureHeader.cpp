// VStructureHeader: major and minor structure version (a byte each), three signed 32-bit
// block offsets and six spare words.
#include "files/VStructureHeader.h"

#include "files/HeaderFormat.h"
#include "io/ListingEvents.h"

namespace morvit {

std::uint16_t VStructureHeader::GetSize() const { return headerformat::kStructureHeaderSize; }

void VStructureHeader::Parse() {
  m_cMajorVersion = m_io.ReadByte(*this);
  m_cMinorVersion = m_io.ReadByte(*this);
  m_lOffsetToBlock1 = m_io.ReadLongInt(*this);
  m_lOffsetToBlock2 = m_io.ReadLongInt(*this);
  m_lOffsetToExtension = m_io.ReadLongInt(*this);
  for (int i = 0; i < headerformat::kStructureSpareWords; ++i) m_io.ReadCardinal(*this);
}

void VStructureHeader::Write(VDomainFile& file, int listing) {
  events::BeginHeader(listing, "structure header");
  m_io.WriteByte(file, m_cMajorVersion, listing, "Major/Minor StructureVersion");
  m_io.WriteByte(file, m_cMinorVersion, listing, "Major/Minor StructureVersion");
  m_io.WriteLongInt(file, m_lOffsetToBlock1, listing, "OffsetToBlock1");
  m_io.WriteLongInt(file, m_lOffsetToBlock2, listing, "OffsetToBlock2");
  m_io.WriteLongInt(file, m_lOffsetToExtension, listing, "OffsetToExtension");
  for (int i = 0; i < headerformat::kStructureSpareWords; ++i) {
    m_io.WriteCardinal(file, headerformat::kSpareWord, listing, "Spare");
  }
  events::EndHeader(listing);
}

}  // namespace morvit
