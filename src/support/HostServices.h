// The host-services seam as the library's own code names it: the public interface, under the
// name the internal folders use.
#ifndef MORVIT_SUPPORT_HOSTSERVICES_H
#define MORVIT_SUPPORT_HOSTSERVICES_H

#include "morvit/VHostServices.h"

using HostServices = VHostServices;

#endif  // MORVIT_SUPPORT_HOSTSERVICES_H
