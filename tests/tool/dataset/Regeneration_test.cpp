// A domain generated again with fewer parts leaves no part of the old one (check is clean and
// says so for the right reason, the view agrees), and `dump DIR` lists a split domain once, from
// its first part: with 3 parts and with 16.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>

#include "fixtures/TestUtil.h"
#include "tool/ToolRun.h"

namespace morvit {

namespace {

namespace fs = std::filesystem;

// A job of one REBA of `entries` entries, object 1, version 1. With `scrambled` the names and
// values come from a small pseudo-random sequence, which the compression cannot shrink much: a
// domain of many parts from few entries.
void WriteJob(const fs::path& file, int entries, bool scrambled = false) {
  std::ofstream job(file);
  job << R"({"domains": [{"type": "REBA", "object": 1, "version": 1, )"
      << R"("time": "2026-12-07 08:30:00", "records": [)";
  std::uint32_t x = 12345;
  const auto next = [&] { return (x = x * 1103515245u + 12345u) >> 8 & 0x7FFFFF; };
  for (int i = 0; i < entries; ++i) {
    job << (i ? "," : "") << R"({"entry": {"key": )" << i + 1 << R"(, "values": [)";
    for (int v = 0; v < 5; ++v)
      job << (v ? ", " : "") << (scrambled ? next() % 65536 : v ? v + 1 : i);
    std::string name = "P" + std::to_string(i);
    if (scrambled) {
      name.clear();
      for (int c = 0; c < 30; ++c) name += "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"[next() % 36];
    }
    job << R"(], "name": ")" << name << R"("}})";
  }
  job << "]}]}";
}

std::vector<std::string> Names(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// The parts' names of a split REBA of `count` parts.
std::vector<std::string> Parts(int count) {
  std::vector<std::string> names;
  for (int i = 0; i < count; ++i)
    names.push_back("RB" + std::string(i < 10 ? "0" : "") + std::to_string(i) + "0001.C01");
  return names;
}

// The number of times `text` stands in `in`.
std::size_t Count(const std::string& in, const std::string& text) {
  std::size_t n = 0;
  for (std::size_t at = in.find(text); at != std::string::npos; at = in.find(text, at + 1)) ++n;
  return n;
}

TEST(Regeneration, FewerPartsLeaveNoStalePartAndDumpListsTheDomainOnce) {
  struct Row {
    int entries;
    bool scrambled;
    int parts;
  };
  // The listing of 16 parts is some 22 MB: the sanitizer build, ten times slower or more, lists
  // the 3 parts only (the same code joins the parts, whatever their count).
#if defined(__SANITIZE_ADDRESS__)
  const Row rows[] = {{20000, false, 3}};
#else
  const Row rows[] = {{20000, false, 3}, {23000, true, 16}};
#endif
  for (const Row& row : rows) {
    SCOPED_TRACE(std::to_string(row.parts) + " parts");
    testutil::ScratchDir dir;
    const fs::path data = fs::path(dir.path()) / "data";
    WriteJob(fs::path(dir.path()) / "big.json", row.entries, row.scrambled);
    WriteJob(fs::path(dir.path()) / "small.json", 10);
    ASSERT_EQ(tooltest::RunTool(dir.path(), "generate big.json --data data").status, 0);
    ASSERT_EQ(Names(data), Parts(row.parts));

    // dump DIR: one listing, of the whole domain, from its first part.
    const auto dumped = tooltest::RunTool(dir.path(), "dump data");
    EXPECT_EQ(dumped.status, 0) << dumped.err;
    EXPECT_EQ(Count(dumped.out, " -> "), 1u) << dumped.out;
    std::vector<std::string> withListing = Parts(row.parts);
    withListing.insert(withListing.begin() + 1, "RB000001.D01");
    EXPECT_EQ(Names(data), withListing);
    fs::remove(data / "RB000001.D01");

    // The view and check agree, before and after a generation with fewer parts.
    for (const char* job : {"", "small.json"}) {
      if (*job != '\0') {
        ASSERT_EQ(
            tooltest::RunTool(dir.path(), std::string("generate ") + job + " --data data").status,
            0);
        EXPECT_EQ(Names(data), std::vector<std::string>{"RB000001.C01"});
      }
      const auto checked = tooltest::RunTool(dir.path(), "check data");
      EXPECT_EQ(checked.status, 0) << checked.out;
      EXPECT_EQ(checked.out, "1 domain in " + std::to_string(*job ? 1 : row.parts) +
                                 (*job || row.parts == 1 ? " file" : " files") +
                                 " checked: every one is sound\n");
      fs::remove_all(fs::path(dir.path()) / "site");
      ASSERT_EQ(tooltest::RunTool(dir.path(), "view data -o site").status, 0);
      const std::string index = tooltest::ReadText(dir.File("site/data/index.js"));
      EXPECT_EQ(Count(index, R"("id":"d)"), 1u);
      EXPECT_EQ(Count(index, R"("clean":false)"), 0u);
    }
  }
}

}  // namespace

}  // namespace morvit
