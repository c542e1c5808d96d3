// `morvit implode` / `explode` on plain files: round trips in every mode and dictionary size,
// streams readable by an independent decoder, and refusals that leave no output behind.
#include <gtest/gtest.h>

#include <filesystem>

#include "fixtures/TestUtil.h"
#include "tool/ToolRun.h"

namespace morvit {

namespace {

using tooltest::RunTool;

// Text with repeats near and far, so that every dictionary size matters.
std::vector<std::uint8_t> SampleBytes(std::size_t size) {
  std::vector<std::uint8_t> bytes(size);
  for (std::size_t i = 0; i < size; ++i) {
    bytes[i] = static_cast<std::uint8_t>("controller domain "[i % 18] + (i / 3000) % 5);
  }
  return bytes;
}

TEST(CompressCommands, RoundTripInEveryModeAndDictionarySize) {
  testutil::ScratchDir dir;
  const auto input = SampleBytes(70000);
  testutil::WriteWholeFile(dir.File("in.bin"), input);
  for (const char* options : {"", "--ascii", "--dict 1024", "--dict 2048 --ascii"}) {
    SCOPED_TRACE(options);
    ASSERT_EQ(RunTool(dir.path(), std::string("implode in.bin z.imp ") + options).status, 0);
    const auto stream = testutil::ReadWholeFile(dir.File("z.imp"));
    EXPECT_LT(stream.size(), input.size() / 2);
    ASSERT_EQ(RunTool(dir.path(), "explode z.imp out.bin").status, 0);
    EXPECT_EQ(testutil::ReadWholeFile(dir.File("out.bin")), input);
  }
}

// The stream format is the published one: an independent decoder expands what the tool writes.
TEST(CompressCommands, IndependentDecoderReadsTheStream) {
  if (std::system("command -v dynamite >/dev/null 2>&1") != 0) GTEST_SKIP() << "no dynamite";
  testutil::ScratchDir dir;
  const auto input = SampleBytes(20000);
  testutil::WriteWholeFile(dir.File("in.bin"), input);
  ASSERT_EQ(RunTool(dir.path(), "implode in.bin z.imp --dict 2048").status, 0);
  const std::string command =
      "dynamite '" + dir.File("z.imp") + "' '" + dir.File("peer.bin") + "' >/dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0);
  EXPECT_EQ(testutil::ReadWholeFile(dir.File("peer.bin")), input);
}

// Failed runs: a message naming the file and the cause, exit status 1 (2 for usage), and no
// output file, not even a partial one.
TEST(CompressCommands, FailuresNameTheFileAndLeaveNoOutput) {
  struct Case {
    const char* name;
    const char* arguments;
    int status;
    const char* message;
  };
  const Case cases[] = {
      {"missing input", "explode absent.imp out.bin", 1, "absent.imp: file not found"},
      {"stream cut short", "explode cut.imp out.bin", 1,
       "cut.imp: compressed stream damaged or cut short"},
      {"too short for a stream", "explode tiny.imp out.bin", 1,
       "tiny.imp: too short for a compressed stream"},
      {"bad size code", "explode badsize.imp out.bin", 1, "badsize.imp: dictionary size"},
      {"output directory missing", "implode in.bin nodir/out.bin", 1,
       "out.bin.partial: file not found"},
      {"dictionary size not offered", "implode in.bin out.bin --dict 3000", 2, "--dict"},
      {"output missing", "implode in.bin", 2, "OUT is required"},
      {"unknown option", "explode in.bin out.bin --dict 1024", 2, "--dict"},
  };
  testutil::ScratchDir dir;
  testutil::WriteWholeFile(dir.File("in.bin"), SampleBytes(9000));
  ASSERT_EQ(RunTool(dir.path(), "implode in.bin whole.imp").status, 0);
  auto stream = testutil::ReadWholeFile(dir.File("whole.imp"));
  testutil::WriteWholeFile(
      dir.File("cut.imp"),
      std::vector<std::uint8_t>(stream.begin(), stream.begin() + stream.size() / 2));
  testutil::WriteWholeFile(dir.File("tiny.imp"), {0, 6, 1});
  stream[1] = 9;
  testutil::WriteWholeFile(dir.File("badsize.imp"), stream);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto result = RunTool(dir.path(), c.arguments);
    EXPECT_EQ(result.status, c.status);
    EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
    EXPECT_FALSE(std::filesystem::exists(dir.File("out.bin")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("out.bin.partial")));
  }
}

TEST(ToolCommandLine, HelpVersionAndUsageErrors) {
  testutil::ScratchDir dir;
  const struct {
    const char* arguments;
    int status;
    const char* text;
  } cases[] = {
      {"--version", 0, "morvit 1.0"},
      {"--help", 0, "Subcommands:"},
      {"implode --help", 0, "Usage: morvit implode"},
      {"generate --help", 0, "Usage: morvit generate"},
      {"", 2, "a command is required"},
      {"--frobnicate", 2, "Run with --help"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments);
    const auto result = RunTool(dir.path(), c.arguments);
    EXPECT_EQ(result.status, c.status);
    EXPECT_NE((result.out + result.err).find(c.text), std::string::npos)
        << result.out << result.err;
  }
}

}  // namespace

}  // namespace morvit
