// Reading the object database's JSON store with nlohmann-json:
//   { "pcLibraries":       [ { "name": "...", "description": "...", "version": 7 }, ... ],
//     "databaseLibraries": [ ... ],
//     "targetOptions":     [ ... ] }
// A list left out is empty; "description" may be left out (empty); "version" is 0 to 2^32-1.
#include "support/ObjectDatabase.h"

#include <filesystem>
#include <fstream>
#include <limits>
#include <nlohmann/json.hpp>
#include <system_error>

namespace morvit {

namespace {

const char* ListKey(VLibraryList list) {
  switch (list) {
    case VLibraryList::kPcLibraries:
      return "pcLibraries";
    case VLibraryList::kDatabaseLibraries:
      return "databaseLibraries";
    case VLibraryList::kTargetOptions:
      return "targetOptions";
  }
  return "";
}

// One object of a list; json's own exceptions for missing or mistyped fields.
VLibraryObject ParseObject(const nlohmann::json& item, const CString& storePath) {
  VLibraryObject object;
  object.name = item.at("name").get<std::string>();
  object.description = item.value("description", std::string());
  const nlohmann::json& version = item.at("version");
  if (!version.is_number_unsigned() ||
      version.get<std::uint64_t>() > std::numeric_limits<std::uint32_t>::max()) {
    AfxThrowFileException(CFileException::invalidFile, -1, storePath);
  }
  object.version = version.get<std::uint32_t>();
  return object;
}

}  // namespace

std::vector<VLibraryObject> ReadLibraryObjects(const CString& storePath, VLibraryList list) {
  // The text is UTF-8; a path made from char8_t keeps it so on every host.
  const CString host = CFile::HostPath(storePath);
  const std::filesystem::path path(std::u8string(host.begin(), host.end()));
  std::error_code error;
  if (std::filesystem::status(path, error).type() == std::filesystem::file_type::not_found) {
    return {};
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) AfxThrowFileException(CFileException::accessDenied, -1, storePath);
  std::vector<VLibraryObject> objects;
  try {
    const nlohmann::json store = nlohmann::json::parse(in);
    if (!store.is_object()) AfxThrowFileException(CFileException::invalidFile, -1, storePath);
    const auto found = store.find(ListKey(list));
    if (found == store.end()) return {};
    for (const nlohmann::json& item : found->get_ref<const nlohmann::json::array_t&>()) {
      objects.push_back(ParseObject(item, storePath));
    }
  } catch (const nlohmann::json::exception&) {
    AfxThrowFileException(CFileException::invalidFile, -1, storePath);
  }
  return objects;
}

}  // namespace morvit
