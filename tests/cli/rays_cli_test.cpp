// taviron-cli rays and rayinfo on a box with one loudspeaker.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <string>

#include "cli_run.h"
#include "model/project_file.h"
#include "reflections/search_rooms.h"
#include "support/temp_folder.h"

using nlohmann::json;

namespace tav {
namespace {

using tavtest::runCli;

std::string writeRoom(const tavtest::TempFolder& dir) {
  Project p;
  p.materials.slots.push_back(test::makeMaterial("W", test::uniformAlpha(0.3f)));
  test::BoxOptions box;
  box.materials.fill(1);
  test::addBox(p.objects, {0, 0, 0}, {6, 4, 3}, box);
  test::addOmniSpeaker(p, {1, 1, 1.5}, 1e6, 5);
  const std::string path = dir.file("ROOM.TPR");
  EXPECT_TRUE(saveProjectAs(p, path).empty());
  return path;
}

TEST(RaysCli, PathsStatisticsAndTheRayFileAgree) {
  tavtest::TempFolder dir;
  const std::string room = writeRoom(dir);
  const std::string trf = dir.file("out");
  json a = tavtest::runCliJson("rays " + room +
                               " --target 4.5,3,1.2 --order 2 --threads 1 --paths --out " + trf);
  EXPECT_EQ(a["paths"], 25);
  EXPECT_EQ(a["rayStart"], 2);
  ASSERT_EQ(a["pathList"].size(), 25u);
  // Time order, the direct path first.
  EXPECT_TRUE(a["pathList"][0]["faces"].empty());
  double last = 0;
  for (const json& p : a["pathList"]) {
    EXPECT_GE(p["time"].get<double>(), last);
    last = p["time"];
    EXPECT_EQ(p["points"].size(), p["faces"].size() + 2);
  }
  // All threads: the same answer.
  const json b = json::parse(runCli("rays " + room + " --target 4.5,3,1.2 --order 2 --paths").out);
  EXPECT_EQ(b["pathList"], a["pathList"]);
  EXPECT_EQ(b["early"], a["early"]);

  EXPECT_EQ(json::parse(runCli("rayinfo " + trf + ".TRF").out)["paths"], 25);
  json r = tavtest::runCliJson("rayinfo " + trf + ".TRF --project " + room + " --paths");
  EXPECT_EQ(r["early"], a["early"]);
  EXPECT_EQ(r["rt60"], a["rt60"]);
  EXPECT_EQ(r["pathList"], a["pathList"]);
}

TEST(RaysCli, BadInputGivesTheMessageAndExitCode2) {
  tavtest::TempFolder dir;
  const std::string room = writeRoom(dir);
  struct Case {
    std::string args, message;
  };
  const std::string junk = dir.file("JUNK.TRF");
  std::ofstream(junk) << "not a ray file at all, but long enough to hold a header of 128 bytes "
                         "........................................................";
  for (const Case& c :
       {Case{"rays " + room + " --target 1,2", "Invalid target point"},
        Case{"rays " + room + " --target 1,2,x", "Invalid target point"},
        Case{"rays " + dir.file("NOPE.TPR") + " --target 1,2,3", "Can\u00B4t locate file"},
        Case{"rayinfo " + dir.file("NOPE.TRF"), "Can\u00B4t locate file"},
        Case{"rayinfo " + junk, "Not a valid ray file"}})
    EXPECT_TRUE(tavtest::runCliFailing(c.args, 2, c.message).out.empty()) << c.args;
}

}  // namespace
}  // namespace tav
