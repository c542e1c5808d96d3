// Header records: the bytes each one writes, reading them back, the listing lines with their
// labels, and reading from a file that ends too early.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "files/VCommonHeader.h"
#include "files/VCompressHeader.h"
#include "files/VDecoderHeader.h"
#include "files/VStructureHeader.h"
#include "fixtures/TestUtil.h"

namespace morvit {

namespace {

using Bytes = std::vector<std::uint8_t>;

class HeaderRecordTest : public ::testing::Test {
 protected:
  CString Path() const { return dir.File("HEAD.C01"); }

  // Writes the record into a fresh file (data or listing) and returns what the file holds.
  Bytes WriteToFile(VHeaderRecord& record, int listing) {
    VDomainFile file;
    file.OpenCreateDomain(Path());
    file.GetParcel() = parcel;
    VMotorolaIO::Reset();
    record.Write(file, listing);
    file.Close();
    return testutil::ReadWholeFile(Path());
  }

  std::string ListingOf(VHeaderRecord& record) {
    const Bytes bytes = WriteToFile(record, 1);
    return std::string(bytes.begin(), bytes.end());
  }

  // Reads the record from a file holding `bytes`; the file's parcel is returned through `read`.
  void ReadFromFile(VHeaderRecord& record, const Bytes& bytes, ObjParcelType* read = nullptr) {
    testutil::WriteWholeFile(Path(), bytes);
    VDomainFile file;
    file.OpenDomain(Path());
    record.Read(file);
    if (read != nullptr) *read = file.GetParcel();
  }

