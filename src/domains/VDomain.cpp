// VDomain: the base behaviour of every domain operation: header handling, open, close and
// remove on the domain's file; empty defaults for the rest.
#include "domains/VDomain.h"

#include <algorithm>

namespace morvit {

IMPLEMENT_RUNTIME_CLASS(VDomain, CObject)

VDomain::VDomain() = default;

VDomain::~VDomain() = default;

void VDomain::ReadDomain() {}

void VDomain::WriteDomain(int) {}

int VDomain::Backtranslate() { return 1; }

void VDomain::ReadDomainHeader() { m_commonHeader.Read(m_file); }

void VDomain::WriteDomainHeader(std::uint16_t bodyLength, int listing) {
  if (listing != 0) m_file.Reopen(VDomainFile::fileListing);
  m_commonHeader.m_wDomainLength =
      static_cast<std::uint16_t>(bodyLength + m_commonHeader.GetSize());
  m_commonHeader.Write(m_file, listing);
}

void VDomain::InsertSection(TSectionInfo*) {}

void VDomain::OpenDomain(ObjParcelType parcel, VDatabase* database, std::uint16_t mode) {
  m_pDatabase = database;
  m_file.OpenDomain(parcel, mode);
}

void VDomain::CloseDomain(std::uint16_t* parcelCount, std::uint16_t highestIndex,
                          ObjParcelType* parcels) {
  m_file.CloseDomain(parcelCount, highestIndex, parcels);
}

void VDomain::RemoveDomain() { m_file.RemoveDomain(); }

void VDomain::DiscardFiles() { m_file.DiscardWrittenFiles(); }

void VDomain::GetName(CString&) {}

std::uint16_t VDomain::GetDomainLength() { return m_wDomainLength; }

ObjId VDomain::ObjectId() const {
  const ObjParcelType& parcel = m_file.GetParcel();
  return {parcel.domainType, parcel.scope, parcel.version};
}

Era VDomain::TimeStamp() const {
  Era era{};
  const ObjParcelType& parcel = m_file.GetParcel();
  std::copy(std::begin(parcel.timeStamp), std::end(parcel.timeStamp), era.words);
  return era;
}

}  // namespace morvit
