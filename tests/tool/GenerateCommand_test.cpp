// `morvit generate`: the example job's domains and the parcels printed, and jobs that are
// refused before any file is written, with the place of the fault in the message.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/TestUtil.h"
#include "tool/ToolRun.h"

namespace {

using tooltest::RunTool;

std::size_t CountFiles(const std::filesystem::path& directory) {
  if (!std::filesystem::exists(directory)) return 0;
  return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(directory),
                                                std::filesystem::directory_iterator()));
}

TEST(GenerateCommand, ExampleJobWritesItsDomainsAndPrintsTheParcels) {
  testutil::ScratchDir dir;
  const auto result =
      RunTool(dir.path(), "generate '" MORVIT_SOURCE_DIR "/examples/job.json' --data data");
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
}

TEST(GenerateCommand, FaultyJobsAreRefusedBeforeAnyFileIsWritten) {
  struct Case {
    const char* name;
    std::string job;
    const char* message;
  };
  const std::string entry = R"({"entry": {"key": 1, "values": [1, 2, 3, 4, 5], "name": "M"}})";
  const Case cases[] = {
      {"not JSON", "{\"domains\": [", "job.json: not a JSON job"},
      {"no domain list", "{}", "domains: missing"},
      {"unknown type", R"({"domains": [{"type": "XXXX", "object": 1, "version": 1}]})",
       "domains[0].type: not a domain type this tool generates"},
      {"object number too large",
       R"({"domains": [{"type": "NOBA", "object": 100, "version": 1, "texts": []}]})",
       "domains[0].object: out of range 0 to 99"},
      {"version not a number",
       R"({"domains": [{"type": "NOBA", "object": 1, "version": "1", "texts": []}]})",
       "domains[0].version: expected an integer"},
      {"bad time",
       R"({"domains": [{"type": "NOBA", "object": 1, "version": 1, "time": "yesterday", "texts": []}]})",
       "domains[0].time: expected a time"},
      {"name too long for its field",
       R"({"domains": [{"type": "REBA", "object": 1, "version": 1, "records": [{"entry": {"key": 1, "values": [1, 2, 3, 4, 5], "name": ")" +
           std::string(103, 'N') + R"("}}]}]})",
       "domains[0].records[0].entry.name: longer than 102 bytes (103)"},
      {"four values",
       R"({"domains": [{"type": "POBA", "object": 1, "version": 1, "records": [{"entry": {"key": 1, "values": [1, 2, 3, 4], "name": "M"}}]}]})",
       "domains[0].records[0].entry.values: expected 5 values"},
      {"unknown record",
       R"({"domains": [{"type": "REBA", "object": 1, "version": 1, "records": [{"note": {}}]}]})",
       "domains[0].records[0]: expected \"entry\", \"addition\" or \"pageBreak\""},
      {"decoder-table name too long for its field",
       R"({"domains": [{"type": "CbD", "object": 1, "version": 1, "descriptions": [{"typeIndex": 1, "name": ")" +
           std::string(21, 'N') + R"("}]}]})",
       "domains[0].descriptions[0].name: longer than 20 bytes (21)"},
      {"BxD program slot out of range",
       R"({"domains": [{"type": 96, "object": 1, "version": 1, "programs": [{"slot": 16}]}]})",
       "domains[0].programs[0].slot: out of range 0 to 15"},
      {"unknown terminal type (second domain: nothing written for the first)",
       R"({"domains": [{"type": "NOBA", "object": 1, "version": 1, "texts": ["A"]},
           {"type": "REBA", "object": 1, "version": 1, "records": [)" +
           entry +
           R"(, {"addition": {"key": 1, "number": 1, "texts": ["A", "B"], "terminal": {"type": "word", "value": 1}}}]}]})",
       "domains[1].records[1].addition.terminal.type: unknown terminal type \"word\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testutil::ScratchDir dir;
    std::ofstream(dir.File("job.json")) << c.job;
    const auto result = RunTool(dir.path(), "generate job.json --data data");
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
    EXPECT_EQ(CountFiles(dir.path() / "data"), 0u);
  }
  testutil::ScratchDir dir;
  const auto missing = RunTool(dir.path(), "generate absent.json");
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err,
            "morvit generate: absent.json: file not found (No such file or directory)\n");
}

}  // namespace
