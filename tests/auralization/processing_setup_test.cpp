// Reading a profile for a run and condensing it for the real-time mode.
#include "auralization/processing_setup.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace tav {
namespace {

ImpulseRecord rec(float ms, float amplitude) { return {ms, {amplitude, 0, 0, 0, 0, 0, 0}, {}}; }
ImpulseRecord bands(float v) { return {0, {v, v, v, v, v, v, v}, {}}; }

TEST(ProcessingProfile, RecordsBecomeImpulsesWithinTheDelayLine) {
  AudioProfile p;
  const float nan = std::numeric_limits<float>::quiet_NaN();
  p.paths = {
      rec(0, 1),           // kept: delay 0
      rec(1.0f, 0.5f),     // trunc(1.0 * 0.001 * 22050) = 22
      rec(9999.9f, 0.3f),  // 220497.8 -> 220497, the last that fits
      rec(10000, 0.3f),    // 220500: skipped
      rec(-1, 0.3f),       // negative: skipped
      rec(nan, 0.3f),      // skipped
      rec(5, 0.9e-6f),     // below 1e-6: skipped
      rec(5, 1e-6f),       // kept
      rec(6, nan),         // skipped
  };
  p.trailing = {bands(0.5f)};
  TailRandom random;
  const ProcessingSetup s = readProcessingProfile(p, 22050, false, random);
  ASSERT_EQ(s.impulses.size(), 4u);
  EXPECT_EQ(s.impulses[1].delay, 22);
  EXPECT_EQ(s.impulses[2].delay, 220497);
  EXPECT_EQ(s.impulses[3].delay, 110);
  EXPECT_FLOAT_EQ(s.bandGains[3], 0.5f);
}

TEST(ProcessingProfile, ApfProfileInRealTimeKeepsTheDefaults) {
  AudioProfile p;
  p.paths = {rec(0, 1)};
  p.trailing = {bands(0.7f)};
  TailRandom random;
  const ProcessingSetup s = readProcessingProfile(p, 22050, true, random);
  EXPECT_FLOAT_EQ(s.reverbTimes[6], 0.001f);
  // RT 1 ms: the tail decays at once; the direct sound alone remains.
  ASSERT_EQ(s.impulses.size(), 1u);
  EXPECT_FLOAT_EQ(s.impulses[0].gain, 1.0f);
}

TEST(ProcessingProfile, NoRecordLeftFallsBackToTheDryImpulse) {
  AudioProfile p;
  p.paths = {rec(10000, 1), rec(0, 0)};
  TailRandom random;
  for (bool realtime : {false, true}) {
    const ProcessingSetup s = readProcessingProfile(p, 22050, realtime, random);
    ASSERT_EQ(s.impulses.size(), 1u);
    EXPECT_FLOAT_EQ(s.impulses[0].gain, 1.0f);
    EXPECT_TRUE(s.fellBackToDry);
  }
}

TEST(TailRandomTest, TheFixedSequenceOfTheClassicGenerator) {
  TailRandom r;
  EXPECT_EQ(r.next(), 16838);
  EXPECT_EQ(r.next(), 5758);
  EXPECT_EQ(r.next(), 10113);
}

TEST(Condense, BlocksOf442SamplesSumTheirGainsAtTheEarliestDelay) {
  const ProfileBandValues rt = {0.001f, 0.001f, 0.001f, 0.001f, 0.001f, 0.001f, 0.001f};
  const ProfileBandValues ratio{};
  TailRandom random;
  // Blocks: 0 holds 100 and 441, 1 holds 442 and 883, 3 holds 1400.
  const auto out = condenseImpulses({{441, 0.5f},
                                     {100, 1.0f},
                                     {883, 0.25f},
                                     {442, 0.5f},
                                     {1400, 0.3f},
                                     {120000, 1.0f}},  // past block 249: left out
                                    rt, ratio, 22050, random);
  ASSERT_EQ(out.size(), 3u);
  EXPECT_EQ(out[0].delay, 100);
  EXPECT_EQ(out[1].delay, 442);
  EXPECT_FLOAT_EQ(out[1].gain, 0.5f);  // 0.75 / 1.5
  EXPECT_EQ(out[2].delay, 1400);
  EXPECT_FLOAT_EQ(out[2].gain, 0.2f);
}

TEST(Condense, LateEnergyCountsFromBlockTwo) {
  // Blocks 0, 1, 2 hold 1, 0.5, 0.25; R = 0, so X = S_late = 0.25 (block 1
  // is early) and E_ref = (1 + 0.5) * 1.25 = 1.875. RT 1 s as below.
  ProfileBandValues rt{};
  rt[0] = 1.0f;
  TailRandom random;
  const auto out = condenseImpulses({{0, 1.0f}, {500, 0.5f}, {1000, 0.25f}}, rt, {}, 22050, random);
  ASSERT_GT(out.size(), 4u);
  EXPECT_FLOAT_EQ(out[2].gain, 0.25f);
  double sum = 0;
  for (std::size_t i = 3; i < out.size(); ++i) sum += out[i].gain;
  EXPECT_NEAR(sum, 1.875 * std::pow(1e-6, out[3].delay / 22050.0), 2e-6);
}

TEST(Condense, TailFillsEverySecondBlockWithTheDecay) {
  // RT 1 s: g = 10^-6 per second. R = 0.5 exceeds S_late = 0, so
  // E_ref = (1 + 0) * 1.5. Blocks 248, 246, ... 2 lie above K_last = 0.
  ProfileBandValues rt{};
  rt[2] = 1.0f;
  ProfileBandValues ratio{};
  ratio[5] = 0.5f;
  TailRandom random;
  const auto out = condenseImpulses({{0, 1.0f}}, rt, ratio, 22050, random);
  ASSERT_GT(out.size(), 2u);
  EXPECT_FLOAT_EQ(out[0].gain, 1.0f);
  double sum = 0;
  for (std::size_t i = 1; i < out.size(); ++i) {
    // Block k lies at 441 k plus up to 2 * 441 random samples.
    EXPECT_GE(out[i].delay, 2 * 441);
    sum += out[i].gain;
  }
  // The differences telescope: their sum is the decay at block 2's
  // position, less the first value at or below 1e-6.
  const double e2 = 1.5 * std::pow(1e-6, out[1].delay / 22050.0);
  EXPECT_NEAR(sum, e2, 2e-6);
  // The tail ends where 1.5 * 10^(-6 t) reaches 1e-6: t = 1.029 s.
  EXPECT_LT(out.back().delay, 1.03 * 22050);
  EXPECT_GT(out.back().delay, 1.03 * 22050 - 5 * 441);
}

}  // namespace
}  // namespace tav
