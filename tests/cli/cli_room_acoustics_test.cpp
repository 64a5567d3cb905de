// taviron-cli rt60, roomcheck and faces on project files written for the test.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>

#include "cli_run.h"
#include "model/project.h"
#include "model/project_file.h"
#include "support/model_builders.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;
using nlohmann::json;

namespace tav {
namespace {

using tavtest::CliRun;
using tavtest::runCli;
using tavtest::runCliFailing;
using tavtest::runCliJson;

class CliRoomAcoustics : public ::testing::Test {
 protected:
  // The 10 m box, all faces "Ten" (alpha 0.1), the given wall turned outward.
  std::string writeBox(const std::string& name, std::set<int> outward = {},
                       std::set<int> missing = {}) {
    Project p;
    p.materials.slots = {test::makeMaterial("Ten", test::uniformAlpha(0.1f))};
    test::BoxOptions opt;
    opt.outward = std::move(outward);
    opt.missing = std::move(missing);
    test::addBox(p.objects, {0, 0, 0}, {10, 10, 10}, opt);
    p.settings.rtMethod = RT_SABINE;
    p.settings.measuredRT = {2, 2, 2, 2, 2, 2, 2};
    const std::string path = dir_.file(name);
    EXPECT_TRUE(saveProjectAs(p, path).empty());
    return path;
  }

  tavtest::TempFolder dir_;
};

TEST_F(CliRoomAcoustics, Rt60OfTheTenMetreBox) {
  const std::string path = writeBox("BOX.TPR");
  json j = runCliJson("rt60 " + path);
  EXPECT_EQ(j["method"], "sabine");
  // The numbers are the engine's own test; here the fields that carry them.
  EXPECT_NEAR(j["volume"].get<double>(), 1000.0, 1e-6);
  EXPECT_NEAR(j["absorption"][0].get<double>(), 60.0, 1e-4);
  EXPECT_NEAR(j["rt60"][6].get<double>(), 0.805, 1e-5);
  EXPECT_NEAR(j["closure"]["areaXY"].get<double>(), 200.0, 1e-6);

  EXPECT_EQ(runCliJson("rt60 " + path + " --method eyring")["method"], "eyring");

  // Measured 2 s: the air at 8 kHz takes more than the derived absorption.
  const CliRun r = runCli("rt60 " + path + " --method measurement");
  ASSERT_EQ(r.exitCode, 0);
  j = json::parse(r.out);
  EXPECT_EQ(j["method"], "measurement");
  EXPECT_NEAR(j["rt60"][6].get<double>(), 2.0, 1e-6);
  EXPECT_TRUE(j["rt60NoAir"][6].is_null());
  EXPECT_NE(r.err.find("Impossible input values"), std::string::npos);

  EXPECT_NE(runCli("rt60 " + path + " --method guess").exitCode, 0);
  for (const char* command : {"rt60", "roomcheck", "faces"})
    EXPECT_TRUE(runCliFailing(std::string(command) + " " + dir_.file("NOPE.TPR"), 2,
                              "Can\u00B4t locate file")
                    .out.empty());
}

TEST_F(CliRoomAcoustics, RoomCheckFixesTheOutwardWallAndReportsTheMissingFloor) {
  const std::string path = writeBox("TURNED.TPR", {test::CEILING});
  const std::string fixed = dir_.file("FIXED.TPR");
  json j = runCliJson("roomcheck " + path + " --fix " + fixed);
  EXPECT_EQ(j["message"], "1Faces auto-inverted ");
  EXPECT_EQ(j["caption"], "Rock \u00B4n\u00B4 Roll !");
  EXPECT_TRUE(j["errorPercent"].is_null());

  EXPECT_EQ(runCliJson("roomcheck " + fixed)["message"], "No errors found");
  // Without --fix the file is left as it was.
  EXPECT_EQ(runCliJson("roomcheck " + path)["inverted"], 1);

  j = runCliJson("roomcheck " + writeBox("OPEN.TPR", {}, {test::FLOOR}));
  EXPECT_EQ(j["message"], "XY -Error");
  EXPECT_EQ(j["flags"], json::array({"XY"}));
  EXPECT_NEAR(j["errorPercent"].get<double>(), 100.0 / 3.0, 1e-4);
}

TEST_F(CliRoomAcoustics, FacesListsEveryFaceWithTotals) {
  const json j = runCliJson("faces " + writeBox("LIST.TPR"));
  ASSERT_EQ(j["faces"].size(), 6u);
  const json& first = j["faces"][0];
  EXPECT_EQ(first["material"], "Ten");
  // The x = 0 wall: bounds as x, y and z ranges.
  EXPECT_EQ(first["bounds"], json::array({0.0, 0.0, 0.0, 10.0, 0.0, 10.0}));
  EXPECT_NEAR(first["absorption"][4].get<double>(), 10.0, 1e-4);
  EXPECT_NEAR(j["totals"]["absorption"][0].get<double>(), 60.0, 1e-4);
}

}  // namespace
}  // namespace tav
