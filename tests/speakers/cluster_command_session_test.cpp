// "Calculate Cluster Balloons" in a running shell: the example project's
// loudspeakers made into a type that is saved with its description.
#include <gtest/gtest.h>

#include "speaker_session_test_support.h"
#include "speakers/cluster_balloons.h"
#include "speakers/ui/cluster_balloon_command.h"

namespace tav {
namespace {

using speakertest::SpeakerSession;

const std::string EXAMPLE = std::string(TAVIRON_SOURCE_DIR) + "/data/examples/example.TPR";

TEST(ClusterCommand, ExampleClusterIsSavedWithItsDescription) {
  SpeakerSession s;
  ASSERT_TRUE(s.shell.openProjectFile(EXAMPLE));
  s.project().settings.calculation.phaseRelation = 1;
  const std::optional<LevelMap> mapBefore = s.project().levelMap;
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
  EXPECT_EQ(s.project().settings.calculation.phaseRelation, 1);
  EXPECT_TRUE(s.project().levelMap == mapBefore) << "the calculation's map is kept";

  // The written database (its layout is the unit test's) holds the described type.
  SpeakerDatabaseIndex index;
  ASSERT_TRUE(tav::loadSpeakerDatabase(index, chosen + ".TSB").loaded);
  const std::optional<SpeakerType> type = readSpeakerType(index, 0);
  ASSERT_TRUE(type);
  EXPECT_EQ(fixedString(type->description), "Example cluster");
}

}  // namespace
}  // namespace tav
