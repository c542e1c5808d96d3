// Node files in the fake host's directory kinds.
#include "support/NodeFiles.h"

#include <filesystem>

namespace testutil {

std::string PutNodeFile(HostServices& host, int kind, const std::string& name, const Bytes& bytes) {
  const std::string directory = host.Directory(kind);
  std::filesystem::create_directories(directory);
  WriteWholeFile(directory + name, bytes);
  return directory + name;
}

Bytes TextBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

}  // namespace testutil
