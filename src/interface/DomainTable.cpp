// Type number to domain class. Only the types listed here are generated; every other number,
// including those of files without a domain class, creates nothing.
#include "interface/DomainTable.h"

#include "domains/ConfigDomainTypes.h"
#include "domains/VBobaDomain.h"
#include "domains/VBxDDomain.h"
#include "domains/VCbXDomain.h"
#include "domains/VCnodDomain.h"
#include "domains/VCodaDomain.h"
#include "domains/VCoioDomain.h"
#include "domains/VNobaDomain.h"
#include "domains/VPobaDomain.h"
#include "domains/VPodeDomain.h"
#include "domains/VRebaDomain.h"
#include "domains/VRedeDomain.h"
#include "domains/VRnodDomain.h"
#include "domains/VTadeDomain.h"

namespace morvit {

std::unique_ptr<VDomain> CreateDomainForType(std::uint16_t type) {
  if (type >= kFirstBxdType && type <= kLastBxdType) return std::make_unique<VBxDDomain>();
  switch (type) {
    case 1:
      return std::make_unique<VCnodDomain>(0);
    case 3:
      return std::make_unique<VNobaDomain>();
    case 44:
      return std::make_unique<VRnodDomain>(0);
    case 46:
      return std::make_unique<VRebaDomain>();
    case 78:
      return std::make_unique<VPobaDomain>();
    case kCbdType:
      return std::make_unique<VCbDDomain>();
    case kCbpType:
      return std::make_unique<VCbPDomain>();
    case 116:
    case 117:
    case 118:
      return std::make_unique<VBobaDomain>();
    default:
      return nullptr;
  }
}

std::unique_ptr<VDomain> CreateReaderForType(std::uint16_t type) {
  if (std::unique_ptr<VDomain> domain = CreateDomainForType(type)) return domain;
  switch (type) {
    case VTadeDomain::kType:
      return std::make_unique<VTadeDomain>();
    case VPodeDomain::kType:
      return std::make_unique<VPodeDomain>();
    case VRedeDomain::kType:
      return std::make_unique<VRedeDomain>();
    case kCodaType:
      return std::make_unique<VCodaDomain>();
    case kCoioType:
      return std::make_unique<VCoioDomain>();
    default:
      return nullptr;
  }
}

}  // namespace morvit
