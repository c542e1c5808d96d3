// Reading a generation job's JSON values with their place in the job, so that a wrong or
// missing value is reported as "domains[1].records[2].key: ..." instead of a bare type error.
#ifndef MORVIT_TOOL_JOBVALUES_H
#define MORVIT_TOOL_JOBVALUES_H

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <utility>
#include <vector>

#include "cli/Failure.h"

namespace morvit::tool {

// A wrong value of a job: its place ("domains[1].records[2].key") and what is wrong with it.
class JobFault : public Failure {
 public:
  JobFault(std::string place, std::string what)
      : Failure(place + ": " + what), place(std::move(place)), what(std::move(what)) {}
  std::string place;
  std::string what;
};

// A JSON value and where it sits in the job.
struct JobValue {
  const nlohmann::json& json;
  std::string place;

  // The member `name`; a failure naming it when it is missing (or this is no object).
  JobValue operator[](const char* name) const;
  // The member `name`, or null when it is absent.
  const nlohmann::json* Find(const char* name) const;
  // The element at `index` of an array.
  JobValue At(std::size_t index) const;
  // The number of elements; a failure when this is no array.
  std::size_t Size() const;

  // An integer within [low, high].
  std::int64_t Integer(std::int64_t low, std::int64_t high) const;
  double Real() const;
  // A number the controller's 4-byte real holds: finite, and not so small that it would become 0.
  float Real32() const;
  bool Boolean() const;
  // A string of at most `maxLength` bytes.
  std::string Text(std::size_t maxLength) const;

  // A JobFault at this value. At a place passed over (PassOver) it returns instead, and the
  // reads above give a neutral value (0, false, "", an empty array) without a check.
  void Fail(const std::string& what) const;

 private:
  bool PassedOver() const;
};

// While it lives, the values at `places` (and within them) are passed over: a checker that has
// reported a fault there reads the rest of the record for its other faults.
class PassOver {
 public:
  explicit PassOver(const std::vector<std::string>& places);
  ~PassOver();
  PassOver(const PassOver&) = delete;
  PassOver& operator=(const PassOver&) = delete;

 private:
  const std::vector<std::string>* m_outer;
};

// The member `name` of `value` as an integer within [low, high], or `fallback` when absent.
std::int64_t OptionalInteger(const JobValue& value, const char* name, std::int64_t low,
                             std::int64_t high, std::int64_t fallback);

}  // namespace morvit::tool

#endif  // MORVIT_TOOL_JOBVALUES_H
