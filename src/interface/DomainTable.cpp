// Type number to domain class. Only the types listed here are generated; every other number,
// including those of files without a domain class, creates nothing.
#include "interface/DomainTable.h"

std::unique_ptr<VDomain> CreateDomainForType(std::uint16_t type) {
  switch (type) {
    default:
      return nullptr;
  }
}
