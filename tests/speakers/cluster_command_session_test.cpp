// "Calculate Cluster Balloons" in a running shell: the example project's
// loudspeakers made into a type that is saved, read back and placed.
#include <gtest/gtest.h>

#include <filesystem>

#include "speaker_session_test_support.h"
#include "speakers/cluster_balloons.h"
#include "speakers/ui/cluster_balloon_command.h"

namespace tav {
namespace {

using speakertest::SpeakerSession;

const std::string EXAMPLE = std::string(TAVIRON_SOURCE_DIR) + "/data/examples/example.TPR";

TEST(ClusterCommand, ExampleClusterIsSavedReadBackAndPlacedAtItsCentre) {
  SpeakerSession s;
  ASSERT_TRUE(s.shell.openProjectFile(EXAMPLE));
  s.project().settings.calculation.phaseRelation = 1;
  const std::optional<LevelMap> mapBefore = s.project().levelMap;
  std::size_t memberNodes = 0;  // the drawings without their direction nodes
  for (ModelObject* o : s.speakers()) memberNodes += o->nodes.size() - 2;
  const std::string chosen = s.dir.file("ARRAY");
  s.platform.answerInputLine(std::string("Example cluster"));
  s.platform.answerSaveFile(chosen);
  s.menu(CMD_CLUSTER_BALLOONS);
  s.pickAll();
  s.run();

  const auto& progress = s.platform.progress();
  ASSERT_GE(progress.size(), 3u);
  EXPECT_EQ(progress.front().title, "Calculation Status :");
  EXPECT_EQ(progress[progress.size() - 2].text, "97.0 %");
  ASSERT_EQ(s.platform.inputLines().size(), 1u);
  EXPECT_EQ(s.platform.inputLines()[0].prompt, "Cluster Description :");
  EXPECT_EQ(s.platform.inputLines()[0].maxLength, 40);
  ASSERT_EQ(s.platform.fileDialogs().size(), 1u);
  EXPECT_EQ(s.platform.fileDialogs()[0].request.filter, "*.TSB|*.tsb|");
  EXPECT_EQ(s.project().settings.calculation.phaseRelation, 1);
  EXPECT_TRUE(s.project().levelMap == mapBefore) << "the calculation's map is kept";

  // Read back and placed: the members' drawings make its cabinet.
  ASSERT_TRUE(tav::loadSpeakerDatabase(s.shell.session().speakerDatabase, chosen + ".TSB").loaded);
  ModelObject* placed = s.addDirect("CLUSTER", {0, 0, 0});
  ASSERT_NE(placed, nullptr);
  const SpeakerType* type = speakerTypeOf(s.project(), s.record(placed));
  EXPECT_EQ(fixedString(type->description), "Example cluster");
  EXPECT_EQ(placed->nodes.size(), memberNodes + 2);
}

}  // namespace
}  // namespace tav
