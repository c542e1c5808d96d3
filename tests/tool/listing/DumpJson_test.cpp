// `morvit dump --format json`: every line a JSON object of one event; the text of the field
// and text events put together is the text listing; a file without a whole listing ends in a
// stop event and fails the run.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "fixtures/TestUtil.h"
#include "tool/ToolRun.h"

namespace morvit {

namespace {

using tooltest::RunTool;

class JsonEvents : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(tooltest::GenerateExample(dir.path()).status, 0); }
  testutil::ScratchDir dir;
};

TEST_F(JsonEvents, TextOfTheEventsIsTheListing) {
  // A class listing, the generic CODE listing, and a node, whose file list follows as a second
  // file (its own listing file in text).
  for (const char* file : {"RB000001.C01", "TD010001.C01", "CN000001.C01"}) {
    SCOPED_TRACE(file);
    const auto json = RunTool(dir.path(), std::string("dump --format json data/") + file);
    ASSERT_EQ(json.status, 0) << json.err;
    std::istringstream lines(json.out);
    std::string text;
    std::string kinds;
    int depth = 0;
    int files = 0;
    for (std::string line; std::getline(lines, line);) {
      const auto event = nlohmann::json::parse(line);
      const std::string kind = event.at("event");
      if (kind == "file") ++files;
      if ((kind == "field" || kind == "text") && files == 1) {
        text += event.at("text").get<std::string>();
      }
      if (kind == "begin") ++depth;
      if (kind == "end") --depth;
      if (kinds.find(kind) == std::string::npos) kinds += kind + " ";
    }
    EXPECT_EQ(depth, 0);  // every begin has its end
    EXPECT_EQ(files, std::string(file) == "CN000001.C01" ? 2 : 1);
    EXPECT_EQ(kinds.substr(0, 5), "file ");
    const auto listing = RunTool(dir.path(), std::string("dump --stdout data/") + file);
    ASSERT_EQ(listing.status, 0);
    EXPECT_EQ(text, listing.out);
  }
}

