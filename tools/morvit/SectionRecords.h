// Section records of the domain types that the C interface generates, built from a job's
// records: the record layouts of CNOD, RNOD, NOBA, REBA, POBA, BOBA, CbD and CbP, one builder per
// record kind.
#ifndef MORVIT_TOOL_SECTIONRECORDS_H
#define MORVIT_TOOL_SECTIONRECORDS_H

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "JobValues.h"
#include "morvit/VBase.h"

namespace morvit::tool {

// The records of one domain, in insertion order, and the texts that records point to (a NOBA
// record carries the address of its characters), kept alive until the records are inserted.
struct SectionList {
  std::vector<TSectionInfo> records;
  std::deque<std::string> texts;
};

// A domain type generated through VBase_PutStart / VBase_Insert / VBase_PutFinishEx.
struct CInterfaceType {
  const char* name;
  std::uint16_t type;
  // Appends the records that the job's domain describes.
  void (*build)(const JobValue& domain, SectionList& list);
};

// The type of that name (upper case, as in the job), or null.
const CInterfaceType* FindCInterfaceType(const std::string& name);
// The type of that number, or null.
const CInterfaceType* FindCInterfaceType(std::uint16_t type);

}  // namespace morvit::tool

#endif  // MORVIT_TOOL_SECTIONRECORDS_H
