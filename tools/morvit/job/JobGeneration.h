// Generating a job that CheckJob found free of faults: each domain's records handed to the
// library as they are read (a job of any size takes memory for one record at a time), a writer
// type's domain written once it has been read.
#ifndef MORVIT_TOOL_JOBGENERATION_H
#define MORVIT_TOOL_JOBGENERATION_H

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "cli/Failure.h"
#include "job/JobCheck.h"
#include "morvit/VHostServices.h"
#include "morvit/VManager.h"

namespace morvit::tool {

// A generation step that the library refused: the message names the domain and the step; the
// library's status comes with it.
class StepFailure : public Failure {
 public:
  StepFailure(const std::string& message, std::int16_t status, std::string reason)
      : Failure(message), m_status(status), m_reason(std::move(reason)) {}
  std::int16_t Status() const { return m_status; }
  // The library's reason in words, without the domain and step.
  const std::string& Reason() const { return m_reason; }

 private:
  std::int16_t m_status;
  std::string m_reason;
};

// The words of a library message during a generation that is a warning of the job's: a node's
// file pattern that matched no file. None for any other message.
std::optional<std::string> GenerationWarning(int number, const std::vector<VMessageValue>& values);

// The name of a written parcel's domain type ("REBA", "XBFI" for a node's file list).
const char* WrittenDomainName(std::uint16_t type);

// Reads the checked job `source` again and generates `domains` into the data set of the host
// in force, calling `written` for every file written. A failed step is a Failure naming the
// domain, the step, the library's reason and `dataSet` (the data-set directory, for the
// message); the files of a domain that was not finished are removed when `manager` goes. An
// interrupt stops between domains or records (InterruptedRun).
void GenerateCheckedJob(JobSource& source, const std::vector<CheckedDomain>& domains,
                        VManager& manager, const std::function<void(const ObjParcelType&)>& written,
                        const std::string& dataSet);

}  // namespace morvit::tool

#endif  // MORVIT_TOOL_JOBGENERATION_H
