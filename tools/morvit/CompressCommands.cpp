// `morvit implode` and `morvit explode`: the compression engine on plain files.
#include <filesystem>

#include "Commands.h"
#include "Failure.h"
#include "morvit/VFileCompression.h"

namespace morvit::tool {
namespace {

struct CompressOptions {
  std::string input;
  std::string output;
  bool ascii = false;
  unsigned dictionary = 4096;
};

CLI::App* AddFileArguments(CLI::App& command, CompressOptions& options) {
  command.add_option("IN", options.input, "the file to read")->required();
  command.add_option("OUT", options.output, "the file to write (appears only when complete)")
      ->required();
  return &command;
}

// An OUT that is IN under another name (a link, another spelling) would be overwritten while it
// is read: refused. The same device and file number is the same file.
void RefuseSameFile(const CompressOptions& options) {
  std::error_code error;
  if (std::filesystem::equivalent(options.input, options.output, error)) {
    throw Failure(options.output + ": the same file as the input " + options.input +
                  "; give another output file");
  }
}

// A result other than success as a failure naming the input.
int Finish(int result, const std::string& input) {
  if (result != kCompressOk) throw Failure(input + ": " + CompressResultText(result));
  return kExitSuccess;
}

}  // namespace

CommandAction AddImplodeCommand(CLI::App& app) {
  auto options = std::make_shared<CompressOptions>();
  CLI::App* command = app.add_subcommand("implode", "Compresses a file into a DCL implode stream");
  AddFileArguments(*command, *options);
  command->add_flag("--ascii", options->ascii, "code literals for text (default: binary)");
  command->add_option("--dict", options->dictionary, "dictionary size in bytes")
      ->check(CLI::IsMember({1024u, 2048u, 4096u}))
      ->default_val(4096);
  return [options] {
    RefuseSameFile(*options);
    return Finish(
        ImplodeFile(options->input, options->output, options->ascii ? 1 : 0, options->dictionary),
        options->input);
  };
}

CommandAction AddExplodeCommand(CLI::App& app) {
  auto options = std::make_shared<CompressOptions>();
  CLI::App* command =
      app.add_subcommand("explode", "Expands a DCL implode stream (any mode and dictionary size)");
  AddFileArguments(*command, *options);
  return [options] {
    RefuseSameFile(*options);
    return Finish(ExplodeFile(options->input, options->output), options->input);
  };
}

}  // namespace morvit::tool
