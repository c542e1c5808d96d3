// The run's report.
#include "cli/Report.h"

#include <filesystem>

#include "cli/ToolPlatform.h"

namespace morvit::tool {
namespace {

// Empty texts are null in the report: "not given", not "given as nothing".
nlohmann::ordered_json TextOrNull(const std::string& text) {
  return text.empty() ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(text);
}

// The file's size on disk: the parcel keeps it only modulo 65536.
std::uintmax_t FileSize(const std::string& path, const ObjParcelType& parcel) {
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  return error ? parcel.length : size;
}

}  // namespace

void Report::AddFile(const std::string& path, const std::string& domain,
                     const ObjParcelType& parcel) {
  m_files.push_back({{"path", path},
                     {"name", Utf8(std::filesystem::path(path).filename())},
                     {"domain", domain},
                     {"type", parcel.domainType},
                     {"scope", parcel.scope},
                     {"version", parcel.version},
                     {"object", parcel.objectNumber},
                     {"length", parcel.length},
                     {"bytes", FileSize(path, parcel)}});
}

void Report::AddListing(const std::string& file, const std::string& listing) {
  m_listings.push_back({{"file", file}, {"listing", TextOrNull(listing)}});
}

void Report::AddFinding(const Finding& finding) {
  m_findings.push_back({{"severity", finding.severity},
                        {"file", TextOrNull(finding.file)},
                        {"place", TextOrNull(finding.place)},
                        {"message", finding.message}});
}

nlohmann::ordered_json Report::ToJson(const std::string& command, int exitStatus,
                                      const std::string& error) const {
  return {{"command", command}, {"exitStatus", exitStatus}, {"error", TextOrNull(error)},
          {"files", m_files},   {"listings", m_listings},   {"findings", m_findings}};
}

}  // namespace morvit::tool
