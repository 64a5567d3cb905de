// taviron-cli speakers, ease-export and ease-import on the example project:
// the listing's order and totals, EASE files out and back in, and bad input.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>

#include "cli_run.h"
#include "support/temp_folder.h"

namespace {

using tavtest::CliRun;
using tavtest::runCli;

const std::string EXAMPLES = std::string(TAVIRON_SOURCE_DIR) + "/data/examples/";
const std::string PROJECT = EXAMPLES + "example.TPR";
const std::string DATABASE = EXAMPLES + "speakers.TSB";

TEST(CliSpeakers, ListingInPositionOrderWithTotalsOfTheBands) {
  auto j = tavtest::runCliJson("speakers " + PROJECT);
  const auto& list = j["speakers"];
  // SUB (4.4, 0), MAIN R (4.8, -5.5), MAIN L (4.8, 5.5), FILL (15, 0).
  std::vector<std::string> names;
  for (const auto& s : list) names.push_back(s["name"]);
  EXPECT_EQ(names, (std::vector<std::string>{"SUB", "MAIN R", "MAIN L", "FILL"}));
  for (int b = 0; b < 7; ++b) {
    double electrical = 0, acoustic = 0;
    for (const auto& s : list) {
      electrical += s["electricalPower"][b].get<double>();
      acoustic += s["acousticPower"][b].get<double>();
    }
    EXPECT_NEAR(j["totals"]["electricalPower"][b].get<double>(), electrical, 1e-9);
    EXPECT_NEAR(j["totals"]["acousticPower"][b].get<double>(), acoustic, 1e-9);
  }
}

TEST(CliBalloon, TheChosenLoudspeakersBecomeOneTypeInADatabase) {
  tavtest::TempFolder dir;
  const std::string out = dir.file("MAINS");
  auto j = tavtest::runCliJson("balloon " + PROJECT + " --select \"MAIN L,MAIN R\" --out " + out +
                               " --description Mains");
  EXPECT_EQ(j["speakers"], 2);
  EXPECT_NEAR(j["centre"][1].get<double>(), 0.0, 1e-6);
  // The database holds that one type, with the mains' drawings as its shape.
  auto info = tavtest::runCliJson("info " + out + ".TSB");
  ASSERT_EQ(info["types"].size(), 1u);
  EXPECT_EQ(info["types"][0]["description"], "Mains");
  EXPECT_EQ(info["types"][0]["hasShape"], true);
  for (int b = 0; b < 7; ++b)
    EXPECT_NEAR(info["types"][0]["maxPower"][b].get<double>(), j["maxPower"][b].get<double>(),
                1e-9);

  const CliRun r = runCli("balloon " + PROJECT + " --select \"MAIN L,NOBODY\" --out " + out);
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_FALSE(r.err.empty());
}

nlohmann::json infoOf(const std::string& path) { return tavtest::runCliJson("info " + path); }

TEST(CliEase, ExportedFacesAndLoudspeakersComeBackIntoTheProject) {
  tavtest::TempFolder dir;
  // EASE 2.x writes .imp and reads .exp files: the 2.x pair goes out as
  // .imp and comes back renamed.
  for (bool v3 : {true, false}) {
    SCOPED_TRACE(v3);
    const std::string faces = dir.file(v3 ? "room.xfc" : "room.imp");
    const std::string speakers = dir.file(v3 ? "sp.xld" : "sp.imp");
    auto exported = tavtest::runCliJson("ease-export " + PROJECT + " --faces " + faces +
                                        " --speakers " + speakers);
    EXPECT_EQ(exported["faces"]["count"], 26);
    EXPECT_EQ(exported["speakers"]["count"], 4);
    const std::string facesIn = v3 ? faces : dir.file("room.exp");
    const std::string speakersIn = v3 ? speakers : dir.file("sp.exp");
    if (!v3) std::filesystem::rename(faces, facesIn);
    if (!v3) std::filesystem::rename(speakers, speakersIn);
    const std::string out = dir.file("OUT.TPR");
    EXPECT_EQ(tavtest::runCliJson("ease-import " + PROJECT + " --faces " + facesIn + " --out " +
                                  out)["faces"],
              26);
    EXPECT_EQ(infoOf(out)["faceCount"], 52);
    tavtest::runCliJson("ease-import " + PROJECT + " --speakers " + speakersIn + " --database " +
                        DATABASE + " --out " + out);
    auto info = infoOf(out);
    EXPECT_EQ(info["speakerCount"], 8);
    EXPECT_EQ(info["speakerTypeCount"], 3) << "the project's own types are used";
    std::filesystem::remove(out);
  }
}

struct BadCase {
  const char* name;
  std::string args;
  int exitCode;
  std::string message;
};

TEST(CliEase, BadInputGivesTheMessageAndAnExitCode) {
  tavtest::TempFolder dir;
  const std::string noHeader = dir.file("bad.xfc");
  std::ofstream(noHeader) << "\"Material\",\"A\"\n0,0,0\n1,0,0\n1,1,0\n\"End\"\n";
  const std::string unknown = dir.file("sp.exp");
  std::ofstream(unknown) << "1,2,3\n0,90,0\n\"NOSUCH    \"\n0,0\n0,0,0,0,0,0,0\n1,1,1,1,1,1,1\n";
  const std::string out = " --out " + dir.file("OUT.TPR");
  const BadCase cases[] = {
      {"no EASE 3 header", "ease-import " + PROJECT + " --faces " + noHeader + out, 2,
       "EASE3 Header missing !"},
      {"missing file", "ease-import " + PROJECT + " --faces " + dir.file("none.exp") + out, 2,
       "Can\u00B4t locate file"},
      {"unknown extension", "ease-export " + PROJECT + " --faces " + dir.file("room.txt"), 1,
       "room.txt: the file name must end in .xfc (EASE 3.x) or .imp (EASE 2.x)"},
      {"speakers without database", "ease-import " + PROJECT + " --speakers " + unknown + out, 1,
       "Must load speaker database first"},
      {"bad project", "speakers " + dir.file("none.TPR"), 2, "Can\u00B4t locate file"},
      {"type not in the database",
       "ease-import " + PROJECT + " --speakers " + unknown + " --database " + DATABASE + out, 0,
       "Loudspeaker not available in database: NOSUCH"},
  };
  for (const BadCase& c : cases) {
    SCOPED_TRACE(c.name);
    tavtest::runCliFailing(c.args, c.exitCode, c.message);
  }
  EXPECT_EQ(infoOf(dir.file("OUT.TPR"))["speakerCount"], 4) << "the unknown type was left out";
}

}  // namespace
