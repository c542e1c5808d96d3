// `morvit demo [DIR]`: writes a sample project, runs the tool's commands on it and shows where
// everything is. The sample is the example job of examples/job.json, built into the tool.
#include <sqlite3.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <vector>

#include "cli/Commands.h"
#include "cli/EmbeddedTexts.h"
#include "cli/Failure.h"
#include "cli/Session.h"
#include "cli/ToolPlatform.h"

namespace morvit::tool {

// The text of examples/job.json (generated at build time).

namespace {

namespace fs = std::filesystem;

// The demo's own lines: none with --quiet.
std::ostream& Out() { return Session::Current().Out(); }

struct DemoOptions {
  std::string directory = "morvit-demo";
  bool force = false;
};

// Runs one of the tool's commands in this process; a failing step fails the demo.
void Step(const std::string& title, std::vector<std::string> arguments) {
  Out() << "\n== " << title << "\n$ morvit";
  for (const std::string& argument : arguments) Out() << ' ' << argument;
  Out() << "\n" << std::flush;
  if (Session::Current().Quiet() &&
      std::find(arguments.begin(), arguments.end(), "--quiet") == arguments.end()) {
    arguments.push_back("--quiet");
  }
  arguments.insert(arguments.begin(), "morvit");
  std::vector<const char*> argv;
  for (const std::string& argument : arguments) argv.push_back(argument.c_str());
  const int status = RunTool(static_cast<int>(argv.size()), argv.data());
  if (status != kExitSuccess)
    throw Failure(title + ": failed with exit status " + std::to_string(status));
}

// The first `count` lines of a text file.
void ShowHead(const fs::path& file, int count) {
  Out() << "\n-- " << Utf8(file) << " (first lines)\n";
  std::ifstream in(file);
  std::string line;
  for (int i = 0; i < count && std::getline(in, line); ++i) Out() << line << "\n";
}

// The rows of a query on a recorded run, columns separated by " | ".
void ShowRows(const std::string& database, const std::string& sql) {
  Out() << "\n-- " << sql << "\n";
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_exec(
        db, sql.c_str(),
        [](void*, int columns, char** values, char**) {
          for (int i = 0; i < columns; ++i)
            Out() << (i ? " | " : "") << (values[i] ? values[i] : "");
          Out() << "\n";
          return 0;
        },
        nullptr, nullptr);
  }
  sqlite3_close(db);
}

// One recorded run into ROOT/RUN.sqlite, and a look into the database.
void BackTranslate(const fs::path& root, const fs::path& data, const std::string& run) {
  const std::string database = Utf8(root / (run + ".sqlite"));
  Step("Back-translate: " + run,
       {"backtranslate", run, "--data", Utf8(data), "--project", Utf8(root), "--db", database,
        "--answer", "GetPCProgNo=1", "--answer", "GetMaxTask=3"});
  ShowRows(database, "SELECT command, result FROM run");
  ShowRows(database,
           "SELECT domain_file, operation, count(*) FROM calls GROUP BY domain_file, operation "
           "ORDER BY min(seq) LIMIT 12");
}

// The node's files under the project directory, and the object database that knows its
// libraries, so that the node domains list them and the library check finds them.
void WriteProjectFiles(const fs::path& root) {
  const std::pair<const char*, std::string> files[] = {
      {"CONTROL/NODE1.INI", "[node]\nname=PUMPS\nstations=3\n"},
      {"PCDATA/MATHLIB.PE_", std::string(2048, 'M')},
      {"DBDATA/DBLIB.DE_", std::string(1024, 'D')},
      {"objects.json",
       R"({"pcLibraries": [{"name": "MATHLIB", "description": "math blocks", "version": 7}],)"
       R"( "databaseLibraries": [{"name": "DBLIB", "version": 3}]})"},
  };
  for (const auto& [name, content] : files) {
    fs::create_directories((root / name).parent_path());
    std::ofstream out(root / name, std::ios::binary);
    out << content;
    out.close();
    if (!out) throw Failure(Utf8(root / name) + ": cannot be written");
  }
}

void ListDirectory(const fs::path& directory) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(directory)) {
    if (entry.is_regular_file()) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  for (const fs::path& file : files) {
    Out() << "  " << Utf8(file) << "  " << fs::file_size(file) << " bytes\n";
  }
}

int Demo(const DemoOptions& options) {
  const fs::path root = fs::absolute(PathFromUtf8(options.directory));
  // The demo writes its sample files over whatever has their names: only into a new or empty
  // directory, unless told otherwise.
  if (!options.force && fs::is_directory(root) && !fs::is_empty(root)) {
    throw Failure(options.directory +
                  ": the directory is not empty; the demo would overwrite "
                  "files in it (give an empty or new directory, or --force)");
  }
  const fs::path data = root / "data";
  fs::create_directories(data);
  const fs::path job = root / "job.json";
  std::ofstream out(job, std::ios::binary);
  out << EmbeddedTextNamed("examples/job.json");
  out.close();
  if (!out) throw Failure(Utf8(job) + ": cannot be written");
  Out() << "Sample project in " << Utf8(root) << "\n";
  WriteProjectFiles(root);
  Step("Generate the domains of the sample job",
       {"generate", Utf8(job), "--data", Utf8(data), "--project", Utf8(root)});
  {
    // Every domain file but the nodes' file lists, which have no listing.
    std::vector<std::string> arguments = {"dump", "--no-times"};
    for (const auto& entry : fs::directory_iterator(data)) {
      const std::string name = Utf8(entry.path().filename());
      if (name.size() == 12 && name[0] != 'X' && name[9] == 'C')
        arguments.push_back(Utf8(entry.path()));
    }
    std::sort(arguments.begin() + 2, arguments.end());
    Step("List every domain file beside it", arguments);
    ShowHead(data / "RB000001.D01", 16);
    ShowHead(data / "PD030001.D01", 16);
  }
  Step("Check the node's library files against the object database",
       {"check-libs", "--data", Utf8(data), "--project", Utf8(root)});
  BackTranslate(root, data, "node");
  BackTranslate(root, data, "db");
  ShowRows(Utf8(root / "db.sqlite"),
           "SELECT domain_file, text, name, byte_offset_coda FROM decoder_records ORDER BY seq");
  BackTranslate(root, data, "pc");
  Out() << "\n== Files\n";
  for (const char* directory : {".", "data", "CONTROL", "PCDATA", "DBDATA"}) {
    ListDirectory((root / directory).lexically_normal());
  }
  return kExitSuccess;
}

}  // namespace

CommandAction AddDemoCommand(CLI::App& app) {
  auto options = std::make_shared<DemoOptions>();
  CLI::App* command = app.add_subcommand(
      "demo", "Writes a sample project, runs the tool's commands on it and shows the results");
  command->add_option("DIR", options->directory, "where the sample project goes")
      ->default_val("morvit-demo");
  command->add_flag("--force", options->force, "write into a directory that is not empty");
  return [options] { return Demo(*options); };
}

}  // namespace morvit::tool
