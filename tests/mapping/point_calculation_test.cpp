// The per-point engine against hand calculations: the direct sound on axis,
// a band nobody serves, the phase relations with two equal loudspeakers,
// the first-arrival rule, shading and the reflection limit (in each face
// search), and a point on the loudspeaker.
#include "mapping/point_calculation.h"

#include <gtest/gtest.h>

#include <cmath>

#include "mapping_fixtures.h"
#include "reflections/face_bvh.h"

namespace tav {
namespace {

using maptest::SpeakerSpec;

ProjectMaterials noMaterials() { return {}; }

// Computes one point without a room.
PointScratch freeField(const ActiveSpeakerTable& table, const Vec3d& p, PhaseRelation phase) {
  const PointCalculation calc =
      preparePointCalculation(table, nullptr, nullptr, noMaterials(), 0, phase);
  PointScratch s;
  computePoint(calc, p, s);
  return s;
}

TEST(PointCalculation, TenMetresOnAxisGivesSeventyDecibelsLessAirAndTheDelay) {
  const SpeakerType type = maptest::omniType();
  SpeakerSpec spec{{1, 2, 3}};
  spec.delay = 0.0;
  const auto table = maptest::speakerTable(type, {spec});
  const PointScratch s = freeField(table, {11, 2, 3}, PhaseRelation::Energy);
  for (int b = 0; b < BAND_COUNT; ++b) {
    SCOPED_TRACE(b);
    const double air = std::pow(AIR_ATTENUATION[b], 10.0);
    // 1e9 / 10² = 1e7, times the air factor over 10 m, plus 1.
    EXPECT_NEAR(s.lists[b].sum, 1e7 * air + 1.0, 1e7 * air * 1e-6);
    EXPECT_NEAR(s.lists[b].t0 * 1000.0, 29.154519, 1e-4);  // 10 / 343 s
    ASSERT_EQ(s.lists[b].size(), 1u);
  }
  // 8000 Hz: 70 dB less 10 log10(1 / 0.965^10) = 1.547 dB.
  EXPECT_NEAR(10 * std::log10(s.lists[6].sum), 68.453, 1e-3);
}

TEST(PointCalculation, BandServedByNobodyKeepsItsFirstArrivalAndASumJustAboveOne) {
  const SpeakerType type = maptest::omniType();
  SpeakerSpec spec{{0, 0, 0}};
  spec.bands = 0x3F;  // no 8000 Hz
  spec.delay = 7;
  const auto table = maptest::speakerTable(type, {spec, spec});
  for (PhaseRelation phase :
       {PhaseRelation::Energy, PhaseRelation::OctaveBandwidth, PhaseRelation::SingleFrequency}) {
    SCOPED_TRACE(static_cast<int>(phase));
    const PointScratch s = freeField(table, {5, 0, 0}, phase);
    const ContributionList& none = s.lists[6];
    EXPECT_EQ(none.t0, NO_ARRIVAL_SECONDS);
    ASSERT_EQ(none.size(), 2u);
    EXPECT_EQ(none.time[1], NO_ARRIVAL_SECONDS);
    EXPECT_EQ(none.energy[1], INACTIVE_ARRIVAL_ENERGY);
    EXPECT_GT(none.sum, 1.0f);
    EXPECT_LT(none.sum, 1.0021f);
    EXPECT_NEAR(s.lists[0].t0, 5.0 / 343 + 0.007, 1e-7);
  }
}

struct PhaseCase {
  const char* name;
  PhaseRelation phase;
  int secondPolarity;
  double ratio;  // (sum - 1) over one loudspeaker's energy
};

class TwoEqualSpeakers : public testing::TestWithParam<PhaseCase> {};

TEST_P(TwoEqualSpeakers, SumByPhaseRelation) {
  const PhaseCase& c = GetParam();
  const SpeakerType type = maptest::omniType();
  SpeakerSpec a{{0, 3, 0}}, b{{0, -3, 0}};
  b.polarity = c.secondPolarity;
  const auto table = maptest::speakerTable(type, {a, b});
  const PointScratch s = freeField(table, {4, 0, 0}, c.phase);
  for (int band = 0; band < BAND_COUNT; ++band) {
    const double one = 1e9 / 25.0 * std::pow(AIR_ATTENUATION[band], 5.0);
    EXPECT_NEAR((s.lists[band].sum - 1.0) / one, c.ratio, 1e-6) << band;
  }
}

INSTANTIATE_TEST_SUITE_P(
    PointCalculation, TwoEqualSpeakers,
    testing::Values(PhaseCase{"energy", PhaseRelation::Energy, 1, std::sqrt(2.0)},
                    PhaseCase{"energy_antiphase", PhaseRelation::Energy, -1, std::sqrt(2.0)},
                    PhaseCase{"single", PhaseRelation::SingleFrequency, 1, 2.0},
                    PhaseCase{"single_antiphase", PhaseRelation::SingleFrequency, -1, 0.0},
                    // 0.333 at each of the three frequencies, in phase at all.
                    PhaseCase{"octave", PhaseRelation::OctaveBandwidth, 1, 3 * 0.666},
                    PhaseCase{"octave_antiphase", PhaseRelation::OctaveBandwidth, -1, 0.0}),
    [](const auto& info) { return std::string(info.param.name); });

struct FirstArrivalCase {
  const char* name;
  double laterDb;  // how much stronger the arrival 5 ms later is
  bool becomesFirst;
};

class FirstArrivalRule : public testing::TestWithParam<FirstArrivalCase> {};

TEST_P(FirstArrivalRule, LaterArrivalTakesOverOnlyAbove12Point5Decibels) {
  const FirstArrivalCase& c = GetParam();
  const SpeakerType type = maptest::omniType();
  SpeakerSpec early{{0, 0, 0}}, late{{0, 0, 0}};
  late.delay = 5;
  late.factor = early.factor * std::pow(10.0, c.laterDb / 10);
  const auto table = maptest::speakerTable(type, {early, late});
  const PointScratch s = freeField(table, {10, 0, 0}, PhaseRelation::Energy);
  const double direct = 10.0 / 343;
  EXPECT_NEAR(s.lists[3].t0, c.becomesFirst ? direct + 0.005 : direct, 1e-7);
  EXPECT_EQ(s.lists[3].first, c.becomesFirst ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(PointCalculation, FirstArrivalRule,
                         testing::Values(FirstArrivalCase{"thirteen_db", 13, true},
                                         FirstArrivalCase{"twelve_db", 12, false},
                                         FirstArrivalCase{"weaker", -3, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// Loudspeaker at the origin, point at (10, 0, 0); a wall at x = 5 between
// them (|y|, |z| <= 5) and a floor at z = -depth (material 1 absorbs 0.5).
// The floor's reflection travels 100 + 4 depth² m²: at 20 m 1700 m², beyond
// r² + 144 = 244 m²; at 2 m 116 m², within it.
struct ShadingCase {
  const char* name;
  bool wall;
  std::int16_t includeRoom;
  bool direct;
  bool floorReflection;
  double depth = 20;
};

class ShadingAndReflectionLimit : public testing::TestWithParam<ShadingCase> {};

TEST_P(ShadingAndReflectionLimit, ArrivalsWithAndWithoutTheWall) {
  const ShadingCase& c = GetParam();
  Project project;
  project.materials.slots.push_back(maptest::makeMaterial("Half", maptest::uniformAlpha(0.5f)));
  if (c.wall) maptest::addFace(project.objects, {{5, -5, -5}, {5, 5, -5}, {5, 5, 5}, {5, -5, 5}});
  const double z = -c.depth, pathSq = 100 + 4 * c.depth * c.depth;
  maptest::addFace(project.objects, {{-50, -50, z}, {50, -50, z}, {50, 50, z}, {-50, 50, z}}, 1);
  FaceTable faces;
  buildFaceTable(project, faces);
  const FaceBvh hierarchy(faces);
  const SpeakerType type = maptest::omniType();
  const auto table = maptest::speakerTable(type, {SpeakerSpec{{0, 0, 0}}});
  for (FaceSearch search : {FaceSearch::Plain, FaceSearch::PlainFiltered, FaceSearch::Hierarchy}) {
    SCOPED_TRACE(static_cast<int>(search));
    const PointCalculation calc = preparePointCalculation(
        table, &faces, &hierarchy, project.materials, c.includeRoom, PhaseRelation::Energy, search);
    PointScratch s;
    computePoint(calc, {10, 0, 0}, s);
    const ContributionList& l = s.lists[0];
    ASSERT_EQ(l.size(), std::size_t{c.direct} + std::size_t{c.floorReflection});
    if (c.floorReflection) {
      // The mirror image (10, 0, -2 depth), halved by the floor.
      EXPECT_NEAR(l.energy.back(), 1e9 / pathSq * 0.5, 0.5);
      EXPECT_NEAR(l.time.back(), std::sqrt(pathSq) / 343, 1e-6);
    }
    if (c.direct) {
      EXPECT_NEAR(l.energy.front(), 1e7, 1e-1);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    PointCalculation, ShadingAndReflectionLimit,
    testing::Values(ShadingCase{"wall_shading", true, INCLUDE_SHADING, false, false},
                    ShadingCase{"wall_shading_reflection_unlimited", true,
                                INCLUDE_SHADING | INCLUDE_REFLECTION, false, true},
                    ShadingCase{"free_path_limits_reflection", false,
                                INCLUDE_SHADING | INCLUDE_REFLECTION, true, false},
                    ShadingCase{"reflection_within_the_limit", false,
                                INCLUDE_SHADING | INCLUDE_REFLECTION, true, true, 2},
                    ShadingCase{"no_shading_no_limit", true, INCLUDE_REFLECTION, true, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PointCalculation, PointOnTheLoudspeakerUsesOneHundredAndTheAxisRow) {
  SpeakerType type = maptest::omniType();
  // Row 0 at column 18 (the cell a zero vector looks up) 5 dB down; row 1
  // another level, which must not take part.
  for (DirectivityGrid& g : type.grids) {
    g.at(0, 18) = 200;
    g.at(1, 18) = 100;
  }
  SpeakerSpec spec{{2, 2, 2}};
  spec.factor = 1e6;
  const auto table = maptest::speakerTable(type, {spec});
  const PointScratch s = freeField(table, {2, 2, 2.005}, PhaseRelation::Energy);
  // q = 100, D = 10^-0.5: the point lies within 0.01 m, so the direction is
  // the axis whatever it is.
  EXPECT_NEAR(s.lists[2].energy[0], 1e8 * std::pow(10.0, -0.5), 1e2);
  EXPECT_NEAR(s.lists[2].t0, 0.005 / 343, 1e-9);
}

}  // namespace
}  // namespace tav
