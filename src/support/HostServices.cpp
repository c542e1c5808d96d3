// The process-wide host-services state (the default services and the installed ones), and
// the interface's own behaviour: every operation a client leaves alone is the default's.
#include "support/HostServices.h"

#include <string>

#include "support/DefaultHost.h"

using namespace morvit;

namespace morvit {
namespace {

// Every process-wide piece of the host seam, in one place; unguarded, for one caller at a time.
struct HostServicesState {
  DefaultHost defaultHost;
  HostServices* installed = nullptr;  // null: the default serves
  unsigned cancelsAnswered = 0;       // cancel queries answered "cancel", for the runs' reasons
};

HostServicesState g_hostServices;

// A message value as it reads in a message line.
CString MessageValueText(const VMessageValue& value) {
  if (const CString* text = std::get_if<CString>(&value)) return *text;
  return std::to_string(std::get<std::int64_t>(value));
}

}  // namespace
}  // namespace morvit

DefaultHost& morvit::GetDefaultHost() { return g_hostServices.defaultHost; }

HostServices& Host() {
  return g_hostServices.installed ? *g_hostServices.installed : g_hostServices.defaultHost;
}

HostServices* SetHost(HostServices* host) {
  HostServices* previous = g_hostServices.installed;
  g_hostServices.installed = host;
  return previous;
}

bool morvit::AskCancel() {
  if (Host().SendMessageToUI(kMessageCancelQuery, 0, CString()) == 0) return false;
  ++g_hostServices.cancelsAnswered;
  return true;
}

void RereadHostSettings() { g_hostServices.defaultHost.ForgetSettings(); }

unsigned morvit::CancelsAnswered() { return g_hostServices.cancelsAnswered; }

VHostServices::~VHostServices() = default;

void VHostServices::DomainBegun(const CString&, std::uint16_t) {}
void VHostServices::DomainEnded(const CString&, std::uint16_t) {}
void VHostServices::DomainSkipped(const CString&, std::uint16_t, int, long) {}
void VHostServices::RunStopped(const VRunStop&) {}

CString VHostServices::DataSetDirectory(const ObjParcelType& parcel) {
  return GetDefaultHost().DataSetDirectory(parcel);
}

CString VHostServices::DataSetName(const ObjParcelType& parcel) {
  return GetDefaultHost().DataSetName(parcel);
}

int VHostServices::SendMessageToUI(int number, int value, const CString& text) {
  return GetDefaultHost().SendMessageToUI(number, value, text);
}

void VHostServices::PumpMessages() { GetDefaultHost().PumpMessages(); }

CString VHostServices::GetText(int number) { return GetDefaultHost().GetText(number); }

void VHostServices::ShowMessage(int number, const CString& text) {
  GetDefaultHost().ShowMessage(number, text);
}

void VHostServices::WriteMessage(int number, const std::vector<VMessageValue>& values) {
  CString text;
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i != 0) text += ", ";
    text += MessageValueText(values[i]);
  }
  ShowMessage(number, text);
}

CString VHostServices::Directory(int kind) { return GetDefaultHost().Directory(kind); }

std::vector<VLibraryObject> VHostServices::LibraryObjects(VLibraryList list) {
  return GetDefaultHost().LibraryObjects(list);
}
