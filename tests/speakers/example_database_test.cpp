// The example loudspeaker database shipped in data/examples: readable, its
// balloons normalised on axis, hand-checked cells, its powers refreshed.
#include <gtest/gtest.h>

#include <cmath>

#include "model/project.h"
#include "speaker_test_files.h"
#include "speakers/project_speaker_types.h"
#include "speakers/speaker_database.h"

namespace tav {
namespace {

const std::string EXAMPLE = std::string(TAVIRON_SOURCE_DIR) + "/data/examples/speakers.TSB";

TEST(ExampleDatabase, TypesBalloonsAndFigures) {
  SpeakerDatabaseIndex index;
  ASSERT_TRUE(loadSpeakerDatabase(index, EXAMPLE).loaded);
  ASSERT_GE(index.count(), 6u);

  Project project;
  for (std::size_t i = 0; i < index.count(); ++i) {
    const std::string name = index.entries[i].name;
    SCOPED_TRACE(name);
    ASSERT_TRUE(copyTypeIntoProject(project, index, i, name));
    const SpeakerType& t = *project.speakerTypes[i];
    ASSERT_NE(t.shape, nullptr) << "every type has a cabinet";
    for (int b = 0; b < 7; ++b)
      for (int c = 0; c < 72; ++c) ASSERT_EQ(t.grids[b].at(0, c), 225) << "0 dB on axis " << b;
  }

  // Hand-checked cells: the pulsating sphere is omnidirectional (Q = 1, 12 per
  // mille at 90 dB); the 90 x 40 horn is 6 dB down at 45 deg horizontally at
  // 1 kHz and at 20 deg vertically at 4 kHz; the end-fire cardioid at 125 Hz
  // (0.34 m spacing) is 5.3 dB down at 90 deg and silent behind.
  const SpeakerType& omni = *project.speakerTypes.at(index.find("OMNI12"));
  EXPECT_EQ(omni.directivityFactor[3], 10);
  EXPECT_EQ(omni.efficiency[3], 12);
  const SpeakerType& horn = *project.speakerTypes.at(index.find("CD9040"));
  EXPECT_EQ(horn.grids[3].at(9, 0), 195);
  EXPECT_EQ(horn.grids[5].at(4, 18), 195);
  const SpeakerType& sub = *project.speakerTypes.at(index.find("SUBCARD"));
  EXPECT_EQ(sub.grids[0].at(18, 0), 198);
  EXPECT_EQ(sub.grids[0].at(36, 0), 0);
}

TEST(ExampleDatabase, SelectionRulesAndPowersAfterLoading) {
  SpeakerDatabaseIndex index;
  ASSERT_TRUE(loadSpeakerDatabase(index, EXAMPLE).loaded);
  EXPECT_EQ(applyPreselection(index, 3), 3);
  EXPECT_EQ(applyPreselection(index, 0), 3) << "0 keeps the current selection";
  index.selection = 99;
  EXPECT_EQ(applyPreselection(index, -1), 0);

  // Stored power figures are refreshed from the gains and the types.
  Project project;
  PlacedSpeaker s = newPlacedSpeaker({0, 0, 0});
  ASSERT_TRUE(resolveSpeakerType(project, index, s, "PISTON8"));
  s.eqGain.fill(-3);
  ModelObject* obj = test::addBareSpeaker(project, s);
  test::addBareSpeaker(project, s, 7);  // no such project type: left alone
  EXPECT_EQ(recomputeSpeakerPowers(project), 1u);
  EXPECT_NEAR(speakerOf(*obj)->electricalPower[3], 80 * std::pow(10.0, -0.3), 1e-3);
}

}  // namespace
}  // namespace tav