// The values the layouts give: the example's first resource-base entry (its key, values, name,
// and the texts and terminal values of the two parts added to it), the header's date and 32-bit
// offsets; in the generic CODE listing the domain type, a resource's name and load date, the
// element codes by name, and a decoder table's element descriptions by their layout. And in
// every file listed, each value lies on bytes that its fields list.
TEST_F(JsonEvents, ValuesStandBesideTheirFields) {
  struct Row {
    const char* file;
    int from, to;  // the values of the offsets [from, to)
    const char* values;
  };
  const Row rows[] = {
      {"RB000001.C01", 0, 118,
       R"js({"event":"value","offset":6,"width":6,"kind":"dateTime","label":"Date","value":"2026-12-07 08:30:00.000","time":true}
{"event":"value","offset":26,"width":4,"kind":"number","label":"OffsetToBlock1","value":20}
{"event":"value","offset":30,"width":4,"kind":"number","label":"OffsetToBlock2","value":-1}
{"event":"value","offset":34,"width":4,"kind":"number","label":"OffsetToExtension","value":-1}
{"event":"value","offset":54,"width":2,"kind":"code","label":"code","value":46,"text":"TypCode FB"}
{"event":"value","offset":58,"width":2,"kind":"key","label":"key","value":1}
{"event":"value","offset":60,"width":2,"kind":"number","label":"value E","value":14}
{"event":"value","offset":62,"width":2,"kind":"number","label":"value A","value":10}
{"event":"value","offset":64,"width":2,"kind":"number","label":"value B","value":11}
{"event":"value","offset":66,"width":2,"kind":"number","label":"value C","value":12}
{"event":"value","offset":68,"width":2,"kind":"number","label":"value D","value":13}
{"event":"value","offset":70,"width":10,"kind":"name","label":"name","value":"MOTOR_1","length":7}
{"event":"value","offset":80,"width":2,"kind":"number","label":"number","value":1}
{"event":"value","offset":82,"width":8,"kind":"text","label":"first text","value":"SPEED","length":5}
{"event":"value","offset":90,"width":6,"kind":"text","label":"second text","value":"rpm","length":3}
{"event":"value","offset":96,"width":2,"kind":"enumeration","label":"TypeInfo","value":1,"text":"integer"}
{"event":"value","offset":96,"width":4,"kind":"number","label":"terminal value","value":1500}
{"event":"value","offset":100,"width":2,"kind":"number","label":"number","value":2}
{"event":"value","offset":102,"width":6,"kind":"text","label":"first text","value":"RAMP","length":4}
{"event":"value","offset":108,"width":4,"kind":"text","label":"second text","value":"s","length":1}
{"event":"value","offset":112,"width":2,"kind":"enumeration","label":"TypeInfo","value":3,"text":"real"}
{"event":"value","offset":112,"width":6,"kind":"real","label":"terminal value","value":2.5}
)js"},
      {"RD000001.C01", 0, 72,
       R"js({"event":"value","offset":2,"width":1,"kind":"enumeration","label":"domain type","value":33,"text":"REDE"}
{"event":"value","offset":18,"width":20,"kind":"name","label":"Resource Name","value":"PUMP_STATION","length":20}
{"event":"value","offset":38,"width":8,"kind":"dateTime","label":"Resource Pitch","value":"2026-12-07 08:30:00.000"}
{"event":"value","offset":50,"width":20,"kind":"text","label":"MA Type and Version","value":"","length":20}
{"event":"value","offset":70,"width":2,"kind":"code","label":"code","value":0,"text":"SEQ / SEQ_A(IEC)"}
)js"},
      {"PD010001.C01", 18, 44,
       R"js({"event":"value","offset":18,"width":2,"kind":"key","label":"ProgramNumber","value":1}
{"event":"value","offset":38,"width":2,"kind":"code","label":"code","value":568,"text":"progInitStart"}
{"event":"value","offset":42,"width":2,"kind":"code","label":"code","value":564,"text":"moveDconstToPOLO"}
)js"},
      {"B1000001.C01", 56, 76,
       R"js({"event":"value","offset":58,"width":2,"kind":"key","label":"object","value":1}
{"event":"value","offset":60,"width":2,"kind":"number","label":"value 1","value":116}
{"event":"value","offset":62,"width":2,"kind":"number","label":"value 2","value":1}
{"event":"value","offset":64,"width":2,"kind":"number","label":"value 3","value":2}
{"event":"value","offset":66,"width":2,"kind":"enumeration","label":"TypeInfo","value":1,"text":"integer"}
{"event":"value","offset":66,"width":4,"kind":"number","label":"terminal value","value":42}
{"event":"value","offset":70,"width":2,"kind":"enumeration","label":"TypeInfo","value":4,"text":"BString"}
{"event":"value","offset":70,"width":6,"kind":"text","label":"terminal value","value":"ON","length":2}
)js"},
      {"NB000001.C01", 56, 70,
       R"js({"event":"value","offset":58,"width":6,"kind":"text","label":"text","value":"MAIN","length":4}
{"event":"value","offset":64,"width":14,"kind":"text","label":"text","value":"PUMP_CONTROL","length":12}
)js"},
      {"AD000001.C01", 994, 1040,
       R"js({"event":"value","offset":996,"width":2,"kind":"enumeration","label":"TypeOfElement","value":1,"text":"DAT(B)"}
{"event":"value","offset":1000,"width":5,"kind":"name","label":"name","value":"FLAGS","length":5}
{"event":"value","offset":1006,"width":2,"kind":"number","label":"ByteOffsetInCOLO","value":18}
{"event":"value","offset":1010,"width":2,"kind":"enumeration","label":"TypeOfElement","value":2,"text":"DAT(I)"}
{"event":"value","offset":1014,"width":5,"kind":"name","label":"name","value":"LEVEL","length":5}
{"event":"value","offset":1020,"width":2,"kind":"number","label":"ByteOffsetInCOLO","value":16}
)js"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.file);
    const auto json = RunTool(dir.path(), std::string("dump --format json data/") + row.file);
    ASSERT_EQ(json.status, 0) << json.err;
    std::string values;
    std::istringstream lines(json.out);
    for (std::string line; std::getline(lines, line);) {
      if (line.find(R"("event":"value")") == std::string::npos) continue;
      const int offset = nlohmann::json::parse(line).at("offset").get<int>();
      if (offset >= row.from && offset < row.to) values += line + "\n";
    }
    EXPECT_EQ(values, row.values);
  }
  for (const char* file :
       {"RB000001.C01", "PB010001.C01", "B1000001.C01", "CN000001.C01", "CA000001.C01",
        "RD000001.C01", "PD010001.C01", "AD000001.C01", "AP000001.C01"}) {
    SCOPED_TRACE(file);
    const auto json = RunTool(dir.path(), std::string("dump --format json data/") + file);
    std::set<std::int64_t> listed;  // the bytes the fields of the first file list
    int files = 0;
    int checked = 0;
    std::istringstream events(json.out);
    for (std::string line; std::getline(events, line);) {
      const auto event = nlohmann::json::parse(line);
      if (event.at("event") == "file") ++files;
      if (files != 1) continue;
      const std::int64_t offset = event.value("offset", std::int64_t{-1});
      const std::int64_t width = event.value("width", std::int64_t{0});
      if (event.at("event") == "field") {
        for (std::int64_t at = offset; at < offset + width; ++at) listed.insert(at);
      } else if (event.at("event") == "value") {
        ++checked;
        for (std::int64_t at = offset; at < offset + width; ++at) {
          EXPECT_EQ(listed.count(at), 1u) << line;
        }
      }
    }
    EXPECT_GT(checked, 0);
  }
}

TEST_F(JsonEvents, CutFileStopsAndFailsTheRun) {
  std::string bytes = tooltest::ReadText(dir.File("data/PD010001.C01"));
  bytes.resize(64);
  std::ofstream(dir.File("data/PD000009.C01"), std::ios::binary) << bytes;
  const auto result = RunTool(dir.path(), "dump --format json data/PD000009.C01");
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(
      result.out.find(
          R"({"event":"stop","offset":64,"reason":"the file ends before the length its first word announces"})"),
      std::string::npos)
      << result.out;
  EXPECT_NE(result.err.find("1 of 1 files not listed"), std::string::npos) << result.err;
}

}  // namespace

}  // namespace morvit
