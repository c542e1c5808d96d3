// The progress bar's output in each style, and the tool's host: progress messages reach the
// bar and name the domain file, Ctrl-C answers the cancel query, and leaving restores all.
#include "ToolHost.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sstream>

namespace {

using morvit::tool::ProgressBar;
using morvit::tool::ToolHost;

void Feed(ProgressBar& bar) {
  for (int percent : {10, 25, 25, 60, 100}) bar.Update("RB000001.C01", percent);
  bar.Update("PB000003.C01", 100);
  bar.Finish();
}

TEST(ProgressBar, DrawsEachStyle) {
  std::ostringstream lines;
  ProgressBar plain(lines, ProgressBar::Style::kLines);
  Feed(plain);
  EXPECT_EQ(lines.str(),
            "RB000001.C01  25%\nRB000001.C01  60%\nRB000001.C01  100%\nPB000003.C01  100%\n");

  std::ostringstream terminal;
  ProgressBar inPlace(terminal, ProgressBar::Style::kTerminal);
  inPlace.Update("NB000001.C01", 50);
  inPlace.Update("NB000001.C01", 50);  // unchanged: not redrawn
  inPlace.Update("NB000001.C01", 100);
  inPlace.Finish();
  EXPECT_EQ(terminal.str(),
            "\r\033[KNB000001.C01 [###############...............] 50%"
            "\r\033[KNB000001.C01 [##############################] 100%\n");

  std::ostringstream none;
  ProgressBar quiet(none, ProgressBar::Style::kNone);
  Feed(quiet);
  EXPECT_EQ(none.str(), "");
}

TEST(ToolHost, ProgressNamesTheDomainFileAndInterruptCancels) {
  std::ostringstream out;
  ProgressBar bar(out, ProgressBar::Style::kLines);
  std::vector<std::string> files;
  {
    ToolHost host(bar, [&](const std::string& file) { files.push_back(file); });
    EXPECT_EQ(&Host(), &host);
    EXPECT_EQ(Host().SendMessageToUI(kMessageProgress, 100, "NB000001.C01"), 0);
    EXPECT_EQ(Host().SendMessageToUI(kMessageCancelQuery, 0, ""), 0);
    std::raise(SIGINT);
    EXPECT_TRUE(ToolHost::Interrupted());
    EXPECT_EQ(Host().SendMessageToUI(kMessageCancelQuery, 0, ""), 1);
    EXPECT_EQ(Host().SendMessageToUI(kMessageCancelQuery, 0, ""), 1);
  }
  EXPECT_NE(&Host(), nullptr);
  EXPECT_EQ(files, std::vector<std::string>{"NB000001.C01"});
  EXPECT_EQ(out.str(), "NB000001.C01  100%\n");
  struct sigaction restored {};
  sigaction(SIGINT, nullptr, &restored);
  EXPECT_EQ(restored.sa_handler, SIG_DFL);
  // A new run starts without the old interrupt.
  ToolHost next(bar, nullptr);
  EXPECT_EQ(Host().SendMessageToUI(kMessageCancelQuery, 0, ""), 0);
}

}  // namespace
