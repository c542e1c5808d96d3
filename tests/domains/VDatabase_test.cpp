// The library's own database interface: every operation with a result answers "go on" except
// the three that answer 0, GetPCProgNo leaves its output alone, and a client's override is
// what the library reaches through the base class.
#include "morvit/VDatabase.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace morvit {

namespace {

TEST(DatabaseDefaults, ResultsLetABacktranslationRunOn) {
  VDatabase database;
  const struct {
    const char* name;
    std::function<int()> call;
    int expected;
  } rows[] = {
      {"GetMaxTask", [&] { return int{database.GetMaxTask()}; }, 64},
      {"RestoreTypeCircuits", [&] { return int{database.RestoreTypeCircuits()}; }, 1},
      {"InsertTCTermsInPOLODomains", [&] { return database.InsertTCTermsInPOLODomains(); }, 1},
      {"RestoreDBElemsMMI", [&] { return database.RestoreDBElemsMMI(); }, 1},
      {"CompleteRIOs", [&] { return database.CompleteRIOs(); }, 1},
      {"GenerateBoteDomain", [&] { return database.GenerateBoteDomain(); }, 1},
      {"PCTCRestored", [&] { return database.PCTCRestored(); }, 0},
      {"IsAdditionalInfo", [&] { return database.IsAdditionalInfo(1); }, 0},
  };
  for (const auto& row : rows) EXPECT_EQ(row.call(), row.expected) << row.name;
}

TEST(DatabaseDefaults, GetPCProgNoLeavesItsOutputUnchanged) {
  VDatabase database;
  unsigned short number = 0xBEEF;
  EXPECT_EQ(database.GetPCProgNo(&number), 0);
  EXPECT_EQ(number, 0xBEEF);
}

// A client overrides what it needs; the library calls through the base class.
class CountingDatabase : public VDatabase {
 public:
  void Insert(std::uint16_t code, VElement*) override { codes.push_back(code); }
  std::uint8_t GetPCProgNo(unsigned short* number) override {
    *number = 7;
    return 1;
  }
  std::vector<std::uint16_t> codes;
};

TEST(DatabaseDefaults, ClientOverridesAreReachedThroughTheBase) {
  CountingDatabase client;
  VDatabase& library = client;
  library.Insert(5, nullptr);
  library.Insert(6, nullptr);
  unsigned short number = 0;
  EXPECT_EQ(library.GetPCProgNo(&number), 1);
  EXPECT_EQ(number, 7);
  EXPECT_EQ(client.codes, (std::vector<std::uint16_t>{5, 6}));
  EXPECT_EQ(library.GetMaxTask(), 64) << "what the client leaves alone keeps its default";
}

}  // namespace

}  // namespace morvit
