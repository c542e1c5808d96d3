// The data behind a domain's page: its rows and outline from a stream of listing events.
#include <gtest/gtest.h>

#include <filesystem>

#include "fixtures/TestUtil.h"
#include "tool/ToolRun.h"
#include "view/DomainPage.h"

namespace morvit {

namespace {

using morvit::tool::ListingEvent;
using Kind = ListingEvent::Kind;

ListingEvent Begin(const char* structure, long code = -1, const char* codeName = "") {
  ListingEvent e;
  e.kind = Kind::begin;
  e.structure = structure;
  e.code = code;
  e.codeName = codeName;
  return e;
}

ListingEvent Field(std::int64_t offset, const char* label, const char* value,
                   const char* hex = "0001") {
  ListingEvent e;
  e.offset = offset;
  e.width = 2;
  e.hex = hex;
  e.label = label;
  e.value = value;
  return e;
}

ListingEvent Simple(Kind kind, const char* label = "", std::int64_t offset = 0) {
  ListingEvent e;
  e.kind = kind;
  e.label = label;
  e.offset = offset;
  return e;
}

// One element with two fields inside a section, a stray end, a stop; then a second part file.
TEST(ViewPages, DomainPageRowsAndOutline) {
  testutil::ScratchDir dir;
  morvit::tool::DomainPage page(dir.path(), "d7");
  for (const ListingEvent& e :
       {Simple(Kind::file, "RB000001.C01"), Field(0, "OffsetToLastByte", "213", "00d5"),
        Begin("section"), Begin("element", 4256, "PageBreak"), Field(50, "Key", "1"),
        Field(52, "", "<b>\n\xff"), Simple(Kind::end), Simple(Kind::end), Simple(Kind::end),
        Simple(Kind::stop, "cut \"short\"", 54), Simple(Kind::file, "RB010001.C01"),
        Field(0, "Key", "2")}) {
    page.Add(e);
  }
  page.Finish(R"("id":"d7")");
  EXPECT_EQ(
      tooltest::ReadText(dir.File("data/d7/c0.js")),
      R"(MorvitSite.deliver("data/d7/c0.js",[[0],[0,2,"00d5","213",0,1],[1],[2],[50,2,"0001","1",1,3],)"
      R"([52,2,"0001","<b>\n\u00ff",2,3],["stop",54,"cut \"short\"",1],[3],[0,2,"0001","2",1,1]]);)"
      "\n");
  EXPECT_EQ(tooltest::ReadText(dir.File("data/d7/outline.js")),
            R"(MorvitSite.deliver("data/d7/outline.js",{"id":"d7","rows":9,"chunkRows":4096,)"
            R"("collapse":false,"labels":["OffsetToLastByte","Key",""],"nodes":{"row":[0,2,3,7],)"
            R"("end":[7,6,6,9],"depth":[0,1,2,0],"kind":["file","section","element","file"],)"
            R"("title":["file RB000001.C01","section at 0","element code 4256 PageBreak at 0",)"
            R"("file RB010001.C01"]}});)"
            "\n");
}

}  // namespace

}  // namespace morvit
