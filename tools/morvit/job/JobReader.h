// Reading a generation job as a stream: the job is cut into pieces small enough to hold (the
// job's own members, each domain's members except its long list, each element of such a list),
// each with the line and column of every value in it, and handed over in the order of the file.
// A job of any size thus takes memory for one piece at a time, and a fault is reported where it
// stands in the file.
#ifndef MORVIT_TOOL_JOBREADER_H
#define MORVIT_TOOL_JOBREADER_H

#include <cstdint>
#include <cstdio>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/ProgressBar.h"
#include "cli/StandardStreams.h"

namespace morvit::tool {

// A place in the job file: line and column (in characters), both from 1.
struct JobPlace {
  std::uint32_t line = 1;
  std::uint32_t column = 1;
};

// One piece of the job and the places of the values in it.
struct JobUnit {
  // Where the piece stands in the job: "" for the job itself, "domains[1]",
  // "domains[1].records[3]".
  std::string path;
  nlohmann::json value;
  // Places by path relative to the piece ("" the piece, "entry.key", "values[2]"): the value's,
  // and for members the name's.
  std::vector<std::pair<std::string, JobPlace>> places;
  std::vector<std::pair<std::string, JobPlace>> names;

  // The place of the value at `path` (absolute, as a fault names it), or of its member name when
  // `name` is set; the nearest enclosing value's place when it has none of its own (a missing
  // member is reported where its object starts).
  JobPlace PlaceOf(const std::string& path, bool name = false) const;
};

// The faults of a job, each as "FILE:LINE:COLUMN: PATH: what", up to a limit; in the order of
// their places in the file (a domain's own members are checked when the domain ends, after its
// records).
// A fault of a job: where it is, the JSON path of the value (or empty), what is wrong.
struct PlacedFault {
  JobPlace place;
  std::string path;
  std::string what;
};

class JobFaults {
 public:
  static constexpr std::size_t kLimit = 50;

  explicit JobFaults(std::string file) : m_file(std::move(file)) {}
  void Add(JobPlace place, const std::string& path, const std::string& what);
  // A fault of the value at `path` within `unit`.
  void Add(const JobUnit& unit, const std::string& path, const std::string& what,
           bool atName = false);
  bool Full() const { return m_faults.size() >= kLimit; }
  bool Empty() const { return m_faults.empty(); }
  std::size_t Count() const { return m_faults.size(); }
  // The faults in the order of the file, and as lines "FILE:LINE:COLUMN: PATH: WHAT".
  std::vector<PlacedFault> Faults() const;
  // The paths of the faults added after the first `first`, in the order they were added.
  std::vector<std::string> PathsFrom(std::size_t first) const;
  std::vector<std::string> Lines() const;

 private:
  std::string m_file;
  std::vector<PlacedFault> m_faults;
};

// Receives the pieces of a job in the order of the file.
class JobUnitSink {
 public:
  virtual ~JobUnitSink() = default;
  // An element of domain `domain`'s long list `member` ("records", "texts", ...).
  virtual void Item(std::size_t domain, const std::string& member, JobUnit& item) = 0;
  // The other members of domain `domain` once it has ended; each long list stands in it as an
  // empty array.
  virtual void Domain(std::size_t domain, JobUnit& head) = 0;
  // The job's own members at its end, "domains" as an empty array.
  virtual void Job(JobUnit& job) = 0;
};

// The members of a domain whose elements are handed over one by one.
bool IsLongList(const std::string& member);

// A job file, or standard input ("-"), which is kept in a temporary file so that the job can be
// read twice: once to check it, once to generate it.
class JobSource {
 public:
  // A failure when the job cannot be opened or is a directory.
  explicit JobSource(const std::string& name);
  // A job given as its text (a program's job, not a file): kept in a temporary file that goes
  // with the source; `name` stands for it in messages.
  JobSource(const std::string& name, std::string_view text);
  // The name in messages: the file as given, "<stdin>" for standard input.
  const std::string& Name() const { return m_name; }
  // Reads the job from its start and hands its pieces to `sink`. A syntax error, a value nested
  // too deeply or a job that is not an object is a fault that ends the reading; a member given
  // twice is a fault and reading goes on. Stops when `faults` is full.
  void Read(JobUnitSink& sink, JobFaults& faults);
  // While reading, tells `bar` (when not null) how far into the job the reading is, as the
  // progress of `label`.
  void ShowProgress(ProgressBar* bar, std::string label);

 private:
  std::string m_name;
  ProgressBar* m_bar = nullptr;
  std::string m_label;
  std::optional<InputFile> m_input;  // standard input, kept in the scratch space
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> m_file;
};

}  // namespace morvit::tool

#endif  // MORVIT_TOOL_JOBREADER_H
