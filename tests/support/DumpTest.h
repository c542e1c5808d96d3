// Fixture of the dump tests: a scratch directory for the files listed and their listings, the
// listing switches and the carried target-code version put back to their load-time values.
#ifndef MORVIT_TESTS_SUPPORT_DUMPTEST_H
#define MORVIT_TESTS_SUPPORT_DUMPTEST_H

#include <gtest/gtest.h>

#include <string>

#include "dump/DumpDriverState.h"
#include "dump/ListingSwitches.h"
#include "io/ListingHead.h"
#include "support/DumpFiles.h"
#include "support/TestUtil.h"

namespace testutil {

// The head that every listing of the dump driver starts with.
inline std::string DriverHead(const std::string& dataSetName) {
  return "\nDump Domain Program\n\n" + std::string(kDataSetLabel) + dataSetName + "\n\n";
}

class DumpTest : public ::testing::Test {
 protected:
  void SetUp() override { Reset(); }
  void TearDown() override { Reset(); }

  static void Reset() {
    GetListingSwitches() = ListingSwitches{};
    GetDumpDriverState().targetCodeVersion = kInitialTargetCodeVersion;
  }
  static void SetSwitches(bool lineNumbers, bool suppressTimes) {
    GetListingSwitches().lineNumbers = lineNumbers;
    GetListingSwitches().suppressTimes = suppressTimes;
  }

  // The scratch directory, ending in '/'.
  std::string Dir() const { return dir.path().string() + "/"; }
  void Write(const std::string& name, const Bytes& bytes) const {
    WriteWholeFile(dir.File(name), bytes);
  }
  std::string Text(const std::string& name) const {
    const Bytes bytes = ReadWholeFile(dir.File(name));
    return std::string(bytes.begin(), bytes.end());
  }
  // Writes `bytes` as `name`, runs the driver on it and gives its listing.
  std::string Dump(const std::string& name, const Bytes& bytes);

  ScratchDir dir;
};

}  // namespace testutil

#endif  // MORVIT_TESTS_SUPPORT_DUMPTEST_H
