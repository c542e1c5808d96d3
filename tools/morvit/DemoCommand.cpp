// `morvit demo [DIR]`: writes a sample project, runs the tool's commands on it and shows where
// everything is. The sample is the example job of examples/job.json, built into the tool.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <vector>

#include "Commands.h"
#include "Failure.h"

namespace morvit::tool {

// The text of examples/job.json (generated at build time).
extern const char* const kExampleJob;

namespace {

namespace fs = std::filesystem;

struct DemoOptions {
  std::string directory = "morvit-demo";
};

// Runs one of the tool's commands in this process; a failing step fails the demo.
void Step(const std::string& title, std::vector<std::string> arguments) {
  std::cout << "\n== " << title << "\n$ morvit";
  for (const std::string& argument : arguments) std::cout << ' ' << argument;
  std::cout << "\n" << std::flush;
  arguments.insert(arguments.begin(), "morvit");
  std::vector<const char*> argv;
  for (const std::string& argument : arguments) argv.push_back(argument.c_str());
  const int status = RunTool(static_cast<int>(argv.size()), argv.data());
  if (status != kExitSuccess)
    throw Failure(title + ": failed with exit status " + std::to_string(status));
}

void ListDirectory(const fs::path& directory) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(directory)) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  for (const fs::path& file : files) {
    std::cout << "  " << file.string() << "  " << fs::file_size(file) << " bytes\n";
  }
}

int Demo(const DemoOptions& options) {
  const fs::path root = fs::absolute(options.directory);
  const fs::path data = root / "data";
  fs::create_directories(data);
  const fs::path job = root / "job.json";
  std::ofstream out(job);
  out << kExampleJob;
  out.close();
  if (!out) throw Failure(job.string() + ": cannot be written");
  std::cout << "Sample project in " << root.string() << "\n";
  Step("Generate the domains of the sample job", {"generate", job.string(), "--data", data});
  std::cout << "\n== Files\n";
  ListDirectory(data);
  return kExitSuccess;
}

}  // namespace

CommandAction AddDemoCommand(CLI::App& app) {
  auto options = std::make_shared<DemoOptions>();
  CLI::App* command = app.add_subcommand(
      "demo", "Writes a sample project, runs the tool's commands on it and shows the results");
  command->add_option("DIR", options->directory, "where the sample project goes")
      ->default_val("morvit-demo");
  return [options] { return Demo(*options); };
}

}  // namespace morvit::tool
