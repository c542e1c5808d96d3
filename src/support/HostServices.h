// The host-services seam as the library's own code names it: the public interface, under the
// name the internal folders use.
#ifndef MORVIT_SUPPORT_HOSTSERVICES_H
#define MORVIT_SUPPORT_HOSTSERVICES_H

#include "morvit/VHostServices.h"

namespace morvit {

using HostServices = VHostServices;

// Sends the cancel query (message 1064): whether the host answered "cancel". Every cancel query
// of the library goes through here, so that a run can tell a cancel from a database's 0.
bool AskCancel();
// How many cancel queries were answered "cancel" so far in this process.
unsigned CancelsAnswered();

}  // namespace morvit

#endif  // MORVIT_SUPPORT_HOSTSERVICES_H
