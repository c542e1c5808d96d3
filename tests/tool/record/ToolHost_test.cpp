// The progress bar's output in each style, and the tool's host: progress messages reach the
// bar, run events name the domain file, Ctrl-C answers the cancel query, and leaving restores all.
#include "record/ToolHost.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sstream>

namespace morvit {

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
  plain.SetFilesToDo(3);
  Feed(plain);
  EXPECT_EQ(lines.str(),
            "[0/3] RB000001.C01  25%\n[0/3] RB000001.C01  60%\n[1/3] RB000001.C01  100%\n"
            "[2/3] PB000003.C01  100%\n");

  std::ostringstream terminal;
  ProgressBar inPlace(terminal, ProgressBar::Style::kTerminal);
  inPlace.Update("NB000001.C01", 50);
  inPlace.Update("NB000001.C01", 50);  // unchanged: not redrawn
  inPlace.Update("NB000001.C01", 100);
  inPlace.Finish();
  EXPECT_EQ(terminal.str(),
            "\r\033[K[0/1] NB000001.C01 [###############...............] 50%"
            "\r\033[K[1/1] NB000001.C01 [##############################] 100%\n");

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
    ToolHost host(bar, [&](const std::string& file, std::uint16_t) { files.push_back(file); });
    EXPECT_EQ(&Host(), &host);
    EXPECT_EQ(Host().SendMessageToUI(kMessageProgress, 100, "NB000001.C01"), 0);
    Host().DomainBegun("NB000001.C01", 3);
    Host().DomainEnded("NB000001.C01", 3);
    EXPECT_EQ(Host().SendMessageToUI(kMessageCancelQuery, 0, ""), 0);
    std::raise(SIGINT);
    EXPECT_TRUE(ToolHost::Interrupted());
    EXPECT_EQ(Host().SendMessageToUI(kMessageCancelQuery, 0, ""), 1);
    EXPECT_EQ(Host().SendMessageToUI(kMessageCancelQuery, 0, ""), 1);
  }
  EXPECT_NE(&Host(), nullptr);
  EXPECT_EQ(files, (std::vector<std::string>{"NB000001.C01", ""}));
  EXPECT_EQ(out.str(), "[1/1] NB000001.C01  100%\n");
  struct sigaction restored {};
  sigaction(SIGINT, nullptr, &restored);
  EXPECT_EQ(restored.sa_handler, SIG_DFL);
  // A new run starts without the old interrupt.
  ToolHost next(bar, nullptr);
  EXPECT_EQ(Host().SendMessageToUI(kMessageCancelQuery, 0, ""), 0);
}

}  // namespace

}  // namespace morvit
