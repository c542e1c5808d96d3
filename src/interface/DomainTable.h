// The table from domain type numbers to domain classes used by the manager.
#ifndef MORVIT_INTERFACE_DOMAINTABLE_H
#define MORVIT_INTERFACE_DOMAINTABLE_H

#include <cstdint>
#include <memory>

#include "domains/VDomain.h"

namespace morvit {

// The domain object for a type number, or null for a type without a domain class.
std::unique_ptr<VDomain> CreateDomainForType(std::uint16_t type);

// The domain object that reads a file of a type as the back-translation runs read it: the
// manager's class, or the class of a type the runs read but the manager does not generate
// (TADE, PODE, REDE, CODA, COIO); null for a type no run reads through a class.
std::unique_ptr<VDomain> CreateReaderForType(std::uint16_t type);

}  // namespace morvit

#endif  // MORVIT_INTERFACE_DOMAINTABLE_H
