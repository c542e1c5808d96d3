// The BxD domains: programs by slot, the order of the hand-over with its percentages, the
// element word on section-B elements, and the manager's class for types 96 to 103.
#include "domains/VBxDDomain.h"

#include "fixtures/ConfigDataSet.h"
#include "fixtures/DomainBuilders.h"
#include "fixtures/LoggingDatabase.h"
#include "morvit/VElement.h"

namespace morvit {

using namespace testutil;

namespace {

// Logs the auxiliary word of every basic object too.
class AuxWordDatabase : public LoggingDatabase {
 public:
  void InsertBasicObject(std::uint16_t code, VElement* element) override {
    auxWords.push_back(element->GetAuxWord());
    LoggingDatabase::InsertBasicObject(code, element);
  }
  std::vector<std::uint16_t> auxWords;
};

class BxdTest : public DomainTypeTest {};

TEST_F(BxdTest, OneProgramHandsPrologThenSectionCThenSectionB) {
  VBxdContent bxd;
  bxd.elementWord = 0x4242;
  VBxdProgram program;
  program.slot = 5;
  program.slotValue = 1;
  program.prolog = Elements(600, 2, 2);
  program.sectionB = Elements(452, 1, 2);
  program.sectionC = Elements(664, 1, 2);
  bxd.programs = {program};
  VWriteBxd(ConfigParcel(99), bxd);

  AuxWordDatabase database;
  EXPECT_EQ(ReadBack<VBxDDomain>(99, &database)->Backtranslate(), 1);
  EXPECT_EQ(database.calls,
            (std::vector<std::string>{"FinishTask", "InsertBasicObject 604 600 2",
                                      "InsertBasicObject 604 600 2", "InsertBasicObject 660 664 2",
                                      "InsertBasicObject 448 452 2", "SetObjectId 99 0 1"}));
  EXPECT_EQ(database.auxWords, (std::vector<std::uint16_t>{0, 0, 0, 0x4242}));
  EXPECT_EQ(Progress(), (std::vector<int>{25, 50, 75, 100}));

  host.cancelQueries = 0;
  host.CancelAtQuery(3);
  LoggingDatabase cancelled;
  EXPECT_EQ(ReadBack<VBxDDomain>(99, &cancelled)->Backtranslate(), 0);
  EXPECT_EQ(cancelled.calls.back(), "InsertBasicObject 604 600 2");
}

TEST_F(BxdTest, FreeSlotsOnlyAndProgramsInSlotsZeroFiveNine) {
  VWriteBxd(ConfigParcel(100), {});
  LoggingDatabase empty;
  EXPECT_EQ(ReadBack<VBxDDomain>(100, &empty)->Backtranslate(), 1);
  EXPECT_EQ(empty.calls, (std::vector<std::string>{"SetObjectId 100 0 1"}));

  VWriteBxd(ConfigParcel(100), SampleBxd());
  auto bxd = ReadBack<VBxDDomain>(100, nullptr);
  ASSERT_EQ(bxd->GetProgramCount(), 3);
  // Blocks in slot order: the slot's number went into the first head word.
  for (std::uint16_t i = 0; i < 3; ++i) {
    VElement& head = bxd->GetProgram(i).head;
    EXPECT_EQ(GetField(head, VBxDDomain::kProgramHead, 0),
              (std::vector<std::uint32_t>{0, 5, 9})[i]);
  }
}

TEST_F(BxdTest, ManagerCreatesABxDWithEveryTypeThatReadsBackEmpty) {
  for (std::uint16_t type = 96; type <= 103; ++type) {
    const Generation g = GenerateThroughC(type, {Section(0)});
    EXPECT_EQ(g.finishStatus, VBASE_STATUS_OK);
    ASSERT_EQ(g.parcels.size(), 1u) << type;
    EXPECT_EQ(g.parcels[0].length, 14 + 36) << type;
    LoggingDatabase database;
    EXPECT_EQ(ReadBack<VBxDDomain>(type, &database)->Backtranslate(), 1);
    EXPECT_EQ(database.calls.size(), 1u) << type;  // SetObjectId alone
  }
  EXPECT_TRUE(GenerateThroughC(104, {}).parcels.empty());
}

}  // namespace

}  // namespace morvit
