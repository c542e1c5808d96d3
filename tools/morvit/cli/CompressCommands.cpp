// `morvit implode` and `morvit explode`: the compression engine on plain files, or on
// standard input and output ("-").
#include <filesystem>

#include "cli/Commands.h"
#include "cli/Failure.h"
#include "cli/Session.h"
#include "cli/StandardStreams.h"
#include "cli/ToolPlatform.h"
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
  command.add_option("IN", options.input, "the file to read (- for standard input)")->required();
  command
      .add_option("OUT", options.output,
                  "the file to write, appearing only when complete (- for standard output)")
      ->required()
      ->each([](const std::string& value) {
        if (IsStandardStream(value)) Session::Current().ClaimStandardOutput("OUT -");
      });
  return &command;
}

// An OUT that is IN under another name (a link, another spelling) would be overwritten while it
// is read: refused. The same device and file number is the same file.
void RefuseSameFile(const CompressOptions& options) {
  std::error_code error;
  if (std::filesystem::equivalent(PathFromUtf8(options.input), PathFromUtf8(options.output),
                                  error)) {
    throw Failure(options.output + ": the same file as the input " + options.input +
                  "; give another output file");
  }
}

// Runs `pass(in, out)` between the command's files: standard input is staged in a temporary
// file, and standard output gets the result only once it is complete. A result other than
// success is a failure naming the input.
template <typename Pass>
int Run(const CompressOptions& options, Pass&& pass) {
  RefuseSameFile(options);
  const InputFile input(options.input);
  OutputFile output(options.output);
  const int result = pass(input.Path(), output.Path());
  if (result != kCompressOk) throw Failure(input.Shown() + ": " + CompressResultText(result));
  output.Commit();
  Session::Current().Note(
      input.Shown() + ": " +
      std::to_string(std::filesystem::file_size(PathFromUtf8(input.Path()))) + " bytes in, " +
      std::to_string(std::filesystem::file_size(PathFromUtf8(output.Path()))) + " bytes out");
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
    return Run(*options, [&](const std::string& in, const std::string& out) {
      return ImplodeFile(in, out, options->ascii ? 1 : 0, options->dictionary);
    });
  };
}

CommandAction AddExplodeCommand(CLI::App& app) {
  auto options = std::make_shared<CompressOptions>();
  CLI::App* command =
      app.add_subcommand("explode", "Expands a DCL implode stream (any mode and dictionary size)");
  AddFileArguments(*command, *options);
  return [options] { return Run(*options, ExplodeFile); };
}

}  // namespace morvit::tool
