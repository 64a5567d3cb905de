// taviron-cli run as a user runs it: JSON on stdout, messages on stderr,
// exit code 2 for files that cannot be read.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "cli_run.h"
#include "model/project_bytes_builder.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;

namespace {

using tavtest::CliRun;
using tavtest::runCli;

fs::path writeTemp(const std::string& name, const std::vector<std::uint8_t>& bytes) {
  static tavtest::TempFolder dir;
  return dir.write(name, bytes);
}

}  // namespace

// The JSON of the sample project built byte by byte; reading either layout is
// the reader's own test.
TEST(CliInfo, ReportsTheProjectAndMissingOrWrongFilesExitWith2) {
  const auto j = tavtest::runCliJson(
      "info " + writeTemp("v280.TPR", tavtest::sampleV280(true).bytes).string());
  EXPECT_EQ(j["format"], "TAVIRON V2.80");
  EXPECT_EQ(j["objectCount"], 8);
  EXPECT_EQ(j["objectsByLayer"]["0"], 1);
  EXPECT_EQ(j["faceCount"], 1);
  EXPECT_EQ(j["hasMap"], true);
  EXPECT_EQ(j["settings"]["rtMethod"], 2);
  EXPECT_FLOAT_EQ(j["settings"]["measuredRT"][6].get<float>(), 0.75f);
  EXPECT_EQ(j["settings"]["calculationOptions"]["includeRoom"], 3);
  EXPECT_EQ(j["printHeader"]["rows"][0]["value"], "Hall");

  tavtest::runCliFailing("info /nonexistent/dir/none.TPR", 2, "Can\u00B4t locate file");
  tavtest::runCliFailing("info " + writeTemp("wrong.TPR", tavtest::Buf(200, 'x')).string(), 2,
                         "Invalid file format !");
}

TEST(CliConvert, CurrentAndOlderFilesComeOutAsTheCurrentLayout) {
  fs::path in = writeTemp("same.TPR", tavtest::sampleV280(true).bytes);
  fs::path out = in.parent_path() / "copy";
  fs::remove(out.string() + ".TPR");
  CliRun r = runCli("convert " + in.string() + " " + out.string());
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(tavtest::readBytes(out.string() + ".TPR"), tavtest::sampleV280(true).bytes);

  // An older file is written in the current layout.
  r = runCli("convert " + writeTemp("old.TPR", tavtest::sampleV127()).string() + " " +
             out.string());
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const std::vector<std::uint8_t> converted = tavtest::readBytes(out.string() + ".TPR");
  ASSERT_GE(converted.size(), 16u);
  EXPECT_EQ(std::string(converted.begin(), converted.begin() + 15), "TAVIRON V2.80  ");
}
