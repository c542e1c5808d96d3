// `morvit check-libs`: whether the library files named in the node's domains match the
// versions in the object database. The library reports each mismatch as a message, which the
// tool prints with the node's and the database's values labelled. It runs on a private view of
// the data set.
#include <iostream>

#include "cli/Commands.h"
#include "cli/Failure.h"
#include "cli/ScopedHost.h"
#include "cli/Session.h"
#include "cli/ToolPlatform.h"
#include "dataset/PrivateView.h"
#include "morvit/VDataSet.h"
#include "morvit/VDomainPath.h"
#include "morvit/VHostServices.h"
#include "morvit/VManager.h"

namespace morvit::tool {
namespace {

// Labels the values of each mismatch message and notes a damaged object database.
class CheckLibsHost : public ScopedHost {
 public:
  // Message 2455: the node file's name, text and version, the object's description and version.
  void WriteMessage(int number, const std::vector<VMessageValue>& values) override {
    if (number != kMessageLibraryMismatch || values.size() < 5) {
      VHostServices::WriteMessage(number, values);
      return;
    }
    ++mismatches;
    const auto text = [&](std::size_t i) {
      if (const auto* s = std::get_if<CString>(&values[i])) return *s;
      return std::to_string(std::get<std::int64_t>(values[i]));
    };
    const std::string description = text(3);
    Session::Current().Out() << "mismatch: " << text(0) << " (" << text(1) << "): node version "
                             << text(2) << ", object database version " << text(4)
                             << (description.empty() ? "" : " (" + description + ")") << "\n";
  }

  std::vector<VLibraryObject> LibraryObjects(VLibraryList list) override {
    try {
      return VHostServices::LibraryObjects(list);
    } catch (const CFileException& e) {
      damagedDatabase = DescribeFileException(e);
      throw;
    }
  }

  int mismatches = 0;
  std::string damagedDatabase;
};

bool HasNode() {
  ObjParcelType parcel{};
  VDomainPath().GenParcel(VFindDomainTypeByCode("CN")->number, 0, VBASE_ANY_WORD, parcel);
  try {
    VDomainPath().FindFile(parcel);
    return true;
  } catch (const CFileException& e) {
    if (e.m_cause == CFileException::fileNotFound) return false;
    throw;
  }
}

int CheckLibs(const Directories& directories) {
  const std::string data = DataDirectory(directories);
  PrivateView view(PathFromUtf8(data));
  UseDirectories({Utf8(view.Data()), directories.project.empty() ? data : directories.project});
  if (!HasNode()) throw Failure(data + ": the data set has no node (no CNOD domain)");
  CheckLibsHost host;
  VManager manager(nullptr);
  if (manager.LibsODBSuitLibsTarget() != 0) {
    Session::Current().Out() << "the node's library files match the object database\n";
    return kExitSuccess;
  }
  if (!host.damagedDatabase.empty()) {
    throw Failure("the object database cannot be read: " + host.damagedDatabase);
  }
  if (host.mismatches != 0) {
    throw Failure(std::to_string(host.mismatches) +
                  " of the node's library files do not match the object database");
  }
  throw Failure("a node domain of " + data + " cannot be read (morvit check names the damage)");
}

}  // namespace

CommandAction AddCheckLibsCommand(CLI::App& app) {
  auto options = std::make_shared<Directories>();
  CLI::App* command = app.add_subcommand(
      "check-libs", "Checks the node's library files against the object database");
  AddDirectoryOptions(*command, *options);
  return [options] { return CheckLibs(*options); };
}

}  // namespace morvit::tool
