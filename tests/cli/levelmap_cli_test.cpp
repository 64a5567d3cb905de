// taviron-cli levelmap and mapinfo: the map window's engine on the example
// project, the same map whatever the thread count and the same as the
// engine computes in this process, the outputs (map file, project with the
// map, CSV, picture), and bad input.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>

#include "cli_run.h"
#include "mapping/level_time.h"
#include "mapping/map_file.h"
#include "model/project_file.h"
#include "png_reader.h"
#include "support/temp_folder.h"

namespace {

using tavtest::CliRun;
using tavtest::runCli;

const std::string EXAMPLE = std::string(TAVIRON_SOURCE_DIR) + "/data/examples/example.TPR";

class CliLevelMap : public ::testing::Test {
 protected:
  std::string temp(const std::string& name) const { return dir_.file(name); }
  tavtest::TempFolder dir_;
};

TEST_F(CliLevelMap, SameMapOnOneAndTwoThreadsAndAsTheEngineGivesIt) {
  const std::string one = temp("one.TMF"), two = temp("two.TMF");
  auto j = tavtest::runCliJson("levelmap " + EXAMPLE + " --grid 1 --threads 1 --out " + one);
  EXPECT_EQ(
      tavtest::runCliJson("levelmap " + EXAMPLE + " --grid 1 --threads 2 --out " + two)["threads"],
      2);
  // 15 x 11 m of seats at 1 m.
  EXPECT_EQ(j["points"], 165);
  EXPECT_EQ(tavtest::readBytes(one), tavtest::readBytes(two));

  // The engine in this process, with the project's own options but 1 m.
  tav::ProjectLoadResult loaded = tav::loadProject(EXAMPLE);
  ASSERT_TRUE(loaded.ok());
  tav::CalculationOptions options = loaded.project.settings.calculation;
  options.gridIndex = 2;
  tav::LevelTimeRun run = tav::prepareLevelTime(loaded.project, options);
  tav::computeLevelTime(run, loaded.project);
  const tav::LevelMap map = tav::levelMapOf(std::move(run));
  EXPECT_EQ(tavtest::readBytes(one), tav::mapFileBytes(map, loaded.project.description));
}

TEST_F(CliLevelMap, OutputsCsvProjectAndMapInfo) {
  const std::string csv = temp("points.csv"), tpr = temp("hall.TPR"), tmf = temp("hall.TMF");
  CliRun r = runCli("levelmap " + EXAMPLE +
                    " --grid 2 --phase energy --shading off --reflection off --csv " + csv +
                    " --save-project " + tpr + " --out " + tmf);
  ASSERT_EQ(r.exitCode, 0) << r.err;
  std::ifstream in(csv);
  std::vector<std::string> rows;
  for (std::string l; std::getline(in, l);) rows.push_back(l);
  ASSERT_GE(rows.size(), 2u);
  EXPECT_EQ(rows[0],
            "x,y,z,area,E125,E250,E500,E1000,E2000,E4000,E8000,t125,t250,t500,t1000,t2000,t4000,"
            "t8000,LtAll,LdLrAll,StiAll");
  EXPECT_EQ(rows.size(), 1 + nlohmann::json::parse(r.out)["points"].get<std::size_t>());
  EXPECT_EQ(std::count(rows[1].begin(), rows[1].end(), ','), 20);
  EXPECT_EQ(rows[1].rfind("8,-4.5,1.2,0,", 0), 0u) << rows[1];

  auto project = tavtest::runCliJson("info " + tpr);
  EXPECT_EQ(project["hasMap"], true);
  EXPECT_EQ(project["settings"]["calculationOptions"]["includeRoom"], 0);

  auto m = tavtest::runCliJson("mapinfo " + tmf);
  EXPECT_EQ(m["phaseRelation"], 1);
  EXPECT_EQ(m["halfGrid"], 1.0);
  EXPECT_EQ(m["points"].size(), project["mapPoints"].get<std::size_t>());
}

TEST_F(CliLevelMap, BadInputGivesTheMessageAndExitCode2) {
  // A project without loudspeakers.
  tav::Project empty;
  const std::string noSpeakers = temp("empty.TPR");
  ASSERT_TRUE(tav::saveProjectAs(empty, noSpeakers).empty());
  tavtest::runCliFailing("levelmap " + noSpeakers, 2, "No speakers to process");
  tavtest::runCliFailing("mapinfo " + EXAMPLE, 2, "Not a valid map file");
  EXPECT_EQ(runCli("mapinfo /nonexistent/none.TMF").exitCode, 2);
  EXPECT_EQ(runCli("levelmap " + EXAMPLE + " --grid 3").exitCode, 1);  // not a grid size
}

#ifdef TAVIRON_CLI_HAS_RENDER

TEST_F(CliLevelMap, PictureShowsTheCellsInRampColours) {
  const std::string png = temp("map.png");
  CliRun r = runCli("levelmap " + EXAMPLE + " --grid 0.5 --png " + png +
                    " --mode time --band 1000 --size 640x400");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const auto image = tavtest::readPng(png);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->width, 640);
  EXPECT_EQ(image->height, 400);
  // The map's blue-to-red ramp: mostly blue-green to red, neither grey nor white.
  long ramp = 0;
  for (const auto& p : image->rgb)
    if ((p[0] == 255 && p[2] == 0) || (p[0] == 0 && p[2] == 255) || (p[0] == 0 && p[1] == 255))
      ++ramp;
  EXPECT_GT(ramp, 640 * 400 / 20);
}

#endif  // TAVIRON_CLI_HAS_RENDER

}  // namespace
