// The README's tour, run as written: its lines from the README itself, in a scratch directory
// (for /tmp) with the built tool as `morvit`. Every line succeeds, no line warns, and the
// tour's last generation leaves the data set as its first one wrote it.
#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "fixtures/TestUtil.h"
#include "tool/ToolRun.h"

namespace morvit {

namespace {

// The lines of the shell block under the README's heading "A two-minute tour".
std::vector<std::string> TourLines() {
  std::istringstream readme(tooltest::ReadText(MORVIT_SOURCE_DIR "/README.md"));
  std::vector<std::string> lines;
  std::string line;
  bool inTour = false;
  bool inBlock = false;
  while (std::getline(readme, line)) {
    if (line.starts_with("## ")) inTour = line == "## A two-minute tour";
    if (!inTour) continue;
    if (line.starts_with("```")) {
      if (inBlock) break;
      inBlock = true;
    } else if (inBlock) {
      lines.push_back(line);
    }
  }
  return lines;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos;
       at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

TEST(ReadmeTour, RunsAsWritten) {
  const std::vector<std::string> lines = TourLines();
  ASSERT_GE(lines.size(), 8u);
  testutil::ScratchDir dir;
  const std::string root = dir.path().string() + "/";
  // After each line its exit status; after the first generation the data set's checksums.
  std::string script = "morvit() { \"$MORVIT\" \"$@\"; }\n";
  for (const std::string& line : lines) {
    script += Replace(line, "/tmp/", root) + "\necho \"$?\" >> '" + root + "statuses'\n";
    if (line.starts_with("morvit generate") && script.find("sums") == std::string::npos) {
      script += "sha1sum data/* > '" + root + "generated.sums'\n";
    }
  }
  script += "sha1sum data/* > '" + root + "final.sums'\n";
  const auto result = tooltest::RunScript(root, script);
  EXPECT_EQ(tooltest::ReadText(root + "statuses"),
            Replace(std::string(lines.size(), '0'), "0", "0\n"))
      << result.err;
  EXPECT_EQ(result.err.find("warning"), std::string::npos) << result.err;
  const std::string generated = tooltest::ReadText(root + "generated.sums");
  EXPECT_NE(generated, "");
  EXPECT_EQ(tooltest::ReadText(root + "final.sums"), generated);
}

}  // namespace

}  // namespace morvit
