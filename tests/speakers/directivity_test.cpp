// Directivity lookup, frames and the direct sound of one loudspeaker.
#include "speakers/directivity.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/near.h"

namespace tav {
namespace {

constexpr double PI = 3.141592653589793;

// A balloon whose code depends on the cell: rows and columns distinguishable.
SpeakerType gridType(std::uint8_t fill) {
  SpeakerType t = resetSpeakerType();
  for (auto& g : t.grids) g.codes.fill(fill);
  return t;
}

TEST(Directivity, EnergyTableAndCodes) {
  const DirectivityEnergyTable& e = DirectivityEnergyTable::instance();
  EXPECT_DOUBLE_EQ(e[225], 1.0);
  EXPECT_NEAR(e[0], std::pow(10.0, -4.5), 1e-18);
  EXPECT_NEAR(e[255], std::pow(10.0, 0.6), 1e-12);

  // Five codes a decibel from 225 at 0 dB, rounded to nearest (-0.1 dB is
  // 224.5 -> 225, -44.95 is 0.25 -> 0, -44.9 is 0.5 -> 1), held to 0..255.
  const std::pair<double, int> codes[] = {
      {0.0, 225}, {-5.0, 200}, {-0.1, 225}, {-0.11, 224}, {-45.0, 0},        {-44.95, 0},
      {-44.9, 1}, {-80.0, 0},  {6.0, 255},  {20.0, 255},  {std::nan(""), 0},
  };
  for (const auto& [db, code] : codes) EXPECT_EQ(directivityCodeFromDb(db), code) << db;
  EXPECT_DOUBLE_EQ(directivityDbFromCode(200), -5.0);
}

TEST(Directivity, BalloonIntegralOverTheSphere) {
  DirectivityGrid g;
  g.codes.fill(225);
  EXPECT_NEAR(balloonEnergyIntegral(g), 4 * PI, 1e-12) << "Q = 1";
  // Front rows 0..18 (up to 92.5 deg) at 0 dB, the rest at -45 dB.
  for (int r = 19; r < 37; ++r)
    for (int c = 0; c < 72; ++c) g.at(r, c) = 0;
  const double front = 2 * PI * (1 - std::cos(92.5 * PI / 180));
  EXPECT_NEAR(balloonEnergyIntegral(g), front + (4 * PI - front) * std::pow(10.0, -4.5), 1e-12);
}

TEST(Directivity, AxisNearSourceAndBehind) {
  SpeakerType t = gridType(100);
  DirectivityGrid& g = t.grids[2];
  for (int c = 0; c < 72; ++c) {
    g.at(0, c) = 215;   // -2 dB on axis
    g.at(36, c) = 150;  // -15 dB straight behind
    g.at(35, c) = 50;
  }
  const DirectivityEnergyTable& e = DirectivityEnergyTable::instance();

  DirectivityResult axis = directivityEnergy(t, 2, {4, 0, 0});
  EXPECT_NEAR(axis.energy, e[215], 1e-12);
  EXPECT_DOUBLE_EQ(axis.inverseSquare, 1.0 / 16);

  // Within 0.01 of the source: q = 100 and row 0, whatever the direction.
  DirectivityResult near = directivityEnergy(t, 2, {-0.005, 0.002, 0.003});
  EXPECT_DOUBLE_EQ(near.inverseSquare, 100.0);
  EXPECT_NEAR(near.energy, e[215], 1e-12);
  EXPECT_DOUBLE_EQ(directivityEnergy(t, 2, {0.01, 0, 0}).inverseSquare, 100.0) << "0.01 itself";
  // Just beyond 0.01 the ordinary rule holds.
  DirectivityResult beyond = directivityEnergy(t, 2, {0.0101, 0, 0});
  EXPECT_NEAR(beyond.inverseSquare, 1.0 / (0.0101 * 0.0101), 1e-6);

  // No direction at all: nothing is heard (and nothing undefined happens).
  EXPECT_EQ(directivityEnergy(t, 2, {std::nan(""), 1, 0}).energy, 0);
  EXPECT_EQ(directivityEnergy(t, 2, {1e300, 1e300, 0}).energy, 0);

  // Exactly behind: row 36 with weight 0.5 twice, nothing of row 35.
  EXPECT_NEAR(directivityEnergy(t, 2, {-3, 0, 0}).energy, e[150], 1e-12);
}

TEST(Directivity, RowsBlendInEnergyAndColumnsWrapAround) {
  SpeakerType t = gridType(225);
  DirectivityGrid& g = t.grids[0];
  const DirectivityEnergyTable& e = DirectivityEnergyTable::instance();
  for (int r = 0; r < 37; ++r) {
    g.at(r, 0) = 200;
    g.at(r, 71) = 180;
  }

  // Polar angle 47 deg in the x-y plane (azimuth 0): between rows 9 and 10
  // of column 0, 47 deg * 11.4592 per radian = 9.4 units.
  const double theta = 47 * PI / 180;
  const double units = theta * 11.4592;
  const double w1 = units - std::floor(units);
  g.at(9, 0) = 190;
  g.at(10, 0) = 170;
  const double expected = (1 - w1) * e[190] + w1 * e[170];
  EXPECT_NEAR(directivityEnergy(t, 0, {std::cos(theta), std::sin(theta), 0}).energy, expected,
              1e-12);
  g.at(9, 0) = g.at(10, 0) = 200;

  // Azimuth just below 360 deg: column 71 blended with column 0.
  const double a = -0.5 * PI / 180;  // 359.5 deg
  const Vec3d justBelow{0.2, std::cos(a), std::sin(a)};
  const double phi = (2 * PI + a) * 11.45915;
  const double f = phi - std::floor(phi);
  EXPECT_NEAR(directivityEnergy(t, 0, justBelow).energy, (1 - f) * e[180] + f * e[200], 1e-12);

  // In the x-z plane (|y| <= 0.001): column 18 above, 54 below, weights 0.5.
  for (int r = 0; r < 37; ++r) {
    g.at(r, 18) = 160;
    g.at(r, 54) = 140;
  }
  EXPECT_NEAR(directivityEnergy(t, 0, {0.1, 0.0005, 1}).energy, e[160], 1e-12);
  EXPECT_NEAR(directivityEnergy(t, 0, {0.1, -0.0005, -1}).energy, e[140], 1e-12);
}

// The frame against the drawing for random angles is the geometry test's;
// angles of 0.01 rad or less are not applied.
TEST(Directivity, FrameLeavesOutAnglesUpToOneHundredthRadian) {
  PlacedSpeaker s = newPlacedSpeaker({1, 2, 3});
  s.rotation = 0.01f;
  s.horizontal = -0.009f;
  const SpeakerFrame f = makeSpeakerFrame(s, gridType(225));
  EXPECT_FALSE(f.turnH || f.turnV || f.turnR);
}

TEST(Directivity, SourceBandEnergyCombinesDistanceAirDirectivityAndDelay) {
  SpeakerType t = gridType(200);
  PlacedSpeaker s = newPlacedSpeaker({0, 0, 0});
  s.acousticFactor = {5000, 1000, 1000.5f, 2e6f, 0, -5000, 3e4f};
  s.delay = 20;
  const SpeakerFrame f = makeSpeakerFrame(s, t);
  EXPECT_EQ(f.bandMask, 0b1101101) << "|F| must exceed 1000";

  BandArrival a = sourceBandEnergy(f, {10, 0, 0}, 6);
  EXPECT_NEAR(a.energy, 0.01 * 3e4 * std::pow(0.965, 10) * std::pow(10.0, -0.5), 1e-9);
  EXPECT_NEAR(a.arrival, 10 / 343.0 + 0.020, 1e-12);

  // Switched-off band: ignored contribution.
  EXPECT_EQ(sourceBandEnergy(f, {10, 0, 0}, 1).arrival, 10000.0);

  // Negative acoustic factor (|F| > 1000) and reversed polarity.
  s.polarity = -1;
  const SpeakerFrame g = makeSpeakerFrame(s, t);
  a = sourceBandEnergy(g, {0, 2, 0}, 0);
  EXPECT_NEAR(a.energy, -1 * 0.25 * 5000 * std::pow(10.0, -0.5), 1e-9);
}

}  // namespace
}  // namespace tav
