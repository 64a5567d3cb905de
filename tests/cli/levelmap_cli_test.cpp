// taviron-cli levelmap and mapinfo: the map window's engine on the example
// project, the same map whatever the thread count and the same as the
// engine computes in this process, the outputs (map file, project with the
// map, CSV, picture), and bad input.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "cli_run.h"
#include "mapping/level_time.h"
#include "mapping/map_file.h"
#include "model/project_file.h"
#include "png_reader.h"

namespace fs = std::filesystem;

namespace {

using tavtest::CliRun;
using tavtest::runCli;

const std::string EXAMPLE = std::string(TAVIRON_SOURCE_DIR) + "/data/examples/example.TPR";

fs::path temp(const std::string& name) {
  return fs::temp_directory_path() /
         ("taviron_levelmap_" + std::to_string(::getpid()) + "_" + name);
}

std::vector<std::uint8_t> readAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::vector<std::string> lines(const fs::path& p) {
  std::ifstream in(p);
  std::vector<std::string> out;
  for (std::string l; std::getline(in, l);) out.push_back(l);
  return out;
}

TEST(CliLevelMap, SameMapOnOneAndTwoThreadsAndAsTheEngineGivesIt) {
  const fs::path one = temp("one.TMF"), two = temp("two.TMF");
  auto j =
      tavtest::runCliJson("levelmap " + EXAMPLE + " --grid 1 --threads 1 --out " + one.string());
  EXPECT_EQ(j["threads"], 1);
  EXPECT_EQ(tavtest::runCliJson("levelmap " + EXAMPLE + " --grid 1 --threads 2 --out " +
                                two.string())["threads"],
            2);
  EXPECT_EQ(j["gridSpacing"], 1.0);
  // 15 x 11 m of seats at 1 m.
  EXPECT_EQ(j["points"], 165);
  EXPECT_EQ(readAll(one), readAll(two));

  // The engine in this process, with the project's own options but 1 m.
  tav::ProjectLoadResult loaded = tav::loadProject(EXAMPLE);
  ASSERT_TRUE(loaded.ok());
  tav::CalculationOptions options = loaded.project.settings.calculation;
  options.gridIndex = 2;
  tav::LevelTimeRun run = tav::prepareLevelTime(loaded.project, options);
  tav::computeLevelTime(run, loaded.project);
  const tav::LevelMap map = tav::levelMapOf(std::move(run));
  EXPECT_EQ(readAll(one), tav::mapFileBytes(map, loaded.project.description));
  fs::remove(one);
  fs::remove(two);
}

TEST(CliLevelMap, OutputsCsvProjectAndMapInfo) {
  const fs::path csv = temp("points.csv"), tpr = temp("hall.TPR"), tmf = temp("hall.TMF");
  fs::remove(tpr);
  CliRun r = runCli("levelmap " + EXAMPLE +
                    " --grid 2 --phase energy --shading off --reflection off --csv " +
                    csv.string() + " --save-project " + tpr.string() + " --out " + tmf.string());
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const std::vector<std::string> rows = lines(csv);
  ASSERT_GE(rows.size(), 2u);
  EXPECT_EQ(rows[0],
            "x,y,z,area,E125,E250,E500,E1000,E2000,E4000,E8000,t125,t250,t500,t1000,t2000,t4000,"
            "t8000,LtAll,LdLrAll,StiAll");
  EXPECT_EQ(rows.size(), 1 + nlohmann::json::parse(r.out)["points"].get<std::size_t>());
  EXPECT_EQ(std::count(rows[1].begin(), rows[1].end(), ','), 20);
  EXPECT_EQ(rows[1].rfind("8,-4.5,1.2,0,", 0), 0u) << rows[1];

  auto project = tavtest::runCliJson("info " + tpr.string());
  EXPECT_EQ(project["hasMap"], true);
  EXPECT_EQ(project["settings"]["calculationOptions"]["phaseRelation"], 1);
  EXPECT_EQ(project["settings"]["calculationOptions"]["includeRoom"], 0);

  auto m = tavtest::runCliJson("mapinfo " + tmf.string());
  EXPECT_EQ(m["description"], project["description"]);
  EXPECT_EQ(m["phaseRelation"], 1);
  EXPECT_EQ(m["halfGrid"], 1.0);
  EXPECT_EQ(m["points"].size(), project["mapPoints"].get<std::size_t>());
  for (const fs::path& p : {csv, tpr, tmf}) fs::remove(p);
}

TEST(CliLevelMap, BadInputGivesTheMessageAndExitCode2) {
  // A project without loudspeakers.
  tav::Project empty;
  const fs::path noSpeakers = temp("empty.TPR");
  ASSERT_TRUE(tav::saveProjectAs(empty, noSpeakers.string()).empty());
  tavtest::runCliFailing("levelmap " + noSpeakers.string(), 2, "No speakers to process");
  tavtest::runCliFailing("mapinfo " + EXAMPLE, 2, "Not a valid map file");
  EXPECT_EQ(runCli("mapinfo /nonexistent/none.TMF").exitCode, 2);
  EXPECT_EQ(runCli("levelmap " + EXAMPLE + " --grid 3").exitCode, 1);  // not a grid size
  fs::remove(noSpeakers);
}

#ifdef TAVIRON_CLI_HAS_RENDER

TEST(CliLevelMap, PictureShowsTheCellsInRampColours) {
  const fs::path png = temp("map.png");
  CliRun r = runCli("levelmap " + EXAMPLE + " --grid 0.5 --png " + png.string() +
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
  fs::remove(png);
}

#endif  // TAVIRON_CLI_HAS_RENDER

}  // namespace
