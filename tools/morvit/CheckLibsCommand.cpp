// `morvit check-libs`: whether the library files named in the node's domains match the
// versions in the object database. The library prints every mismatch as a message.
#include "Commands.h"
#include "Failure.h"
#include "Session.h"
#include "morvit/VManager.h"

namespace morvit::tool {
namespace {

int CheckLibs(const Directories& directories) {
  UseDirectories(directories);
  VManager manager(nullptr);
  if (manager.LibsODBSuitLibsTarget() == 0) {
    throw Failure(
        "the node's library files do not match the object database, or a node domain cannot be "
        "read");
  }
  Session::Current().Out() << "the node's library files match the object database\n";
  return kExitSuccess;
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
