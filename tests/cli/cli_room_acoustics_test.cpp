// taviron-cli rt60, roomcheck and faces on project files written for the test.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
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
  CliRun r = runCli("rt60 " + path);
  ASSERT_EQ(r.exitCode, 0) << r.err;
  json j = json::parse(r.out);
  EXPECT_EQ(j["method"], "sabine");
  EXPECT_NEAR(j["volume"].get<double>(), 1000.0, 1e-6);
  EXPECT_NEAR(j["surface"].get<double>(), 600.0, 1e-6);
  ASSERT_EQ(j["absorption"].size(), 7u);
  EXPECT_NEAR(j["absorption"][0].get<double>(), 60.0, 1e-4);
  EXPECT_NEAR(j["rt60NoAir"][3].get<double>(), 2.6833, 1e-4);
  EXPECT_NEAR(j["rt60"][6].get<double>(), 0.805, 1e-5);
  EXPECT_NEAR(j["closure"]["areaXY"].get<double>(), 200.0, 1e-6);
  EXPECT_NEAR(j["closure"]["totalError"].get<double>(), 0.0, 1e-6);
  EXPECT_EQ(j["closure"]["signed"].size(), 3u);

  r = runCli("rt60 " + path + " --method eyring");
  ASSERT_EQ(r.exitCode, 0);
  j = json::parse(r.out);
  EXPECT_EQ(j["method"], "eyring");
  EXPECT_NEAR(j["rt60NoAir"][0].get<double>(), 0.161 * 1000 / (-std::log(0.9) * 600), 1e-4);

  // Measured 2 s: the air at 8 kHz takes more than the derived absorption.
  r = runCli("rt60 " + path + " --method measurement");
  ASSERT_EQ(r.exitCode, 0);
  j = json::parse(r.out);
  EXPECT_EQ(j["method"], "measurement");
  EXPECT_NEAR(j["rt60"][6].get<double>(), 2.0, 1e-6);
  EXPECT_TRUE(j["rt60NoAir"][6].is_null());
  EXPECT_NE(r.err.find("Impossible input values"), std::string::npos);

  EXPECT_NE(runCli("rt60 " + path + " --method guess").exitCode, 0);
}

TEST_F(CliRoomAcoustics, RoomCheckFixesTheOutwardWall) {
  const std::string path = writeBox("TURNED.TPR", {test::CEILING});
  const std::string fixed = dir_.file("FIXED.TPR");
  CliRun r = runCli("roomcheck " + path + " --fix " + fixed);
  ASSERT_EQ(r.exitCode, 0) << r.err;
  json j = json::parse(r.out);
  EXPECT_EQ(j["message"], "1Faces auto-inverted ");
  EXPECT_EQ(j["caption"], "Rock \u00B4n\u00B4 Roll !");
  EXPECT_EQ(j["inverted"], 1);
  EXPECT_TRUE(j["errorPercent"].is_null());
  EXPECT_TRUE(j["flags"].empty());

  r = runCli("roomcheck " + fixed);
  ASSERT_EQ(r.exitCode, 0) << r.err;
  j = json::parse(r.out);
  EXPECT_EQ(j["message"], "No errors found");
  EXPECT_EQ(j["inverted"], 0);
  // Without --fix the file is left as it was.
  EXPECT_EQ(json::parse(runCli("roomcheck " + path).out)["inverted"], 1);
}

TEST_F(CliRoomAcoustics, RoomCheckReportsTheMissingFloor) {
  const std::string path = writeBox("OPEN.TPR", {}, {test::FLOOR});
  const CliRun r = runCli("roomcheck " + path);
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const json j = json::parse(r.out);
  EXPECT_EQ(j["message"], "XY -Error");
  EXPECT_EQ(j["caption"], "Missing faces !");
  EXPECT_EQ(j["flags"], json::array({"XY"}));
  EXPECT_NEAR(j["errorPercent"].get<double>(), 100.0 / 3.0, 1e-4);
}

TEST_F(CliRoomAcoustics, FacesListsEveryFaceWithTotals) {
  const std::string path = writeBox("LIST.TPR");
  const CliRun r = runCli("faces " + path);
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const json j = json::parse(r.out);
  ASSERT_EQ(j["faces"].size(), 6u);
  const json& first = j["faces"][0];
  EXPECT_EQ(first["number"], 1);
  EXPECT_NEAR(first["area"].get<double>(), 100.0, 1e-6);
  EXPECT_EQ(first["material"], "Ten");
  // All faces are 100 m²; the x = 0 wall, the y = 0 wall and the floor share
  // the minimum corner and stay in build order: the x = 0 wall comes first.
  EXPECT_EQ(first["bounds"], json::array({0.0, 0.0, 0.0, 10.0, 0.0, 10.0}));
  EXPECT_NEAR(first["absorption"][4].get<double>(), 10.0, 1e-4);
  EXPECT_EQ(j["faces"][5]["bounds"][4], 10.0);  // the ceiling last
  EXPECT_NEAR(j["totals"]["area"].get<double>(), 600.0, 1e-6);
  EXPECT_NEAR(j["totals"]["absorption"][0].get<double>(), 60.0, 1e-4);
}

TEST_F(CliRoomAcoustics, UnreadableFilesGiveTheMessageAndExitCode2) {
  const std::string missing = dir_.file("NOPE.TPR");
  for (const char* command : {"rt60", "roomcheck", "faces"}) {
    const CliRun r = runCli(std::string(command) + " " + missing);
    EXPECT_EQ(r.exitCode, 2) << command;
    EXPECT_NE(r.err.find("Can\u00B4t locate file"), std::string::npos) << command;
    EXPECT_TRUE(r.out.empty());
  }
  const fs::path junk = dir_.path / "JUNK.TPR";
  std::ofstream(junk) << "not a project";
  const CliRun r = runCli("faces " + junk.string());
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.err.find("Invalid file format !"), std::string::npos);
}

}  // namespace
}  // namespace tav
