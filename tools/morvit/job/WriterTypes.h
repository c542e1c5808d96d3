// Domain types that other tools produce, generated through the library's writers from a job:
// TADE, REDE, PODE, COIO, CODA and BxD with their content, RELO and POLO with their bytes.
#ifndef MORVIT_TOOL_WRITERTYPES_H
#define MORVIT_TOOL_WRITERTYPES_H

#include <cstdint>
#include <string>
#include <vector>

#include "job/JobValues.h"
#include "morvit/VBase.h"

namespace morvit::tool {

struct WriterType {
  const char* name;
  std::uint16_t type;
  // Its definition in the job schema.
  const char* schema;
  // Reads the job's content; with `write` set, writes the domain for `parcel` and returns the
  // parcels written.
  std::vector<ObjParcelType> (*generate)(const JobValue& domain, const ObjParcelType& parcel,
                                         bool write);
};

// The writer type of that name or number, or null.
const WriterType* FindWriterType(const std::string& name);
const WriterType* FindWriterType(std::uint16_t type);

}  // namespace morvit::tool

#endif  // MORVIT_TOOL_WRITERTYPES_H
