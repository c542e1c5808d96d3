// `morvit view DATA [-o OUT] [--listings]`: the static site of a data set, to look at in a browser.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "cli/Commands.h"
#include "cli/Failure.h"
#include "cli/Interrupts.h"
#include "cli/ScratchDirectory.h"
#include "cli/ToolPlatform.h"
#include "view/ViewSite.h"

namespace morvit::tool {
namespace {

namespace fs = std::filesystem;

struct ViewOptions {
  std::string data;
  std::string out = "morvit-view";
  bool listings = false;
};

// The file that marks a directory as a site of this command: only such a directory (or an
// empty or new one) is written over.
constexpr const char* kSiteMark = ".morvit-view";

void CheckTarget(const fs::path& data, const fs::path& site) {
  const fs::path a = fs::weakly_canonical(data), b = fs::weakly_canonical(site);
  const auto inside = [](const fs::path& inner, const fs::path& outer) {
    const auto [end, ignored] =
        std::mismatch(outer.begin(), outer.end(), inner.begin(), inner.end());
    return end == outer.end();
  };
  if (inside(b, a) || inside(a, b))
    throw Failure(Utf8(site) + ": the site may not go into the data set, nor hold it");
  if (fs::exists(site) && !fs::is_empty(site) && !fs::exists(site / kSiteMark))
    throw Failure(Utf8(site) + ": exists and is not a site of morvit view; choose another with -o");
}

int View(const ViewOptions& options) {
  const fs::path data = fs::absolute(PathFromUtf8(options.data));
  const fs::path site = fs::absolute(PathFromUtf8(options.out));
  if (!fs::is_directory(data)) throw Failure(options.data + ": not a directory");
  CheckTarget(data, site);
  // The site is built beside OUT and put in place whole at the end: until then OUT stays as it
  // was (an earlier site whole), whatever stops the run.
  fs::create_directories(site.parent_path());
  ScratchDirectory building("view", site.parent_path());
  std::ofstream(building.Path() / kSiteMark, std::ios::binary).close();
  const SiteSummary summary = WriteSite(data, building.Path(), SiteOptions{options.listings});
  InterruptMoment("view:install");
  StopIfInterrupted();
  building.MoveTo(site);
  std::cout << summary.domains << " domains (" << summary.damaged << " damaged) -> "
            << Utf8(site / "index.html") << "\n";
  return kExitSuccess;
}

}  // namespace

CommandAction AddViewCommand(CLI::App& app) {
  auto options = std::make_shared<ViewOptions>();
  CLI::App* command = app.add_subcommand(
      "view", "Writes a static HTML site of a data set, to open in a browser from the disk");
  command->add_option("DATA", options->data, "the data-set directory")->required();
  command->add_option("-o,--out", options->out, "where the site goes (default: morvit-view)");
  command->add_flag("--listings", options->listings,
                    "the text listing of every domain, also of large ones (in pieces)");
  return [options] { return View(*options); };
}

}  // namespace morvit::tool
