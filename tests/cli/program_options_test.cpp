// Both programs answer --help and --version as GNU programs do (help2man
// makes the man pages from them), without a display.
#include <gtest/gtest.h>

#include "cli_run.h"

namespace {

struct OptionCase {
  const char* name;
  const char* program;  // "cli" or "gui"
  const char* args;
  int exitCode;
  const char* firstLine;  // the start of standard output
  const char* mentions;   // somewhere in standard output
};

class ProgramOptions : public testing::TestWithParam<OptionCase> {};

TEST_P(ProgramOptions, AnswerOnStandardOutput) {
  const OptionCase& c = GetParam();
  std::string program = TAVIRON_CLI_PATH;
  if (std::string(c.program) == "gui") {
#ifdef TAVIRON_GUI_PATH
    program = TAVIRON_GUI_PATH;
#else
    GTEST_SKIP() << "the desktop application is not built";
#endif
  }
  // No display: the answer must not need one.
  const tavtest::CliRun r =
      tavtest::runProgram("env -u DISPLAY -u WAYLAND_DISPLAY " + program, c.args);
  EXPECT_EQ(r.exitCode, c.exitCode) << r.err;
  EXPECT_EQ(r.out.rfind(c.firstLine, 0), 0u) << r.out;
  EXPECT_NE(r.out.find(c.mentions), std::string::npos) << r.out;
}

INSTANTIATE_TEST_SUITE_P(
    Programs, ProgramOptions,
    testing::Values(
        OptionCase{"CliVersion", "cli", "--version", 0, "taviron-cli 2.90\n", "GPL version 3"},
        OptionCase{"CliHelp", "cli", "--help", 0, "Taviron command-line tool", "roomcheck"},
        OptionCase{"GuiVersion", "gui", "--version", 0, "taviron 2.90\n", "GPL version 3"},
        OptionCase{"GuiHelp", "gui", "--help", 0, "Usage: taviron [OPTION]... [FILE.TPR]",
                   "--version"},
        OptionCase{"GuiHelpAfterAFile", "gui", "hall.TPR -h", 0, "Usage: taviron", "FILE.TPR"}),
    [](const testing::TestParamInfo<OptionCase>& info) { return std::string(info.param.name); });

TEST(ProgramOptions, UnknownOptionOfTheDesktopApplicationIsAUsageError) {
#ifdef TAVIRON_GUI_PATH
  const tavtest::CliRun r = tavtest::runProgram(
      "env QT_QPA_PLATFORM=offscreen " + std::string(TAVIRON_GUI_PATH), "--frobnicate");
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.err.find("taviron --help"), std::string::npos) << r.err;
#else
  GTEST_SKIP() << "the desktop application is not built";
#endif
}

}  // namespace
