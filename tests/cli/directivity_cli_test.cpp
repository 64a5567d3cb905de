// taviron-cli directivity on the example loudspeaker database.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "cli_run.h"
#include "support/temp_folder.h"

namespace {

const std::string DB = std::string(TAVIRON_SOURCE_DIR) + "/data/examples/speakers.TSB";

TEST(CliDirectivity, PrintsTheEnergyFactorOfADirection) {
  // The 90 x 40 horn is 6 dB down (code 195) at 45 deg horizontally at 1 kHz.
  auto j = tavtest::runCliJson("directivity " + DB + " cd9040 --band 1000 --theta 45 --phi 0");
  EXPECT_EQ(j["type"], "CD9040");
  EXPECT_EQ(j["band"], 3);
  EXPECT_EQ(j["frequency"], 1000);
  // 45 deg lies a hair past row 9 on the lookup's polar scale.
  EXPECT_NEAR(j["energy"].get<double>(), std::pow(10.0, -0.6), 1e-5);
  EXPECT_NEAR(j["level"].get<double>(), -6.0, 1e-4);

  j = tavtest::runCliJson("directivity " + DB + " OMNI12 --band 6 --theta 123 --phi 271");
  EXPECT_NEAR(j["energy"].get<double>(), 1.0, 1e-12);
}

TEST(CliDirectivity, ReportsBadInput) {
  using tavtest::runCliFailing;
  runCliFailing("directivity " + DB + " NOSUCH --band 3", 2,
                "Loudspeaker not available in database");
  runCliFailing("directivity " + DB + " OMNI12 --band 300", 1, "");
  runCliFailing("directivity /nonexistent/x.TSB OMNI12", 2, "Can\u00B4t locate file");
  tavtest::TempFolder dir;
  const std::string text = "TAVIRON SPEAKER DATABASE V999 and more text";
  runCliFailing("directivity " + dir.write("notdb.TSB", {text.begin(), text.end()}) + " OMNI12", 2,
                "Invalid file format");
}

}  // namespace
