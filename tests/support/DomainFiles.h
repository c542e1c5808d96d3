// Test helpers for domains on disk: parcels for test domains, generating a domain, the path of
// each file of a domain in the fake host's data directory, and big-endian words of file bytes.
#ifndef MORVIT_TESTS_SUPPORT_DOMAINFILES_H
#define MORVIT_TESTS_SUPPORT_DOMAINFILES_H

#include <cstdint>
#include <string>
#include <vector>

#include "domains/VDomain.h"
#include "morvit/VBase.h"
#include "support/FakeHost.h"

namespace testutil {

// A fully given parcel: object number, class 'C', type, scope 0, version.
ObjParcelType DomainParcel(std::uint16_t type, std::uint16_t objectNumber = 1,
                           std::uint16_t version = 1);

// The path of the parcel's file with the given scope, or of its sibling with `letter` as the
// first character of the extension.
std::string DomainFilePath(FakeHost& host, ObjParcelType parcel, std::uint16_t scope,
                           char letter = 'C');

// The same while the domain is being generated: the file's staging name.
std::string StagedFilePath(FakeHost& host, ObjParcelType parcel, std::uint16_t scope,
                           char letter = 'C');

// The big-endian 16-bit word at `offset` of `bytes`.
std::uint16_t WordAt(const std::vector<std::uint8_t>& bytes, std::size_t offset);

// Generates `domain` for `parcel` the way the manager does (open, write, close) and returns
// the parcels it reports, at most eight.
std::vector<ObjParcelType> GenerateDomain(VDomain& domain, const ObjParcelType& parcel);

// The names of the files in the host's data directory, sorted.
std::vector<std::string> DataFileNames(FakeHost& host);

}  // namespace testutil

#endif  // MORVIT_TESTS_SUPPORT_DOMAINFILES_H
