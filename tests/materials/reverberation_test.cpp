// Reverberation time in boxes, checked against hand calculations.
#include "materials/reverberation.h"

#include <gtest/gtest.h>

#include "model/project.h"
#include "support/model_builders.h"
#include "support/near.h"

namespace tav {
namespace {

using test::addBox;
using test::BoxOptions;
using test::makeMaterial;
using test::uniformAlpha;

ProjectMaterials materialsOf(std::vector<AbsorberMaterial> slots) {
  ProjectMaterials m;
  m.slots = std::move(slots);
  return m;
}

// The 10 m box, every face with material `material`.
ObjectList box10(std::uint16_t material = 0, BoxOptions opt = {}) {
  ObjectList list;
  opt.materials.fill(material);
  addBox(list, {0, 0, 0}, {10, 10, 10}, opt);
  return list;
}

// The 10 m box, every face absorbing `alpha`.
ReverbResult inBox10(float alpha, ReverbMethod method, std::array<float, 7> measured = {}) {
  return computeReverberation(box10(), materialsOf({makeMaterial("A", uniformAlpha(alpha))}),
                              method, measured);
}

TEST(Reverberation, TenMetreBoxColumnsScaleAndLines) {
  const ReverbResult r = inBox10(0.1f, ReverbMethod::Sabine);
  // The times of every band and method are the three-axes room's test.
  EXPECT_NEAR(r.absorption[3], 60.0, 1e-5);
  // Window columns: A and A + 4mV (4 * 0.035 * 1000 at 8 kHz), as a share of S.
  EXPECT_NEAR(r.absorptionWithAir[6], 200.0, 1e-5);
  EXPECT_NEAR(r.sharePercent(r.absorptionNoAir[0]), 10.0, 1e-5);
  // Closed: no area error lines; scale up to 3 s.
  EXPECT_TRUE(areaErrorLines(r.closure, r.surface, false).empty());
  EXPECT_NEAR(r.closure.areaXY, 200.0, 1e-9);
  EXPECT_EQ(rt60ScaleSeconds(r), 3);
  EXPECT_EQ(surfaceLine(r.surface, false), "S total :  600.0 m\u00B2");
  EXPECT_EQ(volumeLine(r.volume, true), "V total : 35314.7 cu.ft");
  EXPECT_EQ(surfaceLine(r.surface, true), "S total : 6458.3 ft\u00B2");
}

TEST(Reverberation, BoxWithoutItsCeilingShowsTheAreaError) {
  BoxOptions opt;
  opt.missing = {test::CEILING};
  const ObjectList list = box10(0, opt);
  const AreaClosure c = areaClosureCheck(list);
  EXPECT_TRUE(tavtest::near(c.signedSum, {0, 0, 100}, 1e-9));
  const auto lines = areaErrorLines(c, 500.0, false);
  EXPECT_EQ(lines, (std::vector<std::string>{
                       "Total Area Error : 100.00 m\u00B2",
                       "XY Area : 100.00 m\u00B2, XY Error : 100.00 m\u00B2 ",
                   }));
  EXPECT_EQ(areaErrorLines(c, 500.0, true).at(0), "Total Area Error : 1076.39 ft\u00B2");
  // Only the walls with their normals count towards V: 2 x 1000 / 3.
  const ReverbResult r = computeReverberation(
      list, materialsOf({makeMaterial("A", uniformAlpha(0.1f))}), ReverbMethod::Sabine, {});
  EXPECT_NEAR(r.volume, 2000.0 / 3.0, 1e-9);
  EXPECT_NEAR(r.surface, 500.0, 1e-9);
}

TEST(Reverberation, AreaErrorBelowHalfAPercentIsNotShown) {
  AreaClosure c;
  c.areaXY = c.areaYZ = c.areaXZ = 200;
  c.signedSum = {0, 0, 2.9};
  c.totalError = 2.9f;
  EXPECT_TRUE(areaErrorLines(c, 600.0, false).empty());  // 2.9 <= 3
  c.totalError = 3.1f;
  EXPECT_EQ(areaErrorLines(c, 600.0, false).size(), 2u);
  // A plane without area is listed even without a signed error.
  c.areaYZ = 0.004;
  EXPECT_EQ(areaErrorLines(c, 600.0, false).back(),
            "YZ Area :   0.00 m\u00B2, YZ Error :   0.00 m\u00B2 ");
}

TEST(Reverberation, EyringStaysFiniteWithFullAbsorption) {
  const ReverbResult full = inBox10(1.0f, ReverbMethod::Eyring);
  const double e = -std::log(1.000000000001 - 1.0);  // about 27.63
  for (int b = 0; b < BAND_COUNT; ++b) {
    ASSERT_TRUE(full.rt60NoAir[b]);
    EXPECT_NEAR(*full.rt60NoAir[b], 161.0 / (e * 600.0), 1e-9);
    ASSERT_TRUE(full.rt60[b]);
  }
  EXPECT_NEAR(*full.rt60[6], 161.0 / (e * 600.0 + 140.0), 1e-9);
}

// A room of 10 x 6 x 4 m whose walls across x absorb 0.1, across y 0.2 and
// floor and ceiling 0.4: V = 240 m³, S = 248 m², Sx = 48, Sy = 80, Sz = 120,
// A = 4.8 + 16 + 48 = 68.8 m². Air per band: 4 m V = 960 m.
//   Sabine   T = 0.161 V / (A + 4mV)
//   Eyring   T = 0.161 V / (-S ln(1 - A/S) + 4mV)
//   Fitzroy  T = sum over the axes of (Si/S) 0.161 V / (S alpha_i + 4mV)
struct ThreeAxesCase {
  const char* name;
  ReverbMethod method;
  std::array<double, BAND_COUNT> seconds;  // with air, 125 Hz .. 8 kHz
};

void PrintTo(const ThreeAxesCase& c, std::ostream* os) { *os << c.name; }

class RoomOfThreeAxes : public ::testing::TestWithParam<ThreeAxesCase> {};

TEST_P(RoomOfThreeAxes, EveryBandWithItsAirAbsorption) {
  BoxOptions opt;
  opt.materials = {0, 0, 1, 1, 2, 2};
  ObjectList list;
  addBox(list, {0, 0, 0}, {10, 6, 4}, opt);
  const auto mats =
      materialsOf({makeMaterial("x", uniformAlpha(0.1f)), makeMaterial("y", uniformAlpha(0.2f)),
                   makeMaterial("z", uniformAlpha(0.4f))});
  const ReverbResult r = computeReverberation(list, mats, GetParam().method, {});
  EXPECT_NEAR(r.volume, 240.0, 1e-9);
  EXPECT_NEAR(r.surface, 248.0, 1e-9);
  for (int b = 0; b < BAND_COUNT; ++b) {
    ASSERT_TRUE(r.rt60[b] && r.rt60NoAir[b]) << b;
    EXPECT_NEAR(*r.rt60[b], GetParam().seconds[b], 2e-6) << BAND_FREQUENCIES[b] << " Hz";
    EXPECT_NEAR(*r.rt60NoAir[b], GetParam().seconds[0], 2e-6) << "no air at 125 Hz";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Methods, RoomOfThreeAxes,
    ::testing::Values(
        ThreeAxesCase{"Sabine",
                      ReverbMethod::Sabine,
                      {0.561628, 0.561393, 0.560845, 0.557737, 0.546380, 0.498967, 0.377344}},
        ThreeAxesCase{"Eyring",
                      ReverbMethod::Eyring,
                      {0.479513, 0.479342, 0.478943, 0.476674, 0.468354, 0.433078, 0.338408}},
        ThreeAxesCase{"Fitzroy",
                      ReverbMethod::Fitzroy,
                      {0.741337, 0.740787, 0.739507, 0.732295, 0.706724, 0.611041, 0.418663}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Reverberation, BandWithoutAbsorptionHasNoFiniteTime) {
  const ReverbResult sabine = inBox10(0.0f, ReverbMethod::Sabine);
  EXPECT_FALSE(sabine.rt60NoAir[6]);
  EXPECT_FALSE(sabine.rt60[0]);  // no air absorption at 125 Hz either
  EXPECT_NEAR(*sabine.rt60[6], 161.0 / 140.0, 1e-9);
  // Eyring's -ln(1 + 1e-12) is negative: without air that is no time at all.
  const ReverbResult eyring = inBox10(0.0f, ReverbMethod::Eyring);
  EXPECT_FALSE(eyring.rt60NoAir[3]);
  ASSERT_TRUE(eyring.rt60[6]);
  EXPECT_NEAR(*eyring.rt60[6], 161.0 / 140.0, 1e-6);
}

TEST(Reverberation, NoRoomOrOutwardFacesGiveZero) {
  ObjectList empty;
  const auto mats = materialsOf({makeMaterial("Ten", uniformAlpha(0.1f))});
  for (ReverbMethod m : {ReverbMethod::Sabine, ReverbMethod::Eyring, ReverbMethod::Fitzroy}) {
    const ReverbResult r = computeReverberation(empty, mats, m, {});
    EXPECT_EQ(r.rt60[0], 0.0);
    EXPECT_EQ(rt60ScaleSeconds(r), 1);
  }
  BoxOptions opt;
  opt.outward = {0, 1, 2, 3, 4, 5};
  const ObjectList inverted = box10(0, opt);
  const ReverbResult r = computeReverberation(inverted, mats, ReverbMethod::Sabine, {});
  EXPECT_NEAR(r.volume, -1000.0, 1e-9);
  EXPECT_EQ(r.rt60[3], 0.0);
}

TEST(Reverberation, MeasurementDerivesAbsorption) {
  const ReverbResult r =
      inBox10(0.1f, ReverbMethod::Measurement, {0.05f, 0.1f, 0.5f, 0.5f, -0.5f, 0.5f, 0.5f});
  EXPECT_FALSE(r.impossibleInput);
  EXPECT_NEAR(*r.rt60[0], 0.05, 1e-7);
  EXPECT_NEAR(r.absorption[0], 600.0, 1e-9);  // below 0.1 s: the whole surface
  EXPECT_NEAR(r.absorption[1], 600.0, 1e-6);  // 1610 limited to S
  EXPECT_NEAR(r.absorption[2], 322.0, 1e-4);  // 161 / 0.5
  EXPECT_NEAR(*r.rt60[4], 0.5, 1e-7);         // the magnitude of the value
  // Without air: 161 / (322 - 4 m V); at 8 kHz 161 / 182, at 500 Hz 161 / 321.6.
  EXPECT_NEAR(*r.rt60NoAir[6], 161.0 / (322.0 - 140.0), 1e-5);
  EXPECT_NEAR(*r.rt60NoAir[2], 161.0 / (322.0 - 0.4), 1e-5);
  // The window's column without air: A - 4mV.
  EXPECT_NEAR(r.absorptionNoAir[6], 182.0, 1e-4);
}

TEST(Reverberation, MeasurementBelowTheAirAbsorptionIsImpossible) {
  // 2 s everywhere: A = 80.5, but at 8 kHz the air alone takes 140 > 80.5 / 0.99.
  const ReverbResult r = inBox10(0.1f, ReverbMethod::Measurement, {2, 2, 2, 2, 2, 2, 2});
  EXPECT_TRUE(r.impossibleInput);
  EXPECT_FALSE(r.rt60NoAir[6]);
  EXPECT_NEAR(*r.rt60NoAir[0], 2.0, 1e-6);
  EXPECT_NEAR(*r.rt60NoAir[4], 161.0 / (80.5 - 8.0), 1e-5);
}

TEST(Reverberation, OutOfRangeMaterialCountsAsSlotZeroAndProjectMethodIsUsed) {
  Project p;
  p.materials.slots = {makeMaterial("Ten", uniformAlpha(0.1f)),
                       makeMaterial("Half", uniformAlpha(0.5f))};
  BoxOptions opt;
  opt.materials = {0, 0, 0, 0, 1, 9};  // the ceiling refers to a deleted material
  addBox(p.objects, {0, 0, 0}, {10, 10, 10}, opt);
  p.settings.rtMethod = RT_EYRING;
  const ReverbResult r = computeReverberation(p);
  EXPECT_EQ(r.method, ReverbMethod::Eyring);
  EXPECT_NEAR(r.absorption[0], 5 * 10.0 + 50.0, 1e-4);
  EXPECT_EQ(computeReverberation(p, ReverbMethod::Fitzroy).method, ReverbMethod::Fitzroy);
  p.settings.rtMethod = 7;
  EXPECT_EQ(computeReverberation(p).method, ReverbMethod::Sabine);
}

}  // namespace
}  // namespace tav
