// VDomain: the base behaviour of every domain operation.
#include "domains/VDomain.h"

IMPLEMENT_RUNTIME_CLASS(VDomain, CObject)

VDomain::VDomain() = default;

VDomain::~VDomain() = default;

void VDomain::ReadDomain() {}

void VDomain::WriteDomain(int) {}

int VDomain::Backtranslate() { return 1; }

void VDomain::ReadDomainHeader() {}

void VDomain::WriteDomainHeader(std::uint16_t, int) {}

void VDomain::InsertSection(TSectionInfo*) {}

void VDomain::OpenDomain(ObjParcelType, VDatabase* database, std::uint16_t) {
  m_pDatabase = database;
}

void VDomain::CloseDomain(std::uint16_t*, std::uint16_t, ObjParcelType*) {}

void VDomain::RemoveDomain() {}

void VDomain::GetName(CString&) {}

std::uint16_t VDomain::GetDomainLength() { return m_wDomainLength; }
