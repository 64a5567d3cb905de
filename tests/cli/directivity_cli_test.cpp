// taviron-cli directivity on the example loudspeaker database.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>

#include "cli_run.h"
#include "support/temp_folder.h"

namespace {

using tavtest::CliRun;
using tavtest::runCli;

const std::string DB = std::string(TAVIRON_SOURCE_DIR) + "/data/examples/speakers.TSB";

TEST(CliDirectivity, PrintsTheEnergyFactorOfADirection) {
  // The 90 x 40 horn is 6 dB down (code 195) at 45 deg horizontally at 1 kHz.
  CliRun r = runCli("directivity " + DB + " cd9040 --band 1000 --theta 45 --phi 0");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  nlohmann::json j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["type"], "CD9040");
  EXPECT_EQ(j["band"], 3);
  EXPECT_EQ(j["frequency"], 1000);
  // 45 deg lies a hair past row 9 on the lookup's polar scale.
  EXPECT_NEAR(j["energy"].get<double>(), std::pow(10.0, -0.6), 1e-5);
  EXPECT_NEAR(j["level"].get<double>(), -6.0, 1e-4);

  r = runCli("directivity " + DB + " OMNI12 --band 6 --theta 123 --phi 271");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NEAR(nlohmann::json::parse(r.out)["energy"].get<double>(), 1.0, 1e-12);
}

TEST(CliDirectivity, ReportsBadInput) {
  CliRun r = runCli("directivity " + DB + " NOSUCH --band 3");
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.err.find("Loudspeaker not available in database"), std::string::npos);
  r = runCli("directivity " + DB + " OMNI12 --band 300");
  EXPECT_EQ(r.exitCode, 1);
  r = runCli("directivity /nonexistent/x.TSB OMNI12");
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.err.find("Can\u00B4t locate file"), std::string::npos);
  tavtest::TempFolder dir;
  const std::string text = "TAVIRON SPEAKER DATABASE V999 and more text";
  r = runCli("directivity " + dir.write("notdb.TSB", {text.begin(), text.end()}) + " OMNI12");
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.err.find("Invalid file format"), std::string::npos);
}

}  // namespace
