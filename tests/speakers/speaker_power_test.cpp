// Electrical power, acoustic factor, total drive and the equalizer's values.
#include "speakers/speaker_power.h"

#include <gtest/gtest.h>

#include <cmath>

#include "speakers/equalizer_state.h"

namespace tav {
namespace {

BandValues all(double v) {
  BandValues g;
  g.fill(v);
  return g;
}

TEST(SpeakerPower, BandPowersFollowTheGainsWithinTheirLimits) {
  SpeakerType type = resetSpeakerType();
  type.maxPower = {100, 200, 0, 0.05f, 50, 10, 1};
  type.sensitivity = {90, 95, 100, 80, 70, 60, 30};
  PlacedSpeaker s = newPlacedSpeaker({0, 0, 0});
  s.nominalPower = 400;
  s.eqGain = {-9, 0, 3, 3, -50, -49.9f, -100};
  computeSpeakerPower(s, type);

  EXPECT_NEAR(s.electricalPower[0], 100 * std::pow(10.0, -0.9), 1e-4);
  EXPECT_FLOAT_EQ(s.electricalPower[1], 200);
  EXPECT_EQ(s.electricalPower[2], 0) << "no maximum power, no drive whatever the gain";
  EXPECT_FLOAT_EQ(s.electricalPower[3], 400 * 0.0001f) << "Pmax below 0.1 W: nominal power";
  EXPECT_EQ(s.electricalPower[4], 0) << "-50 dB switches the band off";
  EXPECT_NEAR(s.electricalPower[5], 10 * std::pow(10.0, -4.99), 1e-9);
  EXPECT_NEAR(s.acousticFactor[0], 12.589254 * 1e9, 1e4);
  EXPECT_NEAR(s.acousticFactor[3], 0.04 * 1e8, 1);

  // Gains capped at 0 dB: a positive gain still drives at most Pmax, from
  // 0.1 W on; below that the nominal power's ten-thousandth.
  EXPECT_DOUBLE_EQ(bandElectricalPower(6, 50, 1), 50);
  EXPECT_DOUBLE_EQ(bandElectricalPower(6, 0.1, 500), 0.1);
  EXPECT_DOUBLE_EQ(bandElectricalPower(6, 0.09, 500), 0.05);
}

TEST(SpeakerPower, TotalDriveDecidesWhetherASettingIsAccepted) {
  EXPECT_NEAR(totalDrive(all(-9.0)), -0.549, 0.001);
  UserMessage m;
  EXPECT_FALSE(driveAcceptable(all(0.0), &m));
  EXPECT_EQ(m.text, "Total output exceeds the speaker\u2019s maximum power (total > 0.0 dB).");
  EXPECT_EQ(m.caption, "EQ settings could not be applied.");

  // One band at 0 dB and six at the dialog's lowest -100 dB: just above 0;
  // with the others at -1000 dB exactly 0, which is still accepted.
  BandValues g = all(-100);
  g[3] = 0;
  EXPECT_GT(totalDrive(g), 0.0);
  EXPECT_FALSE(driveAcceptable(g));
  g = all(-1000);
  g[3] = 0;
  EXPECT_EQ(totalDrive(g), 0.0);
  EXPECT_TRUE(driveAcceptable(g));
}

TEST(SpeakerPower, GainsAreKeptAsShownAndTypeChoiceResetsThem) {
  EXPECT_DOUBLE_EQ(gainAsShown(-8.96), -9.0);
  EXPECT_DOUBLE_EQ(gainAsShown(-8.94), -8.9);

  PlacedSpeaker s = newPlacedSpeaker({0, 0, 0});
  s.eqGain.fill(-3);
  applyChosenType(s, {50, 400, 300, 0, 20, 10, 5});
  EXPECT_FLOAT_EQ(s.nominalPower, 400);
  for (float g : s.eqGain) EXPECT_FLOAT_EQ(g, -9.0f);
  EXPECT_NEAR(s.electricalPower[1], 400 * std::pow(10.0, -0.9), 1e-3);
}

// The steps of the bars are the dialog's tests; here the values as opened
// and the master.
TEST(EqualizerState, LimitsOnOpeningAndTheMaster) {
  EqualizerState eq(EqualizerMode::Gain, {-90, -10, -20, -120, 5, -30, -40});
  EXPECT_EQ(eq.band(3), -100) << "clamped on opening";
  EXPECT_EQ(eq.barPosition(2), 20);
  EqualizerState m(EqualizerMode::Gain, {-90, -10, -20, -30, -40, -50, -60});
  m.setMaster(-30);  // down 20 dB, but the lowest band is at -90
  EXPECT_EQ(m.band(0), -100);
  EXPECT_EQ(m.master(), -20);
  m.scroll(EQ_MASTER, EqualizerScroll::PageDown);  // reduced to zero: nothing
  EXPECT_EQ(m.band(1), -20);
  m.scroll(EQ_MASTER, EqualizerScroll::Top);
  EXPECT_EQ(m.band(0), -80);
  m.scroll(1, EqualizerScroll::PageDown);
  m.scroll(2, EqualizerScroll::PageUp);
  EXPECT_EQ(m.master(), m.band(2)) << "the master follows the largest band";

  EqualizerState rt(EqualizerMode::ReverbTime, {1.2, 1.5, 2.0, 2.2, 12, -1, 0.8});
  EXPECT_EQ(rt.band(4), 10);
  EXPECT_EQ(rt.band(5), 0);
  EXPECT_EQ(rt.barPosition(2), 80);
  EXPECT_NEAR(rt.summary(), (1.2 + 1.5 + 2.0 + 2.2 + 10 + 0 + 0.8) / 7, 1e-12);
  rt.setMaster(5);  // master 10 -> 5: every band down 5, but the lowest is at 0
  EXPECT_EQ(rt.band(4), 10);
}

}  // namespace
}  // namespace tav
