// The job format's declarative description, schemas/job.schema.json (built into the tool and
// installed for editors), checked through a JSON Schema validator: a piece of a job against one
// of the schema's definitions, its first fault in words with its place.
#ifndef MORVIT_TOOL_JOBSCHEMA_H
#define MORVIT_TOOL_JOBSCHEMA_H

#include <memory>
#include <string>

#include "job/JobReader.h"

namespace morvit::tool {

class JobSchema {
 public:
  JobSchema();
  ~JobSchema();
  JobSchema(const JobSchema&) = delete;
  JobSchema& operator=(const JobSchema&) = delete;

  // Checks the piece against the definition `definition` ("" the job itself, "base" a REBA or
  // POBA domain, "record" one of its records, ...). Its faults go to `faults`; false then.
  bool Check(const JobUnit& unit, const std::string& definition, JobFaults& faults);

 private:
  struct Validators;
  // Checks `value`, at `path` in the piece, against the schema node `ref` ("#/definitions/...").
  bool Check(const JobUnit& unit, const nlohmann::json& value, const std::string& path,
             std::string ref, JobFaults& faults);
  // The validator's first finding for `value`, after a failed check against `ref`.
  void ReportFirst(const JobUnit& unit, const nlohmann::json& value, const std::string& path,
                   const std::string& ref, JobFaults& faults);
  std::unique_ptr<Validators> m_validators;
};

}  // namespace morvit::tool

#endif  // MORVIT_TOOL_JOBSCHEMA_H
