// Restores damaged node domains and their file lists into a scratch project directory and
// checks that nothing was written outside it: any input must end in restored files or a file
// exception, and no path a damaged domain names may lead out of the scratch tree.
//
// Input: a flags byte (bit 0: RNOD instead of CNOD; bit 1: node mode), a 16-bit length n, n
// bytes of the node domain file, the rest the file list's domain file.
#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>

#include "FuzzParcels.h"
#include "domains/VRnodDomain.h"
#include "support/DataSetNames.h"
#include "support/DefaultHost.h"

using namespace morvit;

namespace fs = std::filesystem;

namespace {

// outer/a/b/root holds the data directory and the project directory; outer holds nothing else,
// so a path that climbs out of root shows up in outer (or, climbing further, is caught by the
// check of every listed path).
struct ScratchTree {
  fs::path outer, root, data, project;
};

void RemoveScratchTree();

const ScratchTree& Scratch() {
  static const ScratchTree* tree = [] {
    std::string pattern = (fs::temp_directory_path() / "morvit-node-fuzz-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) abort();
    auto* t = new ScratchTree;
    t->outer = pattern;
    t->root = t->outer / "a" / "b" / "root";
    t->data = t->root / "data";
    t->project = t->root / "project";
    GetDefaultHost().SetDataDirectory(t->data.string());
    GetDefaultHost().SetProjectDirectory(t->project.string());
    std::atexit(RemoveScratchTree);
    return t;
  }();
  return *tree;
}

void RemoveScratchTree() {
  std::error_code ignored;
  fs::remove_all(Scratch().outer, ignored);
}

void WriteFile(const fs::path& path, const std::uint8_t* data, std::size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

// An empty path (a damaged list may name one) names no file, so it is inside.
bool Inside(const fs::path& path, const fs::path& root) {
  std::error_code empty;
  const fs::path normal = fs::absolute(path, empty).lexically_normal();
  if (empty) return true;
  const auto [end, unused] = std::mismatch(root.begin(), root.end(), normal.begin(), normal.end());
  return end == root.end();
}

// Nothing in outer but the way down to root.
bool OnlyTheScratchTree() {
  const ScratchTree& t = Scratch();
  for (const auto& entry : fs::recursive_directory_iterator(t.outer)) {
    if (!Inside(entry.path(), t.root) && !Inside(t.root, entry.path())) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  const ScratchTree& t = Scratch();
  const bool rnod = (data[0] & 1) != 0;
  const int nodeMode = (data[0] & 2) != 0 ? 1 : 0;
  const std::size_t nodeSize = std::min<std::size_t>(data[1] * 256u + data[2], size - 3);
  std::error_code ignored;
  fs::remove_all(t.root, ignored);
  fs::create_directories(t.data);
  fs::create_directories(t.project);
  // Bare names are recreated in the current directory, which the node runs' lookup of the
  // newest domain makes the data directory.
  fs::current_path(t.data);
  const std::uint16_t type = rnod ? 44 : 1;
  WriteFile(t.data / MakeDataSetName(fuzzing::DomainParcel(type)), data + 3, nodeSize);
  WriteFile(t.data / MakeDataSetName(fuzzing::DomainParcel(rnod ? 120 : 119)), data + 3 + nodeSize,
            size - 3 - nodeSize);

  std::unique_ptr<VCnodDomain> node;
  if (rnod) {
    node = std::make_unique<VRnodDomain>(nodeMode);
  } else {
    node = std::make_unique<VCnodDomain>(nodeMode);
  }
  // Every listed path outside the tree, with its modification time if it exists already.
  std::vector<std::pair<fs::path, fs::file_time_type>> outside;
  try {
    node->OpenDomain(fuzzing::DomainParcel(type), nullptr, 0);
    node->ReadDomain();
    for (const CString& path : node->GetFileList()->GetFileList()) {
      if (Inside(path, t.root)) continue;
      outside.emplace_back(path, fs::last_write_time(path, ignored));
    }
    node->Backtranslate();
    node->WriteDomain(1);
  } catch (const CFileException&) {
    // Damaged domains and refused names end here.
  }
  for (const auto& [path, before] : outside) {
    if (fs::last_write_time(path, ignored) != before) abort();
  }
  if (!OnlyTheScratchTree()) abort();
  return 0;
}
