// Test helpers for node domains: files laid out in the fake host's directory kinds, and node
// domains opened for reading the way the node runs open them.
#ifndef MORVIT_TESTS_SUPPORT_NODEFILES_H
#define MORVIT_TESTS_SUPPORT_NODEFILES_H

#include <memory>
#include <string>

#include "domains/VCnodDomain.h"
#include "support/DomainBuilders.h"

namespace testutil {

// Writes `bytes` to `name` in the directory of `kind`, creating the directory; returns the path.
std::string PutNodeFile(HostServices& host, int kind, const std::string& name, const Bytes& bytes);
Bytes TextBytes(const std::string& text);

// The test parcel's node domain of class D (`type` 1 or 44) opened for reading and read.
template <typename D>
std::unique_ptr<D> ReadNode(std::uint16_t type, int nodeMode, bool withFileList = true) {
  auto node = std::make_unique<D>(nodeMode);
  node->SetFileListEnabled(withFileList ? 1 : 0);
  node->OpenDomain(TestParcel(type), nullptr, kOpenForReading);
  node->ReadDomain();
  return node;
}

}  // namespace testutil

#endif  // MORVIT_TESTS_SUPPORT_NODEFILES_H
