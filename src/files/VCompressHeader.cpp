// VCompressHeader: own domain number, number of domains less 1, compress version, length of
// the compressed block and a spare word, in that order.
#include "files/VCompressHeader.h"

#include "files/HeaderFormat.h"
#include "io/ListingEvents.h"

namespace morvit {

std::uint16_t VCompressHeader::GetSize() const { return headerformat::kCompressHeaderSize; }

void VCompressHeader::Parse() {
  m_wOwnDomainNumber = m_io.ReadCardinal(*this);
  m_wNumberOfDomainsMinus1 = m_io.ReadCardinal(*this);
  m_wCompressVersion = m_io.ReadCardinal(*this);
  m_wLengthCompressBlock = m_io.ReadCardinal(*this);
  m_io.ReadCardinal(*this);  // spare
}

void VCompressHeader::Write(VDomainFile& file, int listing) {
  events::BeginHeader(listing, "compress header");
  m_io.WriteCardinal(file, m_wOwnDomainNumber, listing, "OwnDomainNumber");
  m_io.WriteCardinal(file, m_wNumberOfDomainsMinus1, listing, "NumberOfDomains-1");
  m_io.WriteCardinal(file, m_wCompressVersion, listing, "CompressVersion");
  m_io.WriteCardinal(file, m_wLengthCompressBlock, listing, "LengthCompressBlock");
  m_io.WriteCardinal(file, headerformat::kSpareWord, listing, "Spare");
  events::EndHeader(listing);
}

}  // namespace morvit
