// The host-services seam: everything the library needs of the engineering tool's support
// libraries (data-set naming, the user-interface channel, texts, messages, directories, the
// object database) behind one interface. A process-wide default serves the exported
// functions; tests and clients install their own.
#ifndef MORVIT_SUPPORT_HOSTSERVICES_H
#define MORVIT_SUPPORT_HOSTSERVICES_H

#include "morvit/VBase.h"
#include "morvit/platform.h"

// Message numbers of the user-interface channel.
inline constexpr int kMessageProgress = 1065;     // integer: percentage; text: domain file name
inline constexpr int kMessageCancelQuery = 1064;  // non-zero answer: the user cancelled

class HostServices {
 public:
  virtual ~HostServices() = default;

  // Controller types library: the directory that holds the parcel's domain files, ending in a
  // path separator, and the parcel's 12-character 8.3 data-set name with wildcards in the
  // places of open fields. Both receive a parcel whose byte 3 is 'M'.
  virtual CString DataSetDirectory(const ObjParcelType& parcel) = 0;
  virtual CString DataSetName(const ObjParcelType& parcel) = 0;

  // User-interface channel: send a numbered message with an integer and a text; run the
  // message pump once.
  virtual int SendMessageToUI(int number, int value, const CString& text) = 0;
  virtual void PumpMessages() = 0;

  // Text service: the text with the given number.
  virtual CString GetText(int number) = 0;

  // Message library: a numbered message to the user, with an inserted text.
  virtual void ShowMessage(int number, const CString& text) = 0;
};

// The services in force: the installed ones, or the process-wide default.
HostServices& Host();

// Installs `host` (not owned) for every later call; null restores the default. Returns the
// host installed before (null: the default), so that installations can nest.
HostServices* SetHost(HostServices* host);

#endif  // MORVIT_SUPPORT_HOSTSERVICES_H
