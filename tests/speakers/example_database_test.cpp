// The example loudspeaker database shipped in data/examples: readable, its
// balloons normalised on axis, its Q and efficiency consistent with them.
#include <gtest/gtest.h>

#include <cmath>

#include "model/le_io.h"
#include "model/project.h"
#include "speakers/project_speaker_types.h"
#include "speakers/speaker_database.h"
#include "speakers/speaker_power.h"

namespace tav {
namespace {

constexpr double PI = 3.141592653589793;
const std::string EXAMPLE = std::string(TAVIRON_SOURCE_DIR) + "/data/examples/speakers.TSB";

// Integral of the energy factor over the sphere (sr), each grid row taking
// the band of polar angles within 2.5 deg of it.
double balloonIntegral(const DirectivityGrid& g) {
  double sum = 0;
  for (int r = 0; r < 37; ++r) {
    const double a = std::max(0.0, (5.0 * r - 2.5) * PI / 180);
    const double b = std::min(PI, (5.0 * r + 2.5) * PI / 180);
    const double cell = 2 * PI * (std::cos(a) - std::cos(b)) / 72;
    for (int c = 0; c < 72; ++c) sum += std::pow(10.0, (g.at(r, c) - 225) / 50.0) * cell;
  }
  return sum;
}

TEST(ExampleDatabase, TypesBalloonsAndFigures) {
  SpeakerDatabaseIndex index;
  ASSERT_TRUE(loadSpeakerDatabase(index, EXAMPLE).loaded);
  ASSERT_GE(index.count(), 6u);

  Project project;
  for (std::size_t i = 0; i < index.count(); ++i) {
    const std::string name = index.entries[i].name;
    SCOPED_TRACE(name);
    EXPECT_NE(index.entries[i].shapeOffset, 0) << "every type has a cabinet";
    ASSERT_TRUE(copyTypeIntoProject(project, index, i, name));
    const SpeakerType& t = *project.speakerTypes[i];
    ASSERT_NE(t.shape, nullptr);
    EXPECT_FALSE(fixedString(t.description).empty());
    for (int b = 0; b < 7; ++b) {
      const DirectivityGrid& g = t.grids[b];
      for (int c = 0; c < 72; ++c) {
        ASSERT_EQ(g.at(0, c), 225) << "0 dB on axis, band " << b;
        ASSERT_EQ(g.at(36, c), g.at(36, 0)) << "one value straight behind";
      }
      EXPECT_NEAR(t.directivityFactor[b], 4 * PI / balloonIntegral(g) * 10, 0.51) << b;
      // Efficiency (per mille): on-axis intensity at 1 m for 1 W over the balloon.
      const double intensity = 4e-10 * std::pow(10.0, t.sensitivity[b] / 10) / 415;
      const double expected = t.maxPower[b] > 0 ? intensity * balloonIntegral(g) * 1000 : 0;
      EXPECT_NEAR(t.efficiency[b], expected, 0.51) << "band " << b;
    }
    // Driven at the default -9 dB in every band, a type plays its working bands.
    PlacedSpeaker s = newPlacedSpeaker({0, 0, 0});
    applyChosenType(s, t.maxPower);
    computeSpeakerPower(s, t);
    EXPECT_GT(s.acousticFactor[0], 1000.0f);
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
  EXPECT_FALSE(selectDatabaseEntry(index, 99));

  // Stored power figures are refreshed from the gains and the types.
  Project project;
  PlacedSpeaker s = newPlacedSpeaker({0, 0, 0});
  ASSERT_TRUE(resolveSpeakerType(project, index, s, "PISTON8"));
  s.eqGain.fill(-3);
  auto addSpeaker = [&](std::int16_t type) {
    auto o = ObjectList::allocObject(0, 0, 0);
    o->layer = LAYER_SPEAKERS;
    s.typeIndex = type;
    storeSpeaker(*o, s);
    return project.objects.insertAtHead(std::move(o));
  };
  ModelObject* obj = addSpeaker(0);
  addSpeaker(7);  // no such project type: left alone
  EXPECT_EQ(recomputeSpeakerPowers(project), 1u);
  EXPECT_NEAR(speakerOf(*obj)->electricalPower[3], 80 * std::pow(10.0, -0.3), 1e-3);
}

}  // namespace
}  // namespace tav
