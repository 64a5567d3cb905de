// A room the face table cannot hold is a failure, not an empty success:
// every command that builds the table says "Too many room faces" in its
// result and exits with 2.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli_run.h"
#include "model/project_file.h"
#include "reflections/room_builders.h"
#include "support/temp_folder.h"

namespace tav {
namespace {

TEST(CliTooManyFaces, RoomcheckAndFacesFailWithTheReason) {
  // 16001 triangles in one object: one more than the face table holds.
  Project p;
  p.objects.appendObject(test::makeManyTriangles(16001, SHAPE_SOLID));
  tavtest::TempFolder dir;
  const std::string path = dir.file("MANY.TPR");
  ASSERT_TRUE(saveProjectAs(p, path).empty());

  for (const char* command : {"roomcheck", "faces"}) {
    const tavtest::CliRun r = tavtest::runCli(std::string(command) + " " + path);
    EXPECT_EQ(r.exitCode, 2) << command;
    EXPECT_NE(r.err.find("Too many room faces"), std::string::npos) << command;
    const nlohmann::json j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["message"], "Too many room faces") << command;
  }
}

}  // namespace
}  // namespace tav