  testutil::ScratchDir dir;
  ObjParcelType parcel{};
};

// Type 17, scope 2, version 0x4142, 5-03-14 10:20:30.400, major 3, minor 7.
ObjParcelType SampleParcel() {
  ObjParcelType parcel{};
  parcel.domainType = 17;
  parcel.scope = 2;
  parcel.version = 0x4142;
  const std::uint16_t stamp[7] = {5, 3, 14, 10, 20, 30, 400};
  std::copy(std::begin(stamp), std::end(stamp), parcel.timeStamp);
  parcel.majorVersion = 3;
  parcel.minorVersion = 7;
  return parcel;
}

TEST_F(HeaderRecordTest, CommonHeaderWritesFromTheParcelAndReadsBackIntoIt) {
  parcel = SampleParcel();
  VCommonHeader header;
  header.m_wDomainLength = 14 + 24;
  const Bytes expected = {
      0x00, 0x25,  // OffsetToLastByte 37
      0x11, 0x02,  // type 17, scope 2
      0x41, 0x42,  // version
      0x0A, 0x6E,  // date: year offset 5 (2005), month 3, day 14
      0x02, 0x6C,  // time: 10 * 60 + 20 minutes
      0x76, 0xC0,  // milliseconds: 30 * 1000 + 400
      0x03, 0x07,  // major, minor
  };
  EXPECT_EQ(WriteToFile(header, 0), expected);
  EXPECT_EQ(header.GetSize(), expected.size());

  VCommonHeader back;
  ObjParcelType read{};
  ReadFromFile(back, expected, &read);
  EXPECT_EQ(back.m_wDomainLength, 38);
  EXPECT_EQ(read.domainType, 17);
  EXPECT_EQ(read.scope, 2);
  EXPECT_EQ(read.version, 0x4142);
  const std::uint16_t stamp[7] = {5, 3, 14, 10, 20, 30, 400};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(read.timeStamp[i], stamp[i]) << "field " << i;
  EXPECT_EQ(read.majorVersion, 3);
  EXPECT_EQ(read.minorVersion, 7);
}

TEST_F(HeaderRecordTest, CommonHeaderListingIsTheHeadAndSevenLines) {
  parcel = SampleParcel();
  VCommonHeader header;
  header.m_wDomainLength = 38;
  const std::string expected =
      "\n\nDump Domain Program \n\nDataSet Specification: HEAD.C01\n\n"
      "Index       Word         Bytes      Char\n"
      "(Byte)    Hex     Dec    Dec Dec\n"
      "    0:       25      37   0  37  .%  OffsetToLastByte\n"
      "    2:     1102    4354  17   2  ..  Type/Scope\n"
      "    4:     4142   16706  65  66  AB  Version\n"
      "    6:      a6e    2670  10 110  .n  Date\n"
      "    8:      26c     620   2 108  .l  Time\n"
      "   10:     76c0   30400 118 192  v.  MilliSec\n"
      "   12:      307     775   3   7  ..  Major/Minor\n";
  EXPECT_EQ(ListingOf(header), expected);
  EXPECT_EQ(VMotorolaIO::m_lByteOffset, 14);
}

// The records whose fields live in the record itself: each row fills one, states the bytes
// it must write and the listing it must give, and checks what reading the bytes gives back.
struct RecordCase {
  const char* name;
  std::function<std::unique_ptr<VHeaderRecord>()> make;
  Bytes bytes;
  std::string listing;
  std::function<void(VHeaderRecord&)> checkRead;
};

std::vector<RecordCase> RecordCases() {
  return {
      {"compress header",
       [] {
         auto h = std::make_unique<VCompressHeader>();
         h->m_wOwnDomainNumber = 1;
         h->SetNumberOfDomains(3);
         h->m_wCompressVersion = VCompressHeader::kImplode;
         h->m_wLengthCompressBlock = 300;
         return h;
       },
       {0x00, 0x01, 0x00, 0x02, 0x00, 0x02, 0x01, 0x2C, 0xFF, 0xFF},
       "    0:        1       1   0   1  ..  OwnDomainNumber\n"
       "    2:        2       2   0   2  ..  NumberOfDomains-1\n"
       "    4:        2       2   0   2  ..  CompressVersion\n"
       "    6:      12c     300   1  44  .,  LengthCompressBlock\n"
       "    8:     ffff   65535 255 255  ..  Spare\n",
       [](VHeaderRecord& r) {
         auto& h = static_cast<VCompressHeader&>(r);
         EXPECT_EQ(h.m_wOwnDomainNumber, 1);
         EXPECT_EQ(h.m_wNumberOfDomainsMinus1, 2);
         EXPECT_EQ(h.m_wCompressVersion, 2);
         EXPECT_EQ(h.m_wLengthCompressBlock, 300);
       }},
      {"structure header",
       [] {
         auto h = std::make_unique<VStructureHeader>();
         h->m_cMajorVersion = 1;
         h->m_cMinorVersion = 0;
         h->m_lOffsetToBlock1 = 20;
         h->m_lOffsetToBlock2 = -1;
         h->m_lOffsetToExtension = 0x00010002;
         return h;
       },
       {0x01, 0x00, 0x00, 0x00, 0x00, 0x14, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x01, 0x00,
        0x02, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
       "    0:      100     256   1   0  ..  Major/Minor StructureVersion\n"
       "    2:        0       0   0   0  ..  OffsetToBlock1\n"
       "    4:       14      20   0  20  ..  OffsetToBlock1\n"
       "    6:     ffff   65535 255 255  ..  OffsetToBlock2\n"
       "    8:     ffff   65535 255 255  ..  OffsetToBlock2\n"
       "   10:        1       1   0   1  ..  OffsetToExtension\n"
       "   12:        2       2   0   2  ..  OffsetToExtension\n"
       "   14:     ffff   65535 255 255  ..  Spare\n"
       "   16:     ffff   65535 255 255  ..  Spare\n"
       "   18:     ffff   65535 255 255  ..  Spare\n"
       "   20:     ffff   65535 255 255  ..  Spare\n"
       "   22:     ffff   65535 255 255  ..  Spare\n"
       "   24:     ffff   65535 255 255  ..  Spare\n",
       [](VHeaderRecord& r) {
         auto& h = static_cast<VStructureHeader&>(r);
         EXPECT_EQ(h.m_cMajorVersion, 1);
         EXPECT_EQ(h.m_cMinorVersion, 0);
         EXPECT_EQ(h.m_lOffsetToBlock1, 20);
         EXPECT_EQ(h.m_lOffsetToBlock2, -1);
         EXPECT_EQ(h.m_lOffsetToExtension, 0x00010002);
       }},
      {"decoder header",
       [] {
         auto h = std::make_unique<VDecoderHeader>();
         h->m_wOffsetToDecoderTable = 0x30;
         h->m_wOffsetToDescription = 0x4142;
         h->m_wVersion = 0x0507;  // not written: the header always carries 1 and 0
         h->m_wG1 = 1;
         h->m_wG2 = 0x7A7A;
         h->m_wG3 = 0xFFFF;
         return h;
       },
       {0x00, 0x30, 0x41, 0x42, 0x01, 0x00, 0x00, 0x01, 0x7A, 0x7A, 0xFF, 0xFF},
       "    0:       30      48   0  48  .0  OffsetToDecoderTable\n"
       "    2:     4142   16706  65  66  AB  OffsetToDescription\n"
       "    4:      100     256   1   0  ..  Decoder Major/Minor Vers\n"
       "    6:        1       1   0   1  ..  G1\n"
       "    8:     7a7a   31354 122 122  zz  G2\n"
       "   10:     ffff   65535 255 255  ..  G3\n",
       [](VHeaderRecord& r) {
         auto& h = static_cast<VDecoderHeader&>(r);
         EXPECT_EQ(h.m_wOffsetToDecoderTable, 0x30);
         EXPECT_EQ(h.m_wOffsetToDescription, 0x4142);
         EXPECT_EQ(h.m_wVersion, 0x0100);
         EXPECT_EQ(h.m_wG1, 1);
         EXPECT_EQ(h.m_wG2, 0x7A7A);
         EXPECT_EQ(h.m_wG3, 0xFFFF);
       }},
  };
}

TEST_F(HeaderRecordTest, RecordsWriteTheirBytesAndReadThemBack) {
  for (const RecordCase& c : RecordCases()) {
    auto record = c.make();
    EXPECT_EQ(WriteToFile(*record, 0), c.bytes) << c.name;
    EXPECT_EQ(record->GetSize(), c.bytes.size()) << c.name;
    auto fresh = c.make();
    Bytes followed = c.bytes;
    followed.push_back(0x5A);  // reading stops at the record's end
    ReadFromFile(*fresh, followed);
    SCOPED_TRACE(c.name);
    c.checkRead(*fresh);
  }
}

TEST_F(HeaderRecordTest, RecordsListEveryFieldWithItsLabel) {
  for (const RecordCase& c : RecordCases()) {
    auto record = c.make();
    EXPECT_EQ(ListingOf(*record), c.listing) << c.name;
  }
}

TEST_F(HeaderRecordTest, HeaderFromAShortFileRaisesEndOfFile) {
  std::vector<std::pair<std::string, std::function<std::unique_ptr<VHeaderRecord>()>>> makers;
  makers.emplace_back("common header", [] { return std::make_unique<VCommonHeader>(); });
  for (const RecordCase& c : RecordCases()) makers.emplace_back(c.name, c.make);
  for (const auto& [name, make] : makers) {
    auto record = make();
    const std::size_t size = record->GetSize();
    for (std::size_t length : {std::size_t{0}, std::size_t{1}, size - 1}) {
      SCOPED_TRACE(name + " from " + std::to_string(length) + " bytes");
      EXPECT_CAUSE(ReadFromFile(*record, Bytes(length, 0x11)), CFileException::endOfFile);
    }
  }
}

}  // namespace

}  // namespace morvit
