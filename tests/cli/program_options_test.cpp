// Both programs answer --help and --version as GNU programs do (help2man
// makes the man pages from them), without a display.
#include <gtest/gtest.h>

#include "cli_run.h"

namespace {

struct OptionCase {
  const char* name;
  bool gui;
  const char* args;
  const char* firstLine;  // the start of standard output
  const char* mentions;   // somewhere in it
};

class ProgramOptions : public testing::TestWithParam<OptionCase> {};

TEST_P(ProgramOptions, AnswerOnStandardOutput) {
  const OptionCase& c = GetParam();
#ifdef TAVIRON_GUI_PATH
  const std::string program = c.gui ? TAVIRON_GUI_PATH : TAVIRON_CLI_PATH;
#else
  if (c.gui) GTEST_SKIP() << "the desktop application is not built";
  const std::string program = TAVIRON_CLI_PATH;
#endif
  const tavtest::CliRun r = tavtest::runProgram("env -u DISPLAY " + program, c.args);
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out.rfind(c.firstLine, 0), 0u) << r.out;
  EXPECT_NE(r.out.find(c.mentions), std::string::npos) << r.out;
}

INSTANTIATE_TEST_SUITE_P(
    Programs, ProgramOptions,
    testing::Values(
        OptionCase{"CliVersion", false, "--version", "taviron-cli 2.90\n", "GPL version 3"},
        OptionCase{"CliHelp", false, "--help", "Taviron command-line tool", "roomcheck"},
        OptionCase{"GuiVersion", true, "--version", "taviron 2.90\n", "GPL version 3"},
        OptionCase{"GuiHelpAfterAFile", true, "hall.TPR -h", "Usage: taviron [OPTION]...",
                   "--version"}),
    [](const testing::TestParamInfo<OptionCase>& info) { return std::string(info.param.name); });

}  // namespace
