// The configuration writers: every domain they write reads back through its class and, written
// again, gives the same bytes; content that does not fit is refused before a file is made.
#include "morvit/VConfigWriters.h"

#include <filesystem>
#include <functional>

#include "domains/VBxDDomain.h"
#include "domains/VCbXDomain.h"
#include "domains/VCodaDomain.h"
#include "domains/VCoioDomain.h"
#include "fixtures/ConfigDataSet.h"
#include "fixtures/DomainBuilders.h"
#include "fixtures/DomainFiles.h"

namespace morvit {

using namespace testutil;

namespace {

class ConfigWritersTest : public DomainTypeTest {
 protected:
  std::vector<Bytes> Files(std::uint16_t type, std::size_t count) {
    std::vector<Bytes> files;
    for (std::uint16_t scope = 0; scope < count; ++scope)
      files.push_back(ReadWholeFile(DomainFilePath(host, ConfigParcel(type), scope)));
    return files;
  }
};

// Reads the domain written for `type` and writes it again over the same files.
template <typename D>
std::size_t Rewrite(std::uint16_t type) {
  D domain;
  domain.OpenDomain(ConfigParcel(type), nullptr, kOpenForReading);
  domain.ReadDomain();
  ObjParcelType parcel = domain.GetFile().GetParcel();
  parcel.scope = 0;
  domain.GetFile().Close();
  return GenerateDomain(domain, parcel).size();
}

TEST_F(ConfigWritersTest, WrittenDomainsReadBackAndWriteAgainUnchanged) {
  VCodaContent noOptionsNoDat = SampleCoda();
  noOptionsNoDat.options.clear();
  noOptionsNoDat.hasDat = false;
  struct Row {
    const char* name;
    std::uint16_t type;
    std::function<std::vector<ObjParcelType>()> write;
    std::function<std::size_t(std::uint16_t)> rewrite;
  };
  const Row rows[] = {
      {"COIO", 26, [] { return VWriteCoio(ConfigParcel(26), SampleCoio()); }, Rewrite<VCoioDomain>},
      {"CODA", 17, [] { return VWriteCoda(ConfigParcel(17), SampleCoda()); }, Rewrite<VCodaDomain>},
      {"CODA without options and DAT", 17,
       [&] { return VWriteCoda(ConfigParcel(17), noOptionsNoDat); }, Rewrite<VCodaDomain>},
      {"BxD", 101, [] { return VWriteBxd(ConfigParcel(101), SampleBxd()); }, Rewrite<VBxDDomain>},
      {"empty BxD", 96, [] { return VWriteBxd(ConfigParcel(96), {}); }, Rewrite<VBxDDomain>},
      {"CbD over three files", 114, [] { return VWriteCbx(ConfigParcel(114), SampleCbd(9000)); },
       Rewrite<VCbDDomain>},
      {"CbP", 115, [] { return VWriteCbx(ConfigParcel(115), SampleCbp()); }, Rewrite<VCbPDomain>},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const std::size_t parts = row.write().size();
    const std::vector<Bytes> written = Files(row.type, parts);
    EXPECT_EQ(row.rewrite(row.type), parts);
    EXPECT_EQ(Files(row.type, parts), written);
  }
}

TEST_F(ConfigWritersTest, CodaLayoutOfOptionsAndBlocks) {
  VCodaContent coda = SampleCoda();
  coda.hasDat = false;
  coda.options.resize(1);
  VWriteCoda(ConfigParcel(17), coda);
  const Bytes file = OnlyFile('C');
  const std::size_t body = 14;
  EXPECT_EQ(WordAt(file, body + 36), 0xFFFF);  // no DAT
  EXPECT_EQ(WordAt(file, body + 96), 0);       // one option
  EXPECT_EQ(std::string(file.begin() + body + 98, file.begin() + body + 101), "MVB");
  // The PARDAT block follows the ninth section where "Offset to PARDAT" says.
  const std::uint16_t parDatAt = WordAt(file, body + 38);
  EXPECT_EQ(Bytes(file.begin() + body + parDatAt, file.begin() + body + parDatAt + 7),
            (Bytes{0x10, 0x5C, 0, 7, 9, 8, 7}));

  coda.options.clear();
  VWriteCoda(ConfigParcel(17), coda);
  EXPECT_EQ(WordAt(OnlyFile('C'), body + 96), 0xFFFF);  // no option
}

TEST_F(ConfigWritersTest, ContentThatDoesNotFitIsRefusedBeforeAFileIsMade) {
  VCodaContent longName = SampleCoda();
  longName.nodeName = std::string(21, 'N');
  VCodaContent longOption = SampleCoda();
  longOption.options[0].version = std::string(17, 'V');
  VCoioContent hugeElement;
  hugeElement.hardwareInit = Elements(864, 1, 65532);
  VCoioContent tooLong;
  tooLong.hardwareInit = Elements(864, 3, 30000);
  VBxdContent sameSlot = SampleBxd();
  sameSlot.programs[1].slot = sameSlot.programs[0].slot;
  VBxdContent badSlot = SampleBxd();
  badSlot.programs[0].slot = 16;
  const std::function<void()> refused[] = {
      [&] { VWriteCoda(ConfigParcel(17), longName); },
      [&] { VWriteCoda(ConfigParcel(17), longOption); },
      [&] { VWriteCoio(ConfigParcel(26), hugeElement); },
      [&] { VWriteCoio(ConfigParcel(26), tooLong); },
      [&] { VWriteBxd(ConfigParcel(98), sameSlot); },
      [&] { VWriteBxd(ConfigParcel(98), badSlot); },
      [&] { VWriteBxd(ConfigParcel(104), SampleBxd()); },
      [&] { VWriteCbx(ConfigParcel(116), {}); },
  };
  for (std::size_t i = 0; i < std::size(refused); ++i) {
    EXPECT_THROW(refused[i](), std::invalid_argument) << i;
  }
  EXPECT_TRUE(DataFileNames(host).empty());
}

}  // namespace

}  // namespace morvit
