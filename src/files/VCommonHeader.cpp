// VCommonHeader: offset to last byte, type and scope, version, time stamp, major and minor
// version, between the domain file and its parcel.
#include "files/VCommonHeader.h"

#include "files/HeaderFormat.h"
#include "io/ListingEvents.h"

namespace morvit {

namespace {

// The parcel keeps a two-digit year.
constexpr std::uint16_t kYearDigits = 100;

std::uint8_t LowByte(std::uint16_t word) { return static_cast<std::uint8_t>(word & 0xFF); }

}  // namespace

std::uint16_t VCommonHeader::GetSize() const { return headerformat::kCommonHeaderSize; }

void VCommonHeader::Read(VDomainFile& file) {
  ObjParcelType& parcel = file.GetParcel();
  m_wDomainLength = static_cast<std::uint16_t>(m_io.ReadCardinal(file) + 1);
  parcel.domainType = m_io.ReadByte(file);
  parcel.scope = m_io.ReadByte(file);
  parcel.version = m_io.ReadCardinal(file);
  RTime stamp{};
  m_io.ReadRTime(file, stamp, 0);
  parcel.timeStamp[0] = static_cast<std::uint16_t>(stamp.year % kYearDigits);
  parcel.timeStamp[1] = stamp.month;
  parcel.timeStamp[2] = stamp.day;
  parcel.timeStamp[3] = stamp.hour;
  parcel.timeStamp[4] = stamp.minute;
  parcel.timeStamp[5] = stamp.second;
  parcel.timeStamp[6] = stamp.millisecond;
  parcel.majorVersion = m_io.ReadByte(file);
  parcel.minorVersion = m_io.ReadByte(file);
}

void VCommonHeader::Write(VDomainFile& file, int listing) {
  const ObjParcelType& parcel = file.GetParcel();
  m_io.WriteHeader(file, file.GetFileName().c_str(), listing);
  events::BeginHeader(listing, "common header");
  m_io.WriteCardinal(file, static_cast<std::uint16_t>(m_wDomainLength - 1), listing,
                     "OffsetToLastByte");
  m_io.WriteByte(file, LowByte(parcel.domainType), listing, "Type/Scope");
  m_io.WriteByte(file, LowByte(parcel.scope), listing, "Type/Scope");
  m_io.WriteCardinal(file, parcel.version, listing, "Version");
  const RTime stamp{parcel.timeStamp[0], parcel.timeStamp[1], parcel.timeStamp[2],
                    parcel.timeStamp[3], parcel.timeStamp[4], parcel.timeStamp[5],
                    parcel.timeStamp[6]};
  m_io.WriteRTime(file, stamp, listing, nullptr, 0);
  m_io.WriteByte(file, LowByte(parcel.majorVersion), listing, "Major/Minor");
  m_io.WriteByte(file, LowByte(parcel.minorVersion), listing, "Major/Minor");
  events::EndHeader(listing);
}

}  // namespace morvit
