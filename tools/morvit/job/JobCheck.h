// The check of a whole generation job before anything is written: every piece against the job
// schema, every value through the same builders that generate it, and the rules that span
// pieces (entry keys, domain identities, the fields a decoder-table element type holds).
#ifndef MORVIT_TOOL_JOBCHECK_H
#define MORVIT_TOOL_JOBCHECK_H

#include <cstdint>
#include <vector>

#include "job/JobReader.h"
#include "job/SectionRecords.h"
#include "job/WriterTypes.h"
#include "morvit/VBase.h"

namespace morvit::tool {

// A job's domain type: generated through the C interface or through a writer.
struct JobType {
  const CInterfaceType* viaInterface = nullptr;
  const WriterType* viaWriter = nullptr;

  const char* Name() const { return viaInterface ? viaInterface->name : viaWriter->name; }
  std::uint16_t Number() const { return viaInterface ? viaInterface->type : viaWriter->type; }
};

// What the check keeps of each domain for the generation: its type and its parcel (the time
// stamp taken once, so that both passes agree).
struct CheckedDomain {
  JobType type;
  ObjParcelType parcel{};
};

// Reads the whole job and checks it; every fault goes to `faults`. The domains in job order.
std::vector<CheckedDomain> CheckJob(JobSource& source, JobFaults& faults);

}  // namespace morvit::tool

#endif  // MORVIT_TOOL_JOBCHECK_H
