// The writers of the PC program domains: the exact bytes of a task, the resource header's
// layout, the two program layouts, content that is refused, and every domain read back and
// written again byte for byte, or refused with end of file when its file is cut anywhere.
#include "morvit/VProgramWriters.h"

#include <filesystem>
#include <functional>
#include <memory>

#include "domains/VPodeDomain.h"
#include "domains/VRedeDomain.h"
#include "domains/VTadeDomain.h"
#include "fixtures/DomainBuilders.h"
#include "fixtures/DomainFiles.h"
#include "fixtures/ProgramContents.h"

namespace morvit {

using namespace testutil;

namespace {

using ProgramWriterTest = DomainTypeTest;

// The file as written, without the padding.
Bytes WrittenBytes(const Bytes& file) { return {file.begin(), file.begin() + WordAt(file, 0) + 1}; }

TEST_F(ProgramWriterTest, TaskFileIsHeaderAndTwelveWords) {
  const auto parcels = VWriteTade(TestParcel(49), SampleTask());
  ASSERT_EQ(parcels.size(), 1u);
  EXPECT_EQ(parcels[0].length, 38) << "the length before padding";
  const Bytes file = OnlyFile('C');
  EXPECT_EQ(DataFileNames(host), std::vector<std::string>{"TD000001.C01"});
  EXPECT_EQ(WordAt(file, 0), 37) << "OffsetToLastByte";
  EXPECT_EQ(file[2], 49);
  const Bytes body(file.begin() + 14, file.begin() + 38);
  EXPECT_EQ(body,
            (Bytes{0, 1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 6, 0, 7, 0, 8, 0, 9, 0, 10, 0, 11, 0, 12}));
}

// Resource header fields at their offsets after the common header, then the section.
TEST_F(ProgramWriterTest, ResourceHeaderFieldsInTheirPlaces) {
  VWriteRede(TestParcel(33), SampleResource());
  const Bytes file = OnlyFile('C');
  const Bytes header(file.begin() + 14, file.begin() + 14 + 66);
  EXPECT_EQ(WordAt(header, 0), 0x0102);
  EXPECT_EQ(WordAt(header, 2), 0x0304);
  EXPECT_EQ(std::string(header.begin() + 4, header.begin() + 12), "RESOURCE");
  EXPECT_EQ(header[12], 0);
  EXPECT_EQ(Bytes(header.begin() + 24, header.begin() + 32),
            (Bytes{26, 12, 7, 22, 30, 15, 0x01, 0xF4}))
      << "the load date in its short form";
  EXPECT_EQ(WordAt(header, 32), 5);
  EXPECT_EQ(WordAt(header, 34), 1);
  EXPECT_EQ(std::string(header.begin() + 36, header.begin() + 42), "SECOND");
  EXPECT_EQ(Bytes(header.begin() + 56, header.end()), (Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
  const Bytes section(file.begin() + 80, file.begin() + 80 + 14);
  EXPECT_EQ(section, (Bytes{0x02, 0x18, 0, 4, 0x02, 0x1C, 0, 6, 0xAA, 0xBB, 0x02, 0x20, 0, 4}));
  EXPECT_EQ(WordAt(file, 0) + 1, 14 + 66 + 14);
}

// The section codes of a program file in file order, read block by block after the headers.
std::vector<std::uint16_t> BlockCodes(const Bytes& file) {
  std::vector<std::uint16_t> codes;
  for (std::size_t at = 14 + 24; at + 4 <= file.size() && at < WordAt(file, 0) + 1u;) {
    codes.push_back(WordAt(file, at));
    at += WordAt(file, at + 2);
  }
  return codes;
}

TEST_F(ProgramWriterTest, PreProgramOffsetChoosesTheLayout) {
  VWritePode(TestParcel(65), ProgramWithoutPreProgram());
  EXPECT_EQ(
      BlockCodes(OnlyFile('C')),
      (std::vector<std::uint16_t>{568, 570, 572, 576, 604, 610, 612, 648, 0, 0,   604, 620, 648, 8,
                                  660, 670, 696, 652, 8,   653, 656, 654, 4, 660, 680, 696, 700}));
  std::filesystem::remove(FilesWithExtensionLetter(host.DataDirectory(), 'C').at(0));
  VWritePode(TestParcel(65), ProgramWithPreProgram());
  EXPECT_EQ(BlockCodes(OnlyFile('C')),
            (std::vector<std::uint16_t>{568, 570, 572, 576, 580, 590, 600, 604, 610, 612, 648, 652,
                                        653, 655, 656, 660, 680, 696, 700}));
}

TEST_F(ProgramWriterTest, ContentWithoutAPlaceIsRefusedAndLeavesNoFile) {
  const ObjParcelType parcel = TestParcel(65);
  const struct {
    const char* name;
    std::function<void()> write;
  } rows[] = {
      {"resource name of 21 characters",
       [&] {
         VRedeContent c = SampleResource();
         c.resourceName = std::string(21, 'N');
         VWriteRede(parcel, c);
       }},
      {"eleven trailer bytes",
       [&] {
         VRedeContent c = SampleResource();
         c.trailer.resize(11);
         VWriteRede(parcel, c);
       }},
      {"load date the short form cannot hold",
       [&] {
         VRedeContent c = SampleResource();
         c.initLoadDate.month = 300;
         VWriteRede(parcel, c);
       }},
      {"initialisation element with the end code",
       [&] {
         VRedeContent c = SampleResource();
         c.initElements.push_back(Element(544));
         VWriteRede(parcel, c);
       }},
      {"pre-program section without a pre-program",
       [&] {
         VPodeContent c = ProgramWithoutPreProgram();
         c.preProgram = {Element(590)};
         VWritePode(parcel, c);
       }},
      {"section 0 with a pre-program",
       [&] {
         VPodeContent c = ProgramWithPreProgram();
         c.section0 = {Element(8)};
         VWritePode(parcel, c);
       }},
      {"element longer than a block",
       [&] {
         VPodeContent c = ProgramWithoutPreProgram();
         c.prolog = {Element(610, Bytes(65532))};
         VWritePode(parcel, c);
       }},
      {"program longer than a domain file",
       [&] {
         VPodeContent c = ProgramWithoutPreProgram();
         c.prolog = {Element(610, Bytes(40000)), Element(611, Bytes(40000))};
         VWritePode(parcel, c);
       }},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_CAUSE(row.write(), CFileException::invalidFile);
    EXPECT_TRUE(DataFileNames(host).empty());
  }
}

// Each program domain type, read and written again.
struct ProgramFile {
  const char* name;
  std::function<void()> write;
  std::function<std::unique_ptr<VDomain>()> make;
  std::uint16_t type;
};

std::vector<ProgramFile> ProgramFiles() {
  return {
      {"TADE", [] { VWriteTade(TestParcel(49), SampleTask()); },
       [] { return std::make_unique<VTadeDomain>(); }, 49},
      {"REDE", [] { VWriteRede(TestParcel(33), SampleResource()); },
       [] { return std::make_unique<VRedeDomain>(); }, 33},
      {"PODE without pre-program", [] { VWritePode(TestParcel(65), ProgramWithoutPreProgram()); },
       [] { return std::make_unique<VPodeDomain>(); }, 65},
      {"PODE with pre-program", [] { VWritePode(TestParcel(65), ProgramWithPreProgram()); },
       [] { return std::make_unique<VPodeDomain>(); }, 65},
  };
}

TEST_F(ProgramWriterTest, ReadDomainWrittenAgainGivesTheSameBytes) {
  for (const ProgramFile& type : ProgramFiles()) {
    SCOPED_TRACE(type.name);
    type.write();
    const std::string path = FilesWithExtensionLetter(host.DataDirectory(), 'C').at(0);
    const Bytes written = ReadWholeFile(path);
    std::filesystem::remove(path);
    // Read from the file under a different version, written again under the original parcel.
    ObjParcelType other = TestParcel(type.type);
    other.version = 2;
    WriteWholeFile(DomainFilePath(host, other, 0), written);
    std::unique_ptr<VDomain> domain = type.make();
    domain->OpenDomain(other, nullptr, 0);
    domain->ReadDomain();
    GenerateDomain(*domain, TestParcel(type.type));
    Bytes again = ReadWholeFile(path);
    EXPECT_EQ(WrittenBytes(again), WrittenBytes(written));
    EXPECT_EQ(again.size(), written.size());
    for (const std::string& name : DataFileNames(host))
      std::filesystem::remove(host.DataDirectory() + name);
  }
}

// A file cut at any byte before its end, and one whose block size points past the file, raise
// end of file while reading: never a shorter domain, a crash or a loop.
TEST_F(ProgramWriterTest, CutOrOverlongFileRaisesEndOfFile) {
  for (const ProgramFile& type : ProgramFiles()) {
    SCOPED_TRACE(type.name);
    type.write();
    const std::string path = FilesWithExtensionLetter(host.DataDirectory(), 'C').at(0);
    const Bytes written = WrittenBytes(ReadWholeFile(path));
    // The last byte is the low byte of the closing marker's size, which reading skips. Steps of
    // 3 bytes cut every 4-byte block word at each of its places.
    for (std::size_t keep = 0; keep + 1 < written.size(); keep += 3) {
      WriteWholeFile(path, Bytes(written.begin(), written.begin() + keep));
      std::unique_ptr<VDomain> domain = type.make();
      domain->OpenDomain(TestParcel(type.type), nullptr, 0);
      SCOPED_TRACE(keep);
      EXPECT_CAUSE(domain->ReadDomain(), CFileException::endOfFile);
    }
    if (type.type != 49) {
      Bytes overlong = written;
      overlong[written.size() - 3] = 0xFF;  // the last block's size
      WriteWholeFile(path, overlong);
      std::unique_ptr<VDomain> domain = type.make();
      domain->OpenDomain(TestParcel(type.type), nullptr, 0);
      EXPECT_CAUSE(domain->ReadDomain(), CFileException::endOfFile);
    }
    std::filesystem::remove(path);
  }
}

}  // namespace

}  // namespace morvit
