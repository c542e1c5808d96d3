// Each section-based type finished without any record: one domain file whose body is its empty
// sections' markers, read back through the class the type table gives, handing nothing over.
#include <gtest/gtest.h>

#include <filesystem>

#include "domains/VDomain.h"
#include "fixtures/DomainBuilders.h"
#include "interface/DomainTable.h"

namespace morvit {

using namespace testutil;

namespace {

using EmptyDomainTest = DomainTypeTest;

TEST_F(EmptyDomainTest, OnlyTheSectionMarkersAreWritten) {
  const Bytes elementSection = {0x10, 0x90, 0x00, 0x04, 0x10, 0x94, 0x00, 0x04};
  Bytes bothSections = elementSection;
  for (std::uint8_t b : {0x10, 0xA0, 0x00, 0x04, 0x10, 0xA4, 0x00, 0x04}) bothSections.push_back(b);
  const struct {
    std::uint16_t type;
    Bytes body;
  } rows[] = {{3, elementSection}, {46, bothSections}, {78, bothSections}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.type);
    const Generation g = GenerateThroughC(row.type, {});
    ASSERT_EQ(g.finishStatus, VBASE_STATUS_OK);
    ASSERT_EQ(g.parcels.size(), 1u);

    RecordingDatabase database;
    const auto domain = CreateDomainForType(row.type);
    domain->OpenDomain(TestParcel(row.type), &database, 0);
    domain->ReadDomain();
    EXPECT_EQ(domain->Backtranslate(), 1);
    EXPECT_TRUE(database.inserted.empty());
    EXPECT_TRUE(host.sent.empty());

    // The working file: "OffsetToLastByte" covers the 50 header bytes and the markers.
    const Bytes file = OnlyFile('X');
    ASSERT_EQ(file.size(), 50 + row.body.size());
    EXPECT_EQ(file[0] << 8 | file[1], static_cast<int>(file.size() - 1));
    EXPECT_EQ(Bytes(file.begin() + 50, file.end()), row.body);
    for (const auto& f : FilesWithExtensionLetter(host.DataDirectory(), 'X')) {
      std::filesystem::remove(f);
    }
  }
}

}  // namespace

}  // namespace morvit
