// The manager's last failure: every failed generation step leaves its specific reason (the
// step, the check that refused it or the file and the system's reason), the status codes stay
// as they were, and a step that succeeds clears it.
#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <string>

#include "fixtures/DomainBuilders.h"
#include "fixtures/FakeHost.h"
#include "morvit/VBase.h"
#include "morvit/VManager.h"
#include "platform/FileFaults.h"

namespace morvit {

namespace {

constexpr std::uint16_t kNoba = 3;

struct LastFailureCase {
  const char* name;
  std::function<void(ObjParcelType&)> parcel;  // changes to the NOBA's parcel
  filefaults::Fault fault;                     // armed for the whole generation (nth 0: none)
  std::int16_t startStatus;
  std::int16_t finishStatus;
  std::string failure;  // the manager's text after the last step that ran
};

TEST(LastFailure, EveryFailedStepNamesItsReason) {
  const auto same = [](ObjParcelType&) {};
  const filefaults::Fault none;
  filefaults::Fault diskFull;
  diskFull.calls = filefaults::kWrite;
  diskFull.nth = 1;
  diskFull.error = ENOSPC;
  diskFull.persistent = true;
  filefaults::Fault refused;
  refused.calls = filefaults::kOpen;
  refused.nth = 1;
  refused.error = EACCES;
  const LastFailureCase cases[] = {
      {"a parcel that cannot be named", [](ObjParcelType& p) { p.objectNumber = 150; }, none, -706,
       1,
       "start of a domain of type 3: bad path (a name that does not fit, or a directory that is "
       "missing): the object number 150 does not fit a data-set name (at most 99)"},
      {"a version that cannot be named", [](ObjParcelType& p) { p.version = 10000; }, none, -706, 1,
       "the version 10000 does not fit a data-set name (at most 9999)"},
      {"a full disk", same, diskFull, 1, -706, "finish of a domain of type 3: "},
      {"a directory that refuses the file", same, refused, -706, 1,
       "start of a domain of type 3: "},
      {"success leaves no reason", same, none, 1, 1, ""},
  };
  for (const LastFailureCase& c : cases) {
    SCOPED_TRACE(c.name);
    testutil::FakeHost host;
    testutil::ScopedHost installed(host);
    ObjParcelType parcel = testutil::TestParcel(kNoba);
    c.parcel(parcel);
    VManager* manager = VBase_CreateManager();
    if (c.fault.nth != 0) filefaults::Arm(c.fault);
    EXPECT_EQ(VBase_PutStart(manager, kNoba, parcel), c.startStatus);
    if (c.startStatus == 1) {
      TSectionInfo text = testutil::NobaText("hello", 5);
      EXPECT_EQ(VBase_Insert(manager, kNoba, &text), 1);
      ObjParcelType written[4];
      std::uint16_t count = 0;
      EXPECT_EQ(VBase_PutFinishEx(manager, kNoba, &count, 3, written), c.finishStatus);
    }
    filefaults::Disarm();
    const std::string failure = VBase_GetLastFailure(manager);
    if (c.failure.empty()) {
      EXPECT_EQ(failure, "");
    } else {
      EXPECT_NE(failure.find(c.failure), std::string::npos) << failure;
    }
    // The user's file and the system's reason, never a staging name.
    if (c.fault.error == ENOSPC) {
      EXPECT_NE(failure.find("NB000001.C01: the disk is full"), std::string::npos) << failure;
    }
    if (c.fault.error == EACCES) {
      EXPECT_NE(failure.find("access denied"), std::string::npos) << failure;
    }
    EXPECT_EQ(failure.find('~'), std::string::npos) << failure;
    VBase_DeleteManager(&manager);
  }
}

TEST(LastFailure, NextStepClearsItAndNullManagerSaysSo) {
  testutil::FakeHost host;
  testutil::ScopedHost installed(host);
  VManager* manager = VBase_CreateManager();
  ObjParcelType bad = testutil::TestParcel(kNoba);
  bad.scope = 100;
  EXPECT_EQ(VBase_PutStart(manager, kNoba, bad), -706);
  EXPECT_NE(std::string(VBase_GetLastFailure(manager)).find("the scope 100"), std::string::npos);
  EXPECT_EQ(manager->GetLastFailure(), VBase_GetLastFailure(manager));
  EXPECT_EQ(VBase_PutStart(manager, kNoba, testutil::TestParcel(kNoba)), 1);
  EXPECT_STREQ(VBase_GetLastFailure(manager), "");
  EXPECT_EQ(VBase_Insert(manager, kNoba, nullptr), -706);
  EXPECT_STREQ(VBase_GetLastFailure(manager),
               "insert into a domain of type 3: no section record given");
  VBase_DeleteManager(&manager);
  EXPECT_STREQ(VBase_GetLastFailure(nullptr), "no domain manager (a null manager was given)");
}

}  // namespace

}  // namespace morvit
