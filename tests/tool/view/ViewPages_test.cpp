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

ListingEvent Value(std::int64_t offset, int width, const char* label, const char* kind,
                   const char* value) {
  ListingEvent e;
  e.kind = Kind::value;
  e.offset = offset;
  e.width = width;
  e.label = label;
  e.name = kind;
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

// One element inside a section: its fields (the last two short: they follow the one before,
// unlabelled, with their plain values), the values beside the fields they end on, its key and name
// in its title; a stray end, a stop; then a second part file.
TEST(ViewPages, DomainPageRowsAndOutline) {
  testutil::ScratchDir dir;
  morvit::tool::DomainPage page(dir.path(), "d7");
  for (const ListingEvent& e :
       {Simple(Kind::file, "RB000001.C01"), Field(0, "OffsetToLastByte", "213", "00d5"),
        Begin("section"), Begin("element", 4256, "PageBreak"), Field(50, "Key", "1"),
        Field(52, "", "<b>\n\xff"), Field(54, "", "1"), Field(56, "", "1"),
        Value(50, 2, "key", "key", "7"), Value(52, 4, "name", "name", "P\xc3\xbc"),
        Simple(Kind::end), Simple(Kind::end), Simple(Kind::end),
        Simple(Kind::stop, "cut \"short\"", 54), Simple(Kind::file, "RB010001.C01"),
        Field(0, "Key", "2")}) {
    page.Add(e);
  }
  page.Finish(R"("id":"d7")");
  EXPECT_EQ(tooltest::ReadText(dir.File("data/d7/c0.js")),
            R"(MorvitSite.deliver("data/d7/c0.js",[[0],[0,2,"00d5","213",0,1],[1],[2],)"
            R"([50,2,"0001","1",1,3,[[3,"key","7"]]],[52,2,"0001","<b>\n\u00ff",2,3],)"
            R"(["0001",[[4,"name","P\u00fc"]]],"0001",["stop",54,"cut \"short\"",1],[3],)"
            R"([0,2,"0001","2",1,1]]);)"
            "\n");
  EXPECT_EQ(
      tooltest::ReadText(dir.File("data/d7/outline.js")),
      R"(MorvitSite.deliver("data/d7/outline.js",{"id":"d7","rows":11,"chunkRows":4096,)"
      R"("searchFiles":1,"searchChunks":16,"collapse":false,"labels":["OffsetToLastByte","Key","","key","name"],)"
      R"("nodes":{"row":[0,2,3,9],"end":[9,8,8,11],"depth":[0,1,2,0],"offset":[0,0,0,0],)"
      R"("kind":["file","section","element","file"],)"
      R"("title":["file RB000001.C01","section at 0","entry 7 \"P\u00fc\" at 0",)"
      R"("file RB010001.C01"]}});)"
      "\n");
  // The search index: a label character a row (U+00FF for none, U+0100 and up the label's
  // number), the values' texts a line a row, the chunk's lowest offset and the end of its highest.
  EXPECT_EQ(
      tooltest::ReadText(dir.File("data/d7/s0.js")),
      R"(MorvitSite.deliver("data/d7/s0.js",[[")"
      "\xc3\xbf\xc4\x80\xc3\xbf\xc3\xbf\xc4\x81\xc4\x82\xc4\x82\xc4\x82\xc3\xbf\xc3\xbf\xc4\x81"
      R"(","\n\n\n\nkey = 7\n\nname = \"P\u00fc\"\n\nstop 54 cut \"short\"\n\n\n",0,58]]);)"
      "\n");
}

}  // namespace

}  // namespace morvit
