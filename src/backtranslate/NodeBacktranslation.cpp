// The node runs: CNOD, then RNOD, each created, opened, read and used within its step; file
// failures become the runs' results.
#include "backtranslate/NodeBacktranslation.h"

#include <memory>

#include "backtranslate/RunEvents.h"
#include "domains/VCnodDomain.h"
#include "domains/VRnodDomain.h"
#include "morvit/VDomainPath.h"
#include "support/DomainTypes.h"

namespace morvit {

namespace {

constexpr std::uint16_t kCnodType = DomainTypeOf("CN");
constexpr std::uint16_t kRnodType = DomainTypeOf("RN");

// The newest version of the node domain of `type`, any object number.
ObjParcelType NodeParcel(std::uint16_t type) {
  ObjParcelType parcel{};
  VDomainPath().GenParcel(type, 0, VBASE_ANY_WORD, parcel);
  return parcel;
}

// Whether the domain of `parcel` has a file at all.
bool DomainExists(const ObjParcelType& parcel) {
  try {
    VDomainPath().FindFile(parcel);
    return true;
  } catch (const CFileException& e) {
    if (e.m_cause == CFileException::fileNotFound) return false;
    throw;
  }
}

template <typename Node>
std::unique_ptr<Node> OpenAndRead(RunEvents& events, std::uint16_t type, int nodeMode,
                                  bool withFileList) {
  auto node = std::make_unique<Node>(nodeMode);
  node->SetFileListEnabled(withFileList ? 1 : 0);
  events.OpenForReading(*node, NodeParcel(type), nullptr);
  node->ReadDomain();
  return node;
}

}  // namespace

int BacktranslateNode(CString& nodeName, int option) {
  nodeName = kDefaultNodeName;
  RunEvents events;
  try {
    // No CNOD is no node: nothing to restore, and the default name stands. One that exists
    // but cannot be read or restored is a failure, never taken for a missing node.
    if (!DomainExists(NodeParcel(kCnodType))) return 1;
    auto cnod = OpenAndRead<VCnodDomain>(events, kCnodType, option, true);
    events.HandOver(*cnod);
    cnod->GetName(nodeName);
  } catch (const CFileException& e) {
    return events.StoppedByFile(e);
  }
  try {
    events.HandOver(*OpenAndRead<VRnodDomain>(events, kRnodType, option, true));
  } catch (const CFileException& e) {
    return events.StoppedByFile(e);
  }
  return 1;
}

int CheckNodeLibraries() {
  RunEvents events;
  try {
    if (OpenAndRead<VCnodDomain>(events, kCnodType, 0, false)->CheckLibraryVersions() == 0)
      return 0;
  } catch (const CFileException&) {
    return 0;
  }
  // A missing or damaged RNOD leaves the CNOD's result; one whose storage fails is no check
  // passed.
  try {
    return OpenAndRead<VRnodDomain>(events, kRnodType, 0, false)->CheckLibraryVersions();
  } catch (const CFileException& e) {
    return IsStorageFailure(e) ? 0 : 1;
  }
}

}  // namespace morvit
