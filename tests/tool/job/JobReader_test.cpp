// The job read as a stream of pieces: where each piece is cut, and the line and column of the
// values in it, whatever the strings around them hold.
#include "job/JobReader.h"

#include <gtest/gtest.h>

#include <fstream>

#include "fixtures/TestUtil.h"

namespace morvit {

namespace {

using morvit::tool::JobFaults;
using morvit::tool::JobSource;
using morvit::tool::JobUnit;

// Lists every piece as "KIND PATH VALUE" and the places of the values asked for in it.
class Listing : public morvit::tool::JobUnitSink {
 public:
  // Paths of values by the path of the piece that holds them.
  using Paths = std::vector<std::pair<std::string, std::string>>;
  explicit Listing(Paths paths) : m_paths(std::move(paths)) {}
  void Item(std::size_t domain, const std::string& member, JobUnit& item) override {
    Note("item " + std::to_string(domain) + " " + member, item);
  }
  void Domain(std::size_t, JobUnit& head) override { Note("domain", head); }
  void Job(JobUnit& job) override { Note("job", job); }
  std::string text;

 private:
  void Note(const std::string& kind, const JobUnit& unit) {
    text += kind + " " + unit.path + " " + unit.value.dump() + "\n";
    for (const auto& [piece, path] : m_paths) {
      if (piece != unit.path) continue;
      const auto place = unit.PlaceOf(path);
      text += "  " + path + " at " + std::to_string(place.line) + ":" +
              std::to_string(place.column) + "\n";
    }
  }
  Paths m_paths;
};

TEST(JobReader, CutsTheJobIntoPiecesAndPlacesEveryValue) {
  testutil::ScratchDir dir;
  // Strings that hold quotes, colons, commas, brackets and a two-byte character before values.
  std::ofstream(dir.File("job.json"))
      << "{\"domains\": [\n"
         "  {\"type\": \"NOBA\", \"texts\": [\"a \\\"b\\\": [c], {\", \"\xc3\xa9t\xc3\xa9\"],\n"
         "   \"object\":   7},\n"
         "  {\"records\": [{\"entry\": {\"key\": \"\xc3\xa9\", \"values\": [1,\n"
         "      -2.5e1, true, null]}}], \"version\": 3}\n"
         "], \"x\": false}\n";
  Listing listing({{"domains[0].texts[1]", "domains[0].texts[1]"},
                   {"domains[0]", "domains[0].object"},
                   {"domains[1].records[0]", "domains[1].records[0].entry.values[1]"},
                   {"domains[1].records[0]", "domains[1].records[0].entry.values[2]"},
                   {"domains[1]", "domains[1].version"},
                   {"", "x"}});
  JobSource source(dir.File("job.json"));
  JobFaults faults(source.Name());
  source.Read(listing, faults);
  EXPECT_TRUE(faults.Empty());
  EXPECT_EQ(listing.text,
            "item 0 texts domains[0].texts[0] \"a \\\"b\\\": [c], {\"\n"
            "item 0 texts domains[0].texts[1] \"\xc3\xa9t\xc3\xa9\"\n"
            "  domains[0].texts[1] at 2:49\n"
            "domain domains[0] {\"object\":7,\"texts\":[],\"type\":\"NOBA\"}\n"
            "  domains[0].object at 3:16\n"
            "item 1 records domains[1].records[0] "
            "{\"entry\":{\"key\":\"\xc3\xa9\",\"values\":[1,-25.0,true,null]}}\n"
            "  domains[1].records[0].entry.values[1] at 5:7\n"
            "  domains[1].records[0].entry.values[2] at 5:15\n"
            "domain domains[1] {\"records\":[],\"version\":3}\n"
            "  domains[1].version at 5:42\n"
            "job  {\"domains\":[],\"x\":false}\n"
            "  x at 6:9\n");
}

}  // namespace

}  // namespace morvit
