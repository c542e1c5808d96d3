// `morvit generate`: the example job's domains and the parcels printed, and jobs that are
// refused before any file is written, with the place of the fault in the message.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "fixtures/TestUtil.h"
#include "tool/ToolRun.h"

namespace morvit {

namespace {

using tooltest::RunTool;

std::size_t CountFiles(const std::filesystem::path& directory) {
  if (!std::filesystem::exists(directory)) return 0;
  return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(directory),
                                                std::filesystem::directory_iterator()));
}

TEST(GenerateCommand, ExampleJobWritesItsDomainsAndPrintsTheParcels) {
  testutil::ScratchDir dir;
  const auto result = tooltest::GenerateExample(dir.path());
  ASSERT_EQ(result.status, 0) << result.err;
  // No project files here: the nodes list nothing, their file lists are empty.
  EXPECT_EQ(result.out,
            "CN000001.C01  CNOD  type 1  scope 0  version 1  object 1  64 bytes\n"
            "XC000001.C01  XBFI  type 119  scope 0  version 1  object 1  78 bytes\n"
            "RN000001.C01  RNOD  type 44  scope 0  version 1  object 1  64 bytes\n"
            "XR000001.C01  XBFI  type 120  scope 0  version 1  object 1  78 bytes\n"
            "RD000001.C01  REDE  type 33  scope 0  version 1  object 1  96 bytes\n"
            "RL000001.C01  RELO  type 35  scope 0  version 1  object 1  24 bytes\n"
            "TD010001.C01  TADE  type 49  scope 1  version 1  object 1  38 bytes\n"
            "PD010001.C01  PODE  type 65  scope 1  version 1  object 1  118 bytes\n"
            "PO010001.C01  POLO  type 67  scope 1  version 1  object 1  16 bytes\n"
            "TD020001.C01  TADE  type 49  scope 2  version 1  object 1  38 bytes\n"
            "PD020001.C01  PODE  type 65  scope 2  version 1  object 1  118 bytes\n"
            "PO020001.C01  POLO  type 67  scope 2  version 1  object 1  16 bytes\n"
            "TD030001.C01  TADE  type 49  scope 3  version 1  object 1  38 bytes\n"
            "PD030001.C01  PODE  type 65  scope 3  version 1  object 1  118 bytes\n"
            "PO030001.C01  POLO  type 67  scope 3  version 1  object 1  16 bytes\n"
            "NB000001.C01  NOBA  type 3  scope 0  version 1  object 1  128 bytes\n"
            "RB000001.C01  REBA  type 46  scope 0  version 1  object 1  216 bytes\n"
            "PB010001.C01  POBA  type 78  scope 1  version 1  object 1  156 bytes\n"
            "PB020001.C01  POBA  type 78  scope 2  version 1  object 1  158 bytes\n"
            "PB030001.C01  POBA  type 78  scope 3  version 1  object 1  158 bytes\n"
            "B1000001.C01  BOBA1  type 116  scope 0  version 1  object 1  110 bytes\n"
            "B2000001.C01  BOBA2  type 117  scope 0  version 1  object 1  110 bytes\n"
            "B3000001.C01  BOBA3  type 118  scope 0  version 1  object 1  110 bytes\n"
            "CI000001.C01  COIO  type 26  scope 0  version 1  object 1  88 bytes\n"
            "CA000001.C01  CODA  type 17  scope 0  version 1  object 1  270 bytes\n"
            "AD000001.C01  CbD  type 114  scope 0  version 1  object 1  1022 bytes\n"
            "AP000001.C01  CbP  type 115  scope 0  version 1  object 1  1552 bytes\n"
            "AI000001.C01  BXD0  type 96  scope 0  version 1  object 1  104 bytes\n"
            "AO000001.C01  BXD1  type 97  scope 0  version 1  object 1  92 bytes\n");
  for (const auto& entry : std::filesystem::directory_iterator(dir.path() / "data")) {
    EXPECT_EQ(entry.file_size() % 1024, 0u) << entry.path();
  }
  EXPECT_EQ(CountFiles(dir.path() / "data"), 29u);
  // The same job on standard input.
  const auto piped =
      RunTool(dir.path(), "generate - --data piped < '" MORVIT_SOURCE_DIR "/examples/job.json'");
  EXPECT_EQ(piped.status, 0) << piped.err;
  EXPECT_EQ(piped.out, result.out);
}

