// The process-wide host-services state: the default services and the installed ones.
#include "support/HostServices.h"

#include "support/DefaultHost.h"

namespace {

// Every process-wide piece of the host seam, in one place; unguarded, for one caller at a time.
struct HostServicesState {
  DefaultHost defaultHost;
  HostServices* installed = nullptr;  // null: the default serves
};

HostServicesState g_hostServices;

}  // namespace

DefaultHost& GetDefaultHost() { return g_hostServices.defaultHost; }

HostServices& Host() {
  return g_hostServices.installed ? *g_hostServices.installed : g_hostServices.defaultHost;
}

HostServices* SetHost(HostServices* host) {
  HostServices* previous = g_hostServices.installed;
  g_hostServices.installed = host;
  return previous;
}
