// What a run did, for scripts: the report that `--json FILE` (or `-` for standard output)
// writes when the run ends, whether it succeeded or not. Commands feed it as they go: the
// files they wrote with their parcels, the listings, and findings. One JSON object:
//
//   {"command": "generate", "exitStatus": 0, "error": null,
//    "files":    [{"path", "name", "domain", "type", "scope", "version", "object", "length",
//                  "bytes"}],       (length: the parcel's; bytes: the file's size on disk)
//    "listings": [{"file", "listing"}],          (listing null: printed on standard output)
//    "findings": [{"severity", "file", "place", "message"}]}
//
// Every member is always there (empty lists included), so that scripts need no tests for
// absence. A file a command could not handle is a finding of severity "error".
#ifndef MORVIT_TOOL_REPORT_H
#define MORVIT_TOOL_REPORT_H

#include <nlohmann/json.hpp>
#include <string>

#include "morvit/VBase.h"

namespace morvit::tool {

struct Finding {
  std::string severity;  // "error", "warning" or "note"
  std::string file;      // the file it is about, or empty
  std::string place;     // where in the file (a JSON path, an offset ...), or empty
  std::string message;
};

class Report {
 public:
  // A domain file written, with its parcel; `path` as the command names it.
  void AddFile(const std::string& path, const std::string& domain, const ObjParcelType& parcel);
  // A listing made of `file`: written to `listing`, or printed when `listing` is empty.
  void AddListing(const std::string& file, const std::string& listing);
  void AddFinding(const Finding& finding);

  // The whole report of a run of `command` that ended with `exitStatus` (and `error`, the
  // message of a failed run, else empty).
  nlohmann::ordered_json ToJson(const std::string& command, int exitStatus,
                                const std::string& error) const;

 private:
  nlohmann::ordered_json m_files = nlohmann::ordered_json::array();
  nlohmann::ordered_json m_listings = nlohmann::ordered_json::array();
  nlohmann::ordered_json m_findings = nlohmann::ordered_json::array();
};

}  // namespace morvit::tool

#endif  // MORVIT_TOOL_REPORT_H