// Every row is a job that must be refused whole, with each fault's place (file:line:column and
// path) on standard error, and no file written.
TEST(GenerateCommand, FaultyJobsAreRefusedWithTheirPlacesBeforeAnyFileIsWritten) {
  struct Case {
    const char* name;
    std::string job;
    std::string err;  // standard error, the summary line excepted
    const char* arguments = "generate job.json --data data";
  };
  const auto job = [](const std::string& domains) { return "{\"domains\": [" + domains + "]}"; };
  const auto reba = [](const std::string& records) {
    return R"({"type": "REBA", "object": 1, "version": 1, "records": [)" + records + "]}";
  };
  const auto entry = [](int key) {
    return R"({"entry": {"key": )" + std::to_string(key) +
           R"(, "values": [1, 2, 3, 4, 5], "name": "M"}})";
  };
  const auto addition = [](int key, const std::string& terminal) {
    return R"({"addition": {"key": )" + std::to_string(key) +
           R"(, "number": 1, "texts": ["A", "B"], "terminal": )" + terminal + "}}";
  };
  const std::string noba = R"({"type": "NOBA", "object": 1, "version": 1, "texts": []})";
  // One record a line: the fault of record i stands on line i + 2.
  std::string manyFaults;
  std::string fiftyLines;
  for (int i = 0; i < 60; ++i) {
    manyFaults += "\n" + addition(i, R"({"type": "cardinal", "value": 1})") + (i < 59 ? "," : "");
    if (i < 50) {
      fiftyLines += "job.json:" + std::to_string(i + 2) + ":22: domains[0].records[" +
                    std::to_string(i) + "].addition.key: no entry with key " + std::to_string(i) +
                    " before it (an addition extends an earlier entry)\n";
    }
  }
  const Case cases[] = {
      {"syntax error", "{\"domains\": [}", "job.json:1:14: not valid JSON: Invalid value.\n"},
      {"a job that is an array", "[1, 2]",
       "job.json:1:1: a job is a JSON object {\"domains\": [...]}, not an array\n"},
      {"no domain list", "{}", "job.json:1:1: missing member \"domains\"\n"},
      {"unknown type", job(R"({"type": "XXXX", "object": 1, "version": 1})"),
       "job.json:1:23: domains[0].type: not a domain type this tool generates (CNOD, RNOD, "
       "NOBA, REBA, POBA, BOBA1 to BOBA3, TADE, REDE, PODE, RELO, POLO, COIO, CODA, BXD0 to "
       "BXD7, CbD, CbP)\n"},
      {"major version beyond its byte and an unknown member: two faults of one domain",
       job(R"({"type": "NOBA", "object": 1, "version": 1, "major": 300, "scpoe": 3, "texts": []})"),
       "job.json:1:67: domains[0].major: out of range 0 to 255\n"
       "job.json:1:72: domains[0].scpoe: unknown member (did you mean \"scope\"?)\n"},
      {"object number too large and a version that is no number (two domains, two faults)",
       job(R"({"type": "NOBA", "object": 100, "version": 1, "texts": []}, )"
           R"({"type": "NOBA", "object": 2, "version": "1", "texts": []})"),
       "job.json:1:41: domains[0].object: out of range 0 to 99\n"
       "job.json:1:115: domains[1].version: expected an integer\n"},
      {"a member given twice",
       job(R"({"type": "NOBA", "object": 1, "object": 2, "version": 1, "texts": []})"),
       "job.json:1:44: domains[0].object: member \"object\" is given twice\n"},
      {"no such date",
       job(R"({"type": "NOBA", "object": 1, "version": 1, "time": "2026-02-30 10:00:00", "texts": []})"),
       "job.json:1:66: domains[0].time: no such date: 2026-02-30\n"},
      {"a year the domain's two digits cannot hold",
       job(R"({"type": "NOBA", "object": 1, "version": 1, "time": "2120-01-01T10:00:00", "texts": []})"),
       "job.json:1:66: domains[0].time: year 2120 out of range 1996 to 2095 (the domain holds "
       "the year in two digits)\n"},
      {"bad time",
       job(R"({"type": "NOBA", "object": 1, "version": 1, "time": "yesterday", "texts": []})"),
       "job.json:1:66: domains[0].time: expected a time \"YYYY-MM-DD HH:MM:SS\" (or with T)\n"},
      {"a real beyond the controller's 4-byte real",
       job(reba(entry(1) + ", " + addition(1, R"({"type": "real", "value": 1e300})"))),
       "job.json:1:229: domains[0].records[1].addition.terminal.value: too large for a 4-byte "
       "real (at most 3.4e38)\n"},
      {"unknown terminal type",
       job(reba(entry(1) + ", " + addition(1, R"({"type": "word", "value": 1})"))),
       "job.json:1:212: domains[0].records[1].addition.terminal.type: unknown value \"word\"; "
       "expected \"boolean\", \"integer\", \"long\", \"real\", \"string\", \"cardinal\" or "
       "\"string2\"\n"},
      {"an entry key used twice, the second entry with its addition",
       job(reba(entry(1) + ", " + entry(1) + ", " +
                addition(1, R"({"type": "cardinal", "value": 1})"))),
       "job.json:1:151: domains[0].records[1].entry.key: key 1 is already used by records[0]\n"},
      {"at most 50 faults", job(reba(manyFaults)), fiftyLines},
      {"name too long for its field",
       job(reba(R"({"entry": {"key": 1, "values": [1, 2, 3, 4, 5], "name": ")" +
                std::string(103, 'N') + R"("}})")),
       "job.json:1:126: domains[0].records[0].entry.name: longer than 102 characters\n"},
      {"four values", job(reba(R"({"entry": {"key": 1, "values": [1, 2, 3, 4], "name": "M"}})")),
       "job.json:1:101: domains[0].records[0].entry.values: expected 5 elements\n"},
      {"unknown record", job(reba(R"({"note": {}})")),
       "job.json:1:71: domains[0].records[0].note: unknown member\n"},
      {"two domains of one identity", job(noba + ", " + noba),
       "job.json:1:72: domains[1]: the same domain as domains[0] (NOBA object 1 version 1 scope "
       "0)\n"},
      {"decoder-table fields the element type does not hold, a name used twice, a CbP type",
       job(R"({"type": "CbD", "object": 1, "version": 1, "descriptions": [)"
           R"({"typeIndex": 1, "name": "L", "enumTexts": ["A"], "cole": [1, 0], "copm": [2, 0], "coda": [3, 0]}, )"
           R"({"typeIndex": 0, "name": "L", "colo": [4, 3]}, {"typeIndex": 8, "name": "P"}]})"),
       "job.json:1:117: domains[0].descriptions[0].enumTexts: a DAT(I) (type index 1) description "
       "holds no enumeration texts\n"
       "job.json:1:132: domains[0].descriptions[0].cole: a DAT(I) (type index 1) description holds "
       "no cole offset\n"
       "job.json:1:148: domains[0].descriptions[0].copm: a DAT(I) (type index 1) description holds "
       "no copm offset\n"
       "job.json:1:164: domains[0].descriptions[0].coda: a DAT(I) (type index 1) description holds "
       "no coda offset\n"
       "job.json:1:198: domains[0].descriptions[1].name: name \"L\" is already used by "
       "descriptions[0]\n"
       "job.json:1:215: domains[0].descriptions[1].colo[1]: a DAT(B) (type index 0) description "
       "holds only the byte offset in colo\n"
       "job.json:1:234: domains[0].descriptions[2].typeIndex: type index 8 is not one of CbD (0 to "
       "6)\n"},
      {"decoder-table name too long for its field",
       job(R"({"type": "CbD", "object": 1, "version": 1, "descriptions": [{"typeIndex": 1, "name": ")" +
           std::string(21, 'N') + R"("}]})"),
       "job.json:1:99: domains[0].descriptions[0].name: longer than 20 characters\n"},
      {"BxD program slot out of range",
       job(R"({"type": 96, "object": 1, "version": 1, "programs": [{"slot": 16}]})"),
       "job.json:1:76: domains[0].programs[0].slot: out of range 0 to 15\n"},
      {"nested too deeply",
       job(reba("{\"entry\": " + std::string(40, '[') + std::string(40, ']') + "}")),
       "job.json:1:111: domains[0].records[0]: nested deeper than 32 levels\n"},
      {"a text that is not UTF-8",
       job(R"({"type": "NOBA", "object": 1, "version": 1, "texts": [")"
           "\xff"
           R"("]})"),
       "job.json:1:69: not valid JSON: Invalid encoding in string.\n"},
      {"a job on standard input", job(noba + ", 5"),
       "<stdin>:1:72: domains[1]: expected an object (a domain)\n",
       "generate - --data data < job.json"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testutil::ScratchDir dir;
    std::ofstream(dir.File("job.json")) << c.job;
    const auto result = RunTool(dir.path(), c.arguments);
    EXPECT_EQ(result.status, 1);
    const std::size_t summary = result.err.rfind("morvit generate: ");
    ASSERT_NE(summary, std::string::npos) << result.err;
    EXPECT_EQ(result.err.substr(0, summary), c.err);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "data"));
  }
  testutil::ScratchDir dir;
  std::filesystem::create_directory(dir.path() / "jobs");
  EXPECT_EQ(RunTool(dir.path(), "generate jobs").err,
            "morvit generate: jobs: is a directory; expected a job file (JSON)\n");
  std::ofstream(dir.File("job.json")) << job(reba(manyFaults));
  const std::string limited = RunTool(dir.path(), "generate job.json").err;
  EXPECT_EQ(limited.substr(limited.rfind("morvit")),
            "morvit generate: job.json: stopped after 50 faults; nothing written\n");
  const auto missing = RunTool(dir.path(), "generate absent.json");
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err,
            "morvit generate: absent.json: file not found (No such file or directory)\n");
}

