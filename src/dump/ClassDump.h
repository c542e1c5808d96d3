// The class dump: a domain file whose type has a domain class that lists itself is read into
// its domain object and written again in listing mode, into the file's 'D' sibling.
#ifndef MORVIT_DUMP_CLASSDUMP_H
#define MORVIT_DUMP_CLASSDUMP_H

#include <cstdint>
#include <functional>
#include <memory>

#include "domains/VDomain.h"
#include "morvit/VDumpResult.h"
#include "morvit/platform.h"

namespace morvit {

using DomainFactory = std::function<std::unique_ptr<VDomain>(std::uint16_t type)>;

// Lists the domain file at `path` through the object `factory` makes for its type. Raises
// file-not-found for a type that is not listed through a class (or whose class the factory
// does not have), and for a file that is not the file its own header names; a header that
// cannot be read raises its failure. Types 119 and 120 are listed not at all. Failures while
// the domain is read or listed end the dump without a listing and are not raised.
//
// The domain is read in the directory of `path` (the current directory for a bare name), its
// part files and siblings too, whatever the data-set directory of the host.
// `result`, when given, is filled at the exits: the type read, the listing written, no listing
// for its kind, or the failure that left none (a listing begun is removed then).
void ClassDump(const CString& path, const DomainFactory& factory, VDumpResult* result = nullptr);

// Reads the domain file at `path` as the runs read it, without writing a listing: its common
// header, then its type's class (part files, expansion, the type's own reader) where the factory
// has one, else the whole file as far as the length its first word announces. Raises the first
// failure; a part file that is missing raises file-not-found naming the part.
void ReadDomainFile(const CString& path, const DomainFactory& factory);

}  // namespace morvit

#endif  // MORVIT_DUMP_CLASSDUMP_H
