// The CODA domain: the percentages of its hand-over, cancel and a damaged block size.
#include "domains/VCodaDomain.h"

#include "fixtures/ConfigDataSet.h"
#include "fixtures/DomainBuilders.h"
#include "fixtures/DomainFiles.h"
#include "fixtures/LoggingDatabase.h"

namespace morvit {

using namespace testutil;

namespace {

constexpr std::uint16_t kCoda = 17;

class CodaTest : public DomainTypeTest {};

VCodaContent ThreeElements() {
  VCodaContent coda;
  coda.coloInit = Elements(0x204, 2, 4);  // never handed over, not counted
  coda.coleInit = Elements(0x3AC, 1, 2);
  coda.evsCalc = Elements(0x1020, 1, 2);
  coda.copmInit = Elements(0x1044, 1, 2);
  coda.hasParDat = true;  // handed over without progress
  coda.parDat = {1};
  coda.coloLength = 7;
  coda.copmLength = 9;
  return coda;
}

TEST_F(CodaTest, PercentagesCountSectionElementsPlusOne) {
  VWriteCoda(ConfigParcel(kCoda), ThreeElements());
  LoggingDatabase database;
  EXPECT_EQ(ReadBack<VCodaDomain>(kCoda, &database)->Backtranslate(), 1);
  EXPECT_EQ(Progress(), (std::vector<int>{25, 50, 75}));
  EXPECT_EQ(database.calls,
            (std::vector<std::string>{"Insert 936 940 2", "Insert 4124 4128 2",
                                      "Insert 4188 4188 1", "Insert 4160 4164 2",
                                      "SetObjectId 17 0 1", "SetColoCopmLength 7 9"}));
}

TEST_F(CodaTest, CancelStopsBeforeTheObjectIdAndNoDatabaseSendsNothing) {
  VWriteCoda(ConfigParcel(kCoda), ThreeElements());
  host.CancelAtQuery(2);
  LoggingDatabase database;
  EXPECT_EQ(ReadBack<VCodaDomain>(kCoda, &database)->Backtranslate(), 0);
  // Steps are reported after their element: the second query cancels after two elements.
  EXPECT_EQ(database.calls, (std::vector<std::string>{"Insert 936 940 2", "Insert 4124 4128 2"}));

  host.sent.clear();
  EXPECT_EQ(ReadBack<VCodaDomain>(kCoda, nullptr)->Backtranslate(), 1);
  EXPECT_TRUE(host.sent.empty());
}

// A block size below its own 4 head bytes would wrap to a copy of almost 64 KiB: with that much
// file behind it, the copy would succeed and hand the database garbage.
TEST_F(CodaTest, BlockSizeBelowFourIsEndOfFile) {
  VCodaContent coda;
  coda.hasDat = true;
  coda.dat = {1, 2};
  VWriteCoda(ConfigParcel(kCoda), coda);
  const std::string path = DomainFilePath(host, ConfigParcel(kCoda), 0);
  const Bytes written = ReadWholeFile(path);
  const std::size_t sizeAt = 14 + WordAt(written, 14 + 36) + 2;
  ASSERT_EQ(WordAt(written, sizeAt), 6);
  for (std::uint8_t size : {0, 1, 3}) {
    Bytes damaged = written;
    damaged[sizeAt + 1] = size;
    damaged.resize(70000, 0xAA);
    WriteWholeFile(path, damaged);
    VCodaDomain reader;
    reader.OpenDomain(ConfigParcel(kCoda), nullptr, kOpenForReading);
    EXPECT_CAUSE(reader.ReadDomain(), CFileException::endOfFile);
  }
}

}  // namespace

}  // namespace morvit
