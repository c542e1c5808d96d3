// The BOBA domains generated through the C interface: one element per object in the order the
// objects came, terminal values appended to their object, records without an object dropped,
// the domain length covering a string's pad byte, and the hand-over with the code 0xFFFF.
#include "domains/VBobaDomain.h"

#include <filesystem>

#include "fixtures/DomainBuilders.h"

namespace morvit {

using namespace testutil;

namespace {

using BobaTest = DomainTypeTest;

std::uint16_t WordAt(const Bytes& bytes, std::size_t offset) {
  return static_cast<std::uint16_t>(bytes.at(offset) << 8 | bytes.at(offset + 1));
}

TEST_F(BobaTest, ObjectsAndTheirTerminalValuesGoOverInOrder) {
  for (const std::uint16_t type : {116, 117, 118}) {
    SCOPED_TRACE(type);
    const Generation g = GenerateThroughC(
        type, {BobaTerminal(2, std::int16_t{9}),  // before its object: dropped
               BobaObject(2, 20, 21, 22), BobaObject(1, 10, 11, 12),
               BobaObject(2, 90, 91, 92),  // a second element for object 2: ignored
               BobaTerminal(1, std::int16_t{-2}), BobaTerminal(2, "ABC"), Section(5)});
    ASSERT_EQ(g.finishStatus, VBASE_STATUS_OK);
    RecordingDatabase database;
    EXPECT_EQ(ReadBack<VBobaDomain>(type, &database)->Backtranslate(), 1);
    ASSERT_EQ(database.inserted.size(), 2u);
    for (const auto& element : database.inserted) {
      EXPECT_EQ(element.code, 0xFFFF);
      EXPECT_EQ(element.elementCode, type);
    }
    EXPECT_EQ(database.inserted[0].bytes,
              (Bytes{0, 2, 0, 20, 0, 21, 0, 22, 0, 4, 0, 3, 'A', 'B', 'C', 0}));
    EXPECT_EQ(database.inserted[1].bytes, (Bytes{0, 1, 0, 10, 0, 11, 0, 12, 0, 1, 0xFF, 0xFE}));
    // The expanded domain's length covers every byte, the string's pad byte included.
    const Bytes expanded = OnlyFile('X');
    EXPECT_EQ(WordAt(expanded, 0) + 1u, expanded.size());
    EXPECT_EQ(expanded.size(), 50u + 4 + (4 + 16) + (4 + 12) + 4);
    for (const auto& name : FilesWithExtensionLetter(host.DataDirectory(), 'X'))
      std::filesystem::remove(name);
    for (const auto& name : FilesWithExtensionLetter(host.DataDirectory(), 'C'))
      std::filesystem::remove(name);
  }
}

TEST_F(BobaTest, EmptyDomainHoldsOnlyItsMarkers) {
  ASSERT_EQ(GenerateThroughC(117, {}).finishStatus, VBASE_STATUS_OK);
  RecordingDatabase database;
  EXPECT_EQ(ReadBack<VBobaDomain>(117, &database)->Backtranslate(), 1);
  EXPECT_TRUE(database.inserted.empty());
  const Bytes expanded = OnlyFile('X');
  EXPECT_EQ(Bytes(expanded.begin() + 50, expanded.end()),
            (Bytes{0x10, 0x90, 0, 4, 0x10, 0x94, 0, 4}));
  EXPECT_EQ(WordAt(expanded, 0), 57);
  EXPECT_EQ(host.sent.size(), 0u);
}

}  // namespace

}  // namespace morvit
