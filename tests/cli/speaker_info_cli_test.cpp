// taviron-cli info on the example project's loudspeakers and on a
// loudspeaker database.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "cli_run.h"
#include "support/temp_folder.h"

namespace {

using tavtest::CliRun;
using tavtest::runCli;

const std::string EXAMPLES = std::string(TAVIRON_SOURCE_DIR) + "/data/examples/";

const nlohmann::json* speakerNamed(const nlohmann::json& list, const std::string& name) {
  for (const auto& s : list)
    if (s["name"] == name) return &s;
  return nullptr;
}

TEST(CliSpeakerInfo, TheExampleProjectHasItsLoudspeakersAimedAndTheFillDelayed) {
  auto j = tavtest::runCliJson("info '" + EXAMPLES + "example.TPR'");
  EXPECT_EQ(j["speakerTypeCount"], 3);
  const auto& list = j["speakers"];
  ASSERT_EQ(list.size(), 4u);

  const nlohmann::json* left = speakerNamed(list, "MAIN L");
  ASSERT_NE(left, nullptr);
  EXPECT_EQ((*left)["type"], "CD9040");
  EXPECT_EQ((*left)["group"], "MAINS");
  EXPECT_NEAR((*left)["position"][1].get<double>(), 5.5, 1e-5);
  // Aimed at (14.5, 2.5, 1.2) from (4.8, 5.5, 6): atan2(-3, 9.7) = -17.19 degrees.
  EXPECT_NEAR((*left)["angles"]["horizontal"].get<double>(), -17.19, 0.01);

  const nlohmann::json* fill = speakerNamed(list, "FILL");
  ASSERT_NE(fill, nullptr);
  // At the rear seats (20, 0, 1.2) the main pair is 16.862 m away and the
  // fill 8.766 m: (16.862 - 8.766) / 343 s = 23.60 ms.
  EXPECT_NEAR((*fill)["delay"].get<double>(), 23.60, 0.01);
}

TEST(CliSpeakerInfo, ADatabaseListsItsTypesAndAFalseOneIsRefused) {
  auto j = tavtest::runCliJson("info '" + EXAMPLES + "speakers.TSB'");
  EXPECT_EQ(j["layout"], 3);
  ASSERT_GE(j["types"].size(), 6u);
  const nlohmann::json* horn = speakerNamed(j["types"], "CD9040");
  ASSERT_NE(horn, nullptr);
  EXPECT_EQ((*horn)["brand"], "GENERIC");
  EXPECT_NEAR((*horn)["sensitivity"][3].get<double>(), 104.0, 1e-4);

  // A file named like a database that is none.
  tavtest::TempFolder dir;
  const CliRun bad = tavtest::runCliFailing(
      "info '" + dir.write("fake.tsb", tavtest::Buf(200, 'x')) + "'", 2, "Invalid file format");
  EXPECT_TRUE(bad.out.empty());
}

}  // namespace
