// The bodies of the I/O configuration domains (COIO, type 26) and their change domains (COIC,
// type 27) in CODE mode, listed record by record from the word after their header.
#ifndef MORVIT_DUMP_IOCONFIGLISTING_H
#define MORVIT_DUMP_IOCONFIGLISTING_H

#include "dump/CodeListing.h"

namespace morvit {

void ListIoConfigBody(CodeListing& listing);
void ListIoChangeBody(CodeListing& listing);

}  // namespace morvit

#endif  // MORVIT_DUMP_IOCONFIGLISTING_H
