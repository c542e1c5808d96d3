// Section records of the domain types that the C interface generates, built from a job's
// records: the record layouts of CNOD, RNOD, NOBA, REBA, POBA, BOBA, CbD and CbP, one builder per
// record kind.
#ifndef MORVIT_TOOL_SECTIONRECORDS_H
#define MORVIT_TOOL_SECTIONRECORDS_H

#include <cstdint>
#include <deque>
#include <span>
#include <string>
#include <vector>

#include "job/JobValues.h"
#include "morvit/VBase.h"

namespace morvit::tool {

// The records of one domain, in insertion order, and the texts that records point to (a NOBA
// record carries the address of its characters), kept alive until the records are inserted.
struct SectionList {
  std::vector<TSectionInfo> records;
  std::deque<std::string> texts;
};

// A domain type generated through VBase_PutStart / VBase_Insert / VBase_PutFinishEx. Its
// records come from its long list, one element at a time (a large domain is never held whole),
// and from the members that follow the list.
struct CInterfaceType {
  const char* name;
  std::uint16_t type;
  // Its definition in the job schema.
  const char* schema;
  // The long list ("records", "texts", ...) and the records of one of its elements.
  const char* list;
  void (*buildItem)(const JobValue& item, SectionList& list);
  // The records after the list (a CbP's offset shifts), or null.
  void (*buildTail)(const JobValue& domain, SectionList& list);
};

// The offsets of a decoder-table description in the job ("colo", ...), in the order of the areas
// (morvit::VCbxArea), with their place in TCbxElement.
struct CbxOffsetField {
  const char* name;
  std::size_t at;
};
std::span<const CbxOffsetField> CbxOffsetFields();

// The type of that name (upper case, as in the job), or null.
const CInterfaceType* FindCInterfaceType(const std::string& name);
// The type of that number, or null.
const CInterfaceType* FindCInterfaceType(std::uint16_t type);

}  // namespace morvit::tool

#endif  // MORVIT_TOOL_SECTIONRECORDS_H
