// What the map shows: the point functions against hand values and the
// statistical model of speech transmission, the reverberant energy of a
// box, the colour scale with its worked examples, and the legend labels.
#include <gtest/gtest.h>

#include <cmath>

#include "mapping/map_scale.h"
#include "mapping/point_evaluation.h"
#include "mapping_fixtures.h"

namespace tav {
namespace {

BandFloats uniform(float v) { return {v, v, v, v, v, v, v}; }

ReverberantField field(double er, double rt) {
  ReverberantField f;
  f.energy.fill(er);
  f.rt.fill(rt);
  return f;
}

TEST(MapValues, LevelFunctionsAgainstHandValues) {
  BandFloats e = uniform(1e6f);
  e[3] = 1e7f;
  const ReverberantField f = field(1e6, 1.0);
  EXPECT_NEAR(ld(e, 3), 70.0, 1e-9);
  EXPECT_NEAR(ldAll(e), 10 * std::log10(1.6e7 + 0.001), 1e-9);
  EXPECT_NEAR(lt(e, f, 0), 10 * std::log10(std::sqrt(2.0) * 1e6), 1e-9);  // 61.505 dB
  EXPECT_NEAR(ltAll(e, f), 10 * std::log10(6 * std::sqrt(2.0) * 1e6 + std::sqrt(1.01e14)), 1e-9);
  EXPECT_NEAR(ldLr(e, f, 3), 10 * std::log10(1e7 / (1e6 + 1)), 1e-9);
  // Weights 0.01 .. 0.057 sum to 1: LdLrAll of equal ratios is that ratio.
  EXPECT_NEAR(ldLrAll(uniform(1e6f), f), 10 * std::log10(1e6 / (1e6 + 1)), 1e-9);
  BandFloats t = uniform(1e7f);
  EXPECT_EQ(t0All(t), 1e6);
  t[4] = 42.0f;
  EXPECT_EQ(t0All(t), 42.0);
}

struct StiCase {
  const char* name;
  double rt;
  double sti;  // the statistical model (IEC 60268-16) with a negligible direct field
};

class SpeechTransmission : public testing::TestWithParam<StiCase> {};

TEST_P(SpeechTransmission, FollowsTheStatisticalModelOfAReverberantField) {
  const StiCase& c = GetParam();
  std::vector<std::string> warnings;
  const DiagnosticSink sink = [&](std::string_view l) { warnings.emplace_back(l); };
  const ReverberantField f = field(1e12, c.rt);
  EXPECT_NEAR(stiAll(uniform(1.0f), f, sink) / 100, c.sti, 0.005);
  // With equal bands the redundancy terms leave the band index itself.
  EXPECT_NEAR(stiBand(uniform(1.0f), f, 2, sink), stiAll(uniform(1.0f), f, sink), 1e-9);
  EXPECT_TRUE(warnings.empty());
}

INSTANTIATE_TEST_SUITE_P(MapValues, SpeechTransmission,
                         testing::Values(StiCase{"half_second", 0.5, 0.736},
                                         StiCase{"one_second", 1.0, 0.588},
                                         StiCase{"two_seconds", 2.0, 0.437}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MapValues, StiWarnsWhereTheModulationCannotBeTakenAndRefusesABadBand) {
  std::string out;
  const DiagnosticSink sink = [&](std::string_view l) { out += l; };
  // No reverberation time: m = 1 at every modulation frequency.
  EXPECT_EQ(stiBand(uniform(1e6f), field(1e6, 0.0), 0, sink), 0.0);
  EXPECT_NE(out.find("Warning: result_m[0] is out of valid range for log10 transformation\n"),
            std::string::npos);
  out.clear();
  EXPECT_EQ(stiBand(uniform(1e6f), field(1e6, 1.0), 7, sink), -1.0);
  EXPECT_EQ(out, "Error: test_freq_idx is out of bounds for Reverberant_Power and RT60 arrays\n");
  // The export lines, C-locale numbers whatever the process uses.
  StiBandValues v;
  v.mti.fill(0.5);
  v.lt.fill(80.04);
  v.mti[6] = 0.123456789;
  EXPECT_EQ(stiExportLines(v).substr(0, 16), "0,0.500000,80.0\n");
  EXPECT_NE(stiExportLines(v).find("6,0.123457,80.0\n"), std::string::npos);
}

TEST(MapValues, ReverberantEnergyOfATenMetreBox) {
  Project project;
  project.materials.slots.push_back(maptest::makeMaterial("Tenth", maptest::uniformAlpha(0.1f)));
  test::BoxOptions box;
  box.materials.fill(1);
  maptest::addBox(project.objects, {0, 0, 0}, {10, 10, 10}, box);
  const maptest::SpeakerSpec spec{{5, 5, 5}};  // F = 1e9
  maptest::addSpeakerObject(project, spec);
  maptest::addSpeakerObject(project, spec);
  const ReverberantField f = reverberantEnergy(project);
  EXPECT_NEAR(f.volume, 1000, 1e-6);
  // P = sqrt(2) 1e9 4 pi / (1 + 1e-6); RT(125 Hz) = 161 / 60 s.
  const double p = std::sqrt(2.0) * 1e9 * 12.566370616 / (1 + 1e-6);
  EXPECT_NEAR(f.power[0], p, p * 1e-12);
  // (The coefficients are float32: 0.1f is 1.5e-9 above 0.1.)
  EXPECT_NEAR(f.rt[0], 161.0 / 60.0, 1e-6);
  EXPECT_NEAR(f.energy[0], p * 4 * 1.047 / (161.0 / (161.0 / 60.0)), f.energy[0] * 1e-6);
  // No room at all: Er = 1.
  Project open;
  maptest::addSpeakerObject(open, spec);
  EXPECT_EQ(reverberantEnergy(open).energy, field(1.0, 0).energy);
}

// One band of the map: Emin 10^4.2 (42 dB), Emax 10^7.9 (79 dB).
LevelMap bandMap() {
  LevelMap m;
  m.bandCounts = {0, 0, 0, 1, 0, 0, 0, 1};
  m.bounds.emin[3] = static_cast<float>(std::pow(10.0, 4.2));
  m.bounds.emax[3] = static_cast<float>(std::pow(10.0, 7.9));
  m.bounds.tmin[3] = 20;
  m.bounds.tmax[3] = 87;
  return m;
}

struct ScaleCase {
  const char* name;
  int mode, band, stepIndex;
  MapScale scale;
  double value;
  int colour;
};

const ScaleCase SCALE_CASES[] = {
    // 37 / 16 = 2.31: step 2. 79 dB is the top, 71 dB four steps down, 43 dB
    // eighteen.
    {"auto_top", MAP_MODE_LD, 3, -1, {79, 42, 2}, 79, 63},
    {"auto_71", MAP_MODE_LD, 3, -1, {79, 42, 2}, 71, 59},
    {"auto_43", MAP_MODE_LD, 3, -1, {79, 42, 2}, 43, 45},
    // 1 dB: 36 steps below the top stops at the ramp's end.
    {"one_db_43", MAP_MODE_LD, 3, 0, {79, 42, 1}, 43, 37},
    {"three_db", MAP_MODE_LD, 3, 2, {79, 42, 3}, 71, 60},
    // Ties go to the even step: 5 dB / 2 = 2.5 -> 2, 7 / 2 = 3.5 -> 4.
    {"tie_down", MAP_MODE_LD, 3, -1, {79, 42, 2}, 74, 61},
    {"tie_up", MAP_MODE_LD, 3, -1, {79, 42, 2}, 72, 59},
    {"above_top", MAP_MODE_LD, 3, -1, {79, 42, 2}, 90, 63},
    // Times: 67 / 16 = 4.19 rounds up to 5; the earliest time is red.
    {"time_auto", MAP_MODE_TIME, 3, -1, {87, 20, 5}, 20, 63},
    {"time_late", MAP_MODE_TIME, 3, -1, {87, 20, 5}, 42, 59},
    {"time_thirty", MAP_MODE_TIME, 3, 2, {87, 20, 30}, 87, 61},
    // All bands: only the bands some loudspeaker serves set the bounds.
    {"all_bands", MAP_MODE_LD, MAP_BAND_ALL, -1, {79, 42, 2}, 79, 63},
};

class ColourScale : public testing::TestWithParam<ScaleCase> {};

TEST_P(ColourScale, ScaleAndCellColour) {
  const ScaleCase& c = GetParam();
  const MapScale s = mapScale(bandMap(), c.mode, c.band, c.stepIndex, field(1, 1), {});
  EXPECT_EQ(s, c.scale);
  EXPECT_EQ(mapCellColour(c.value, s, c.mode), c.colour);
}

INSTANTIATE_TEST_SUITE_P(MapValues, ColourScale, testing::ValuesIn(SCALE_CASES),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MapValues, StiScaleStepsAndTheirTop) {
  LevelMap m = bandMap();
  // A direct field far above the reverberant one: the index nears 1.
  const ReverberantField f = field(1e3, 1.0);
  const MapScale automatic = mapScale(m, MAP_MODE_STI, 3, -1, f, {});
  EXPECT_EQ(automatic.top, MAP_STI_TOP_LIMIT);
  EXPECT_EQ(automatic.step, 5);
  const MapScale fixed = mapScale(m, MAP_MODE_STI_EXPORT, 3, 2, f, {});
  EXPECT_EQ(fixed.top, 90);  // 95 rounded down to a multiple of 10
  EXPECT_EQ(fixed.step, 10);
  EXPECT_EQ(mapScale(m, MAP_MODE_STI, 3, 0, f, {}).top, 94);
}

TEST(MapValues, LegendLabelsPerMode) {
  const std::vector<std::string> levels = mapLegendLabels({79, 42, 2}, MAP_MODE_LD);
  EXPECT_EQ(levels[0], " 79");
  EXPECT_EQ(levels[19], " 41");                                  // still above 42 - 2
  EXPECT_EQ(mapLegendLabels({79, 50, 2}, MAP_MODE_LD)[16], "");  // 47 is not above 48
  const std::vector<std::string> times = mapLegendLabels({87, 20, 5}, MAP_MODE_TIME);
  EXPECT_EQ(times[0], " 20");
  EXPECT_EQ(times[14], " 90");  // below 87 + 5
  EXPECT_EQ(times[15], "");
  const std::vector<std::string> sti = mapLegendLabels({100, 40, 15}, MAP_MODE_STI);
  EXPECT_EQ(sti[0], "1.000");
  EXPECT_EQ(sti[1], ".850");
  EXPECT_EQ(sti[4], ".400");
  EXPECT_EQ(sti[5], "");
  EXPECT_EQ(singlePointLabel(71.2049, MAP_MODE_LD), "71.20");
  EXPECT_EQ(singlePointLabel(73.61, MAP_MODE_STI), "0.74");
}

}  // namespace
}  // namespace tav
