// VRnodDomain: the RNOD node domain and its file list of type 120.
#include "domains/VRnodDomain.h"

#include "support/DomainTypes.h"

namespace morvit {

IMPLEMENT_RUNTIME_CLASS(VRnodDomain, VCnodDomain)

namespace {

constexpr std::uint16_t kRnodFileListType = DomainTypeOf("XR");

}  // namespace

VRnodDomain::VRnodDomain(int nodeMode) : VCnodDomain(0) { m_nNodeMode = nodeMode; }

VRnodDomain::~VRnodDomain() = default;

void VRnodDomain::OpenDomain(ObjParcelType parcel, VDatabase* database, std::uint16_t mode) {
  OpenWithFileList(parcel, database, mode, kRnodFileListType);
}

}  // namespace morvit
