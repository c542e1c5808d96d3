// The decoder-table domains: the decoder table and description layout as bytes, name order,
// the CbP offset shifts, descriptions spread over continuation files, and damaged files and
// records refused without reading or writing past a record field.
#include "domains/VCbXDomain.h"

#include <array>
#include <cstring>
#include <filesystem>

#include "fixtures/ConfigDataSet.h"
#include "fixtures/DomainBuilders.h"
#include "fixtures/DomainFiles.h"
#include "fixtures/LoggingDatabase.h"
#include "morvit/VConfigWriters.h"
#include "morvit/VDecoderTypes.h"

namespace morvit {

using namespace testutil;

namespace {

constexpr std::uint16_t kCbd = 114;
constexpr std::uint16_t kCbp = 115;

// Keeps every description handed to Update.
class UpdateRecorder : public VDatabase {
 public:
  void Update(char* text, TCbxElement element) override {
    texts.emplace_back(text);
    elements.push_back(element);
  }
  std::vector<std::string> texts;
  std::vector<TCbxElement> elements;
};

TSectionInfo ElementRecord(const TCbxElement& element) {
  TSectionInfo record = Section(0);
  std::memcpy(reinterpret_cast<std::uint8_t*>(&record) + 8, &element, sizeof element);
  return record;
}

TSectionInfo ShiftRecord(std::uint16_t first, std::uint16_t second) {
  TSectionInfo record = Section(2);
  Put(record, 8, first);
  Put(record, 10, second);
  return record;
}

class CbxTest : public DomainTypeTest {
 protected:
  Bytes File(std::uint16_t type, std::uint16_t scope = 0) {
    return ReadWholeFile(DomainFilePath(host, ConfigParcel(type), scope));
  }
  void Store(std::uint16_t type, const Bytes& bytes) {
    WriteWholeFile(DomainFilePath(host, ConfigParcel(type), 0), bytes);
  }
};

TEST_F(CbxTest, EmptyDomainsCarryTheirDecoderTableAndNoDescription) {
  struct Row {
    std::uint16_t type;
    std::uint16_t tableSize;
    std::uint16_t firstType;
    std::uint16_t firstEntrySize;
  };
  for (const Row row : {Row{kCbd, 932, 1, 498}, Row{kCbp, 1472, 8, 936}}) {
    VWriteCbx(ConfigParcel(row.type), {});
    const Bytes file = File(row.type);
    ASSERT_EQ(file.size(), 1024u * ((62u + row.tableSize + 1023) / 1024));
    EXPECT_EQ(WordAt(file, 0), 62 + row.tableSize - 1);
    EXPECT_EQ(Bytes(file.begin() + 14, file.begin() + 20), (Bytes{0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Bytes(file.begin() + 24, file.begin() + 30), (Bytes{1, 0, 0, 0, 0, 50}));
    EXPECT_EQ(Bytes(file.begin() + 50, file.begin() + 62),
              (Bytes{0, 62, 0xFF, 0xFF, 1, 0, 0, 1, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(WordAt(file, 62), row.firstType);
    EXPECT_EQ(WordAt(file, 64), row.firstEntrySize);

    LoggingDatabase database;
    auto cbx = ReadBack<VCbDDomain>(row.type, &database);
    EXPECT_EQ(cbx->GetElementCount(), 0u);
  }
}

TEST_F(CbxTest, DescriptionCarriesTheFieldsOfItsAddressTypes) {
  // DAT(II): two enumeration texts (address type 0), then the COLO byte offset (type 1).
  const Generation g = GenerateThroughC(kCbd, {ElementRecord(CbxElement(2, "AB1", "ON", "X", 5))});
  ASSERT_EQ(g.finishStatus, VBASE_STATUS_OK);
  const Bytes file = File(kCbd);
  EXPECT_EQ(WordAt(file, 52), 994);  // "OffsetToDescription"
  EXPECT_EQ(WordAt(file, 0), 994 + 18 - 1);
  const Bytes description = {0, 18,  0,   3, 0, 3, 'A', 'B', '1', 0,  // size, type, name
                             2, 'O', 'N', 0,                          // first text, padded
                             1, 'X',                                  // second text
                             0, 5};                                   // COLO byte offset
  EXPECT_EQ(Bytes(file.begin() + 994, file.begin() + 994 + 18), description);
  // The entry of DAT(II) in the decoder table: its first address type, then that type's first
  // terminal.
  const std::size_t entry = 62 + 498 + 64;
  EXPECT_EQ(Bytes(file.begin() + entry, file.begin() + entry + 6), (Bytes{0, 3, 0, 110, 0, 1}));
  EXPECT_EQ(Bytes(file.begin() + entry + 32, file.begin() + entry + 48),
            (Bytes{0, 1, 0xFF, 0xFF, 0x00, 0, 8, 2, 0xFF, 0xFF, 'S', 'C', 'A', '_', 'F', 'T'}));
}

// What the public lookup says an element type holds is what the domain keeps of a description
// with every field filled: a client checks its descriptions against it.
TEST_F(CbxTest, TheFieldsLookupAgreesWithWhatTheDomainKeeps) {
  for (std::int32_t t = 0; t < 16; ++t) {
    SCOPED_TRACE(t);
    const std::uint16_t type = t < 7 ? kCbd : kCbp;
    TCbxElement full = CbxElement(t, "FULL", "E1", "E2", 11);
    const std::array<std::uint16_t*, 8> offsets = {
        &full.byteOffsetCOLO, &full.bitOffsetCOLO, &full.byteOffsetCOLE, &full.bitOffsetCOLE,
        &full.byteOffsetCOPM, &full.bitOffsetCOPM, &full.byteOffsetCODA, &full.bitOffsetCODA};
    for (std::uint16_t* offset : offsets) *offset = 7;
    ASSERT_EQ(GenerateThroughC(type, {ElementRecord(full)}).finishStatus, VBASE_STATUS_OK);
    UpdateRecorder kept;
    if (type == kCbd) {
      ASSERT_EQ(ReadBack<VCbDDomain>(type, &kept)->Backtranslate(), 1);
    } else {
      ASSERT_EQ(ReadBack<VCbPDomain>(type, &kept)->Backtranslate(), 1);
    }
    ASSERT_EQ(kept.elements.size(), 1u);
    morvit::VCbxElementFields fields{};
    ASSERT_TRUE(morvit::CbxElementFields(t, &fields));
    EXPECT_EQ(kept.texts[0], fields.typeName);
    const TCbxElement& element = kept.elements[0];
    EXPECT_EQ(std::string(element.enumText[0]) == "E1", fields.enumTexts >= 1);
    EXPECT_EQ(std::string(element.enumText[1]) == "E2", fields.enumTexts >= 2);
    const std::array<std::uint16_t, 8> read = {element.byteOffsetCOLO, element.bitOffsetCOLO,
                                               element.byteOffsetCOLE, element.bitOffsetCOLE,
                                               element.byteOffsetCOPM, element.bitOffsetCOPM,
                                               element.byteOffsetCODA, element.bitOffsetCODA};
    for (std::size_t area = 0; area < 4; ++area) {
      EXPECT_EQ(read[2 * area] == 7, fields.offsets[area] >= 1) << "area " << area;
      EXPECT_EQ(read[2 * area + 1] == 7, fields.offsets[area] == 2) << "area " << area;
    }
  }
}

TEST_F(CbxTest, NamesInByteOrderEqualNamesKeptAndCodaShiftsByType) {
  const TCbxElement pardatI = CbxElement(10, "ITEM2", "", "", 10);
  const TCbxElement pardatB = CbxElement(7, "ITEM10", "", "", 10);
  const TCbxElement pardatNI = CbxElement(11, "ITEM3", "", "", 10);
  ASSERT_EQ(GenerateThroughC(kCbp, {ElementRecord(pardatI), ElementRecord(pardatB),
                                    ElementRecord(pardatNI), ShiftRecord(100, 200)})
                .finishStatus,
            VBASE_STATUS_OK);
  // Equal names are all kept, in the order they came.
  ASSERT_EQ(GenerateThroughC(kCbd, {ElementRecord(CbxElement(1, "D")), ShiftRecord(100, 200),
                                    ElementRecord(CbxElement(0, "D"))})
                .finishStatus,
            VBASE_STATUS_OK);

  UpdateRecorder cbp;
  EXPECT_EQ(ReadBack<VCbPDomain>(kCbp, &cbp)->Backtranslate(), 1);
  EXPECT_EQ(cbp.texts, (std::vector<std::string>{"PARDAT(B)", "PARDAT(I)", "PARDAT(NI)"}));
  ASSERT_EQ(cbp.elements.size(), 3u);
  EXPECT_STREQ(cbp.elements[0].name, "ITEM10");
  EXPECT_EQ(cbp.elements[0].byteOffsetCODA, 210);
  EXPECT_EQ(cbp.elements[1].byteOffsetCODA, 110);

  // A CbD takes the shift record neither as a description nor as damage.
  UpdateRecorder cbd;
  EXPECT_EQ(ReadBack<VCbDDomain>(kCbd, &cbd)->Backtranslate(), 1);
  EXPECT_EQ(cbd.texts, (std::vector<std::string>{"DAT(I)", "DAT(B)"}));
}

TEST_F(CbxTest, ContinuationFilesHoldWholeDescriptionsAndReportProgressPerFile) {
  const std::vector<ObjParcelType> parcels = VWriteCbx(ConfigParcel(kCbd), SampleCbd(9000));
  ASSERT_EQ(parcels.size(), 3u);
  for (std::uint16_t scope = 0; scope < 3; ++scope) {
    const Bytes file = File(kCbd, scope);
    EXPECT_EQ(parcels[scope].scope, scope);
    EXPECT_LE(WordAt(file, 0) + 1u, 65501u);
    EXPECT_EQ(WordAt(file, 14), scope);  // "OwnDomainNumber"
    EXPECT_EQ(WordAt(file, 16), 2);      // "NumberOfDomains-1"
  }
  LoggingDatabase database;
  auto cbd = ReadBack<VCbDDomain>(kCbd, &database);
  EXPECT_EQ(cbd->GetElementCount(), 9000u);

  // Progress restarts with each file, by the position in that file.
  LoggingDatabase updates;
  auto again = std::make_unique<VCbDDomain>();
  again->OpenDomain(ConfigParcel(kCbd), &updates, 0);
  EXPECT_EQ(again->Backtranslate(), 1);
  std::vector<CString> texts;
  int restarts = 0;
  int previous = 0;
  for (const auto& m : host.sent) {
    if (m.number != kMessageProgress) continue;
    if (m.value < previous) ++restarts;
    previous = m.value;
    if (texts.empty() || texts.back() != m.text) texts.push_back(m.text);
  }
  EXPECT_EQ(restarts, 2);
  EXPECT_EQ(texts, (std::vector<CString>{"AD000001.C01", "AD010001.C01", "AD020001.C01"}));
  EXPECT_EQ(updates.calls.size(), 9000u);
}

TEST_F(CbxTest, DamagedDescriptionsAreEndOfFileNeverAnOverflow) {
  struct Damage {
    const char* name;
    std::size_t offset;
    Bytes bytes;
    int cause;
    std::size_t handedBefore = 0;  // descriptions handed over before the damage shows
  };
  const std::size_t d = 994;  // the first description
  const Damage damages[] = {
      {"name longer than its field", d + 4, {0, 21}, CFileException::endOfFile},
      {"name length far beyond the record", d + 4, {0xFF, 0xFF}, CFileException::endOfFile},
      {"element type 0", d + 2, {0, 0}, CFileException::endOfFile},
      {"a PARDAT type in a CbD", d + 2, {0, 8}, CFileException::endOfFile},
      {"element type 0xFFFF", d + 2, {0xFF, 0xFF}, CFileException::endOfFile},
      {"text longer than its field", d + 10, {21}, CFileException::endOfFile},
      {"description offset past the end", 52, {0xFF, 0x00}, CFileException::endOfFile},
      {"continuation file missing", 16, {0, 1}, CFileException::fileNotFound, 1},
  };
  for (const Damage& damage : damages) {
    SCOPED_TRACE(damage.name);
    VWriteCbx(ConfigParcel(kCbd), {{CbxElement(2, "AB1", "ON", "X", 5)}, {}});
    Bytes file = File(kCbd);
    std::copy(damage.bytes.begin(), damage.bytes.end(),
              file.begin() + static_cast<long>(damage.offset));
    Store(kCbd, file);
    LoggingDatabase database;
    VCbDDomain reader;
    reader.OpenDomain(ConfigParcel(kCbd), nullptr, 0);
    EXPECT_CAUSE(reader.ReadDomain(), damage.cause);
    VCbDDomain translator;
    translator.OpenDomain(ConfigParcel(kCbd), &database, 0);
    EXPECT_CAUSE(translator.Backtranslate(), damage.cause);
    EXPECT_EQ(database.calls.size(), damage.handedBefore);
  }
}

TEST_F(CbxTest, RecordsThatWouldCorruptTheDomainAreRefused) {
  TCbxElement longName = CbxElement(0, "N");
  longName.nameLength = 21;
  TCbxElement unterminated = CbxElement(2, "N");
  std::memset(unterminated.enumText[1], 'x', sizeof unterminated.enumText[1]);
  const Generation g = GenerateThroughC(
      kCbd, {ElementRecord(longName), ElementRecord(CbxElement(7, "PARDAT")),
             ElementRecord(unterminated), ElementRecord(CbxElement(1, "GOOD")), Section(5)});
  EXPECT_EQ(g.insertStatus, (std::vector<std::int16_t>{-706, -706, -706, 1, 1}));
  UpdateRecorder database;
  ReadBack<VCbDDomain>(kCbd, &database)->Backtranslate();
  EXPECT_EQ(database.texts, (std::vector<std::string>{"DAT(I)"}));
  EXPECT_THROW(VWriteCbx(ConfigParcel(kCbd), {{longName}, {}}), std::invalid_argument);
}

}  // namespace

}  // namespace morvit