// A domain's members may stand in any order: its type after its records, a CbP's shifts before
// the descriptions they shift. The files are the same.
TEST(GenerateCommand, TheOrderOfADomainsMembersDoesNotChangeItsFiles) {
  const std::string records =
      R"("records": [{"entry": {"key": 7, "values": [1, 2, 3, 4, 5], "name": "M"}}, )"
      R"({"addition": {"key": 7, "number": 1, "texts": ["A", "B"], "terminal": {"type": "real", "value": 2.5}}}])";
  const std::string descriptions =
      R"("descriptions": [{"typeIndex": 10, "name": "S", "coda": [4, 0]}, {"typeIndex": 7, "name": "B"}])";
  const std::string shifts = R"("shifts": [[100, 200]])";
  const std::string parcel = R"("object": 1, "version": 1, "time": "2026-12-07 08:30:00")";
  const std::string inOrder = R"({"domains": [{"type": "REBA", )" + parcel + ", " + records +
                              R"(}, {"type": "CbP", )" + parcel + ", " + descriptions + ", " +
                              shifts + "}]}";
  const std::string reordered = "{\"domains\": [{" + records + ", " + parcel +
                                R"(, "type": "REBA"}, {)" + shifts + ", " + descriptions + ", " +
                                parcel + R"(, "type": 115}]})";
  testutil::ScratchDir dir;
  std::ofstream(dir.File("a.json")) << inOrder;
  std::ofstream(dir.File("b.json")) << reordered;
  const auto a = RunTool(dir.path(), "generate a.json --data a");
  const auto b = RunTool(dir.path(), "generate b.json --data b");
  ASSERT_EQ(a.status, 0) << a.err;
  ASSERT_EQ(b.status, 0) << b.err;
  EXPECT_EQ(a.out, b.out);
  for (const auto& entry : std::filesystem::directory_iterator(dir.path() / "a")) {
    EXPECT_EQ(tooltest::ReadText(entry.path()),
              tooltest::ReadText(dir.path() / "b" / entry.path().filename()))
        << entry.path();
  }
}

}  // namespace

}  // namespace morvit
