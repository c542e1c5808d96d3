// The listing as events: for a small file of each listing family (a class listing, the CODE,
// DATA and MOVE listings), the text of the events put together is the text listing byte for
// byte, and the structure and fields are where the file has them (golden outlines).
#include <gtest/gtest.h>

#include <filesystem>

#include "fixtures/DomainBuilders.h"
#include "fixtures/DumpTest.h"
#include "fixtures/FakeHost.h"
#include "morvit/VBase.h"
#include "morvit/VListingEvents.h"

namespace morvit {

using namespace testutil;

namespace {

// An outline of the events (one line per event, fields as "offset width label = value"), and
// the text of the listing they make.
class Outline : public morvit::VListingSink {
 public:
  void File(std::string_view name, std::uint32_t part, std::uint64_t) override {
    lines += "file " + std::string(name) + " " + std::to_string(part) + "\n";
  }
  void Begin(const morvit::VListingBegin& begin) override {
    lines += "begin " + std::to_string(static_cast<int>(begin.kind)) + " " +
             std::string(begin.name) + " " + std::to_string(begin.code) + " " +
             std::string(begin.codeName) + " " + std::to_string(begin.index) + " @" +
             std::to_string(begin.offset) + "\n";
  }
  void Field(const morvit::VListingField& field) override {
    lines += std::to_string(field.offset) + " " + std::to_string(field.width) + " " +
             std::string(field.label) + " = " + std::to_string(field.number) +
             (field.timeStamp ? " time" : "") + "\n";
    text += field.text;
  }
  void End(morvit::VListingPlace kind) override {
    lines += "end " + std::to_string(static_cast<int>(kind)) + "\n";
  }
  void Text(std::string_view piece) override { text += piece; }
  void Value(const morvit::VListingValue& value) override {
    lines += "value " + std::to_string(value.offset) + " " + std::to_string(value.width) + " " +
             std::string(value.label) + " = " + std::to_string(value.number) + " '" +
             std::string(value.text) + "'\n";
  }
  void Stop(std::int64_t offset, std::string_view reason) override {
    lines += "stop " + std::to_string(offset) + " " + std::string(reason) + "\n";
  }
  std::string lines;
  std::string text;
};

class ListingEventsTest : public DumpTest {
 protected:
  FakeHost host;
  ScopedHost scoped{host};
};

// The first lines of each outline, and the text listing each must equal.
struct FamilyCase {
  const char* name;
  const char* file;
  Bytes bytes;  // empty: generated through the C interface into the host's directory
  const char* outlineHead;
};

TEST_F(ListingEventsTest, EachFamilyRendersItsTextListing) {
  const Bytes code = CodeFile::Header(49, 0x0500).Words({1, 2, 3, 4, 5}).Build();
  const FamilyCase cases[] = {
      {"class listing",
       "RB000001.C01",
       {},
       "file RB000001.C01 0\n"
       "begin 0 common header -1  -1 @0\n"
       "0 2 OffsetToLastByte = 89\n"
       "2 2 Type/Scope = 11776\n"
       "4 2 Version = 1\n"},
      {"CODE", "TD000001.C01", code,
       "file TD000001.C01 0\n"
       "begin 0 TADE, task_no -1  -1 @0\n"
       "0 2 Offset to last Byte = 23\n"
       "2 2 TADE, task_no = 12544\n"
       "value 2 1 domain type = 49 'TADE'\n"
       "4 2 Version = 7\n"
       "6 2 Date          2026/12/7 = 13703 time\n"},
      {"DATA", "XXLO0001.C01",
       DataTable({{1, 0, 0, 0, 0, 0, 0, 0, 0}, {7, 2, 3, 4, 5, 'a', 1, 6, 8}}),
       "file XXLO0001.C01 0\n"
       "begin 3 DATA table -1  -1 @0\n"
       "begin 4  -1  0 @0\n"
       "0 2 iKey = 1\n"},
      {"PL", "PLLO0001.C01", PlTable({{0, 0, 0, 0, 0x8000}}),
       "file PLLO0001.C01 0\n"
       "begin 3 PL table -1  -1 @0\n"
       "begin 4  -1  0 @0\n"
       "0 2 iKey = 0\n"
       "2 1 termId = 0\n"
       "3 1 tcNo = 0\n"
       "6 2 noBytes = 32768\n"
       "value 6 2 PC = 1 'true'\n"
       "value 6 2 TRA = 0 'false'\n"},
      {"MOVE", "XXA00001.C01", MoveATable({{1, 2, 3}}, 0, 0),
       "file XXA00001.C01 0\n"
       "stop -1 a move table cannot be opened or is cut short\n"
       "begin 3 A table -1  -1 @0\n"
       "begin 4  -1  0 @0\n"
       "0 2 iKey = 1\n"
       "2 2 termId = 2\n"
       "4 4 poiEle = 3\n"},
  };
  ASSERT_EQ(GenerateThroughC(46, {Entry(7, {1, 2, 3, 4, 5}, "PUMP_1")}).finishStatus,
            VBASE_STATUS_OK);
  for (const FamilyCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = c.bytes.empty() ? host.DataDirectory() + c.file : dir.File(c.file);
    if (!c.bytes.empty()) Write(c.file, c.bytes);
    Outline outline;
    morvit::ListDomainEvents(path, outline);
    EXPECT_EQ(outline.lines.substr(0, std::string(c.outlineHead).size()), c.outlineHead)
        << outline.lines;
    // No listing file is left by the events; the text listing is what they make.
    std::string listing = path;
    listing[listing.size() - 3] = 'D';
    EXPECT_FALSE(std::filesystem::exists(listing));
    ASSERT_EQ(VBase_DumpDomain(static_cast<std::uint16_t>(path.size()), path.c_str()), 1);
    const Bytes written = ReadWholeFile(listing);
    EXPECT_EQ(outline.text, std::string(written.begin(), written.end()));
  }
}

// A listing file that is there stays as it was; a cut file and a file list stop with a reason.
TEST_F(ListingEventsTest, StopsAndKeptListings) {
  ASSERT_EQ(GenerateThroughC(46, {Entry(7, {1, 2, 3, 4, 5}, "PUMP_1")}).finishStatus,
            VBASE_STATUS_OK);
  const std::string path = host.DataDirectory() + "RB000001.C01";
  WriteWholeFile(host.DataDirectory() + "RB000001.D01", Bytes{'k', 'e', 'p', 't'});
  Outline listed;
  EXPECT_TRUE(morvit::ListDomainEvents(path, listed));
  EXPECT_EQ(ReadWholeFile(host.DataDirectory() + "RB000001.D01"), (Bytes{'k', 'e', 'p', 't'}));

  Write("PD000001.C01", CodeFile::Header(65, 0x0500).Repeat(0, 600).Build());
  Bytes cut = ReadWholeFile(dir.File("PD000001.C01"));
  cut.resize(100);
  Write("PD000001.C01", cut);
  Outline stopped;
  EXPECT_FALSE(morvit::ListDomainEvents(dir.File("PD000001.C01"), stopped));
  EXPECT_NE(stopped.lines.find("stop 100 the file ends before the length its first word announces"),
            std::string::npos)
      << stopped.lines;
  Outline refused;
  EXPECT_FALSE(morvit::ListDomainEvents(dir.File("NOEXTENSION"), refused));
  EXPECT_NE(refused.lines.find("stop -1 the name gives no listing"), std::string::npos);
}

}  // namespace

}  // namespace morvit
