// The table from domain type numbers to domain classes used by the manager.
#ifndef MORVIT_INTERFACE_DOMAINTABLE_H
#define MORVIT_INTERFACE_DOMAINTABLE_H

#include <cstdint>
#include <memory>

#include "domains/VDomain.h"

namespace morvit {

// The domain object for a type number, or null for a type without a domain class.
std::unique_ptr<VDomain> CreateDomainForType(std::uint16_t type);

}  // namespace morvit

#endif  // MORVIT_INTERFACE_DOMAINTABLE_H
