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
#include "support/DomainTypes.h"

namespace morvit {

std::unique_ptr<VDomain> CreateDomainForType(std::uint16_t type) {
  if (type >= kFirstBxdType && type <= kLastBxdType) return std::make_unique<VBxDDomain>();
  switch (type) {
    case DomainTypeOf("CN"):
      return std::make_unique<VCnodDomain>(0);
    case DomainTypeOf("NB"):
      return std::make_unique<VNobaDomain>();
    case DomainTypeOf("RN"):
      return std::make_unique<VRnodDomain>(0);
    case DomainTypeOf("RB"):
      return std::make_unique<VRebaDomain>();
    case DomainTypeOf("PB"):
      return std::make_unique<VPobaDomain>();
    case kCbdType:
      return std::make_unique<VCbDDomain>();
    case kCbpType:
      return std::make_unique<VCbPDomain>();
    case DomainTypeOf("B1"):
    case DomainTypeOf("B2"):
    case DomainTypeOf("B3"):
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
