// The octave band-pass: measured on sines against the analog prototype
// H(s) = (s/Q) / (s^2 + (1.4142/Q) s + 1) mapped by the bilinear transform.
#include "auralization/band_filter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace tav {
namespace {

// Steady-state peak amplitude of a unit sine at f through the filter.
double sineGain(BandFilter f, double fs, double hz) {
  f.clearState();
  const int settle = static_cast<int>(fs);  // 1 s
  const int measure = static_cast<int>(fs / 2);
  double peak = 0;
  for (int n = 0; n < settle + measure; ++n) {
    const double v = f.step(static_cast<float>(std::sin(2 * std::numbers::pi * hz * n / fs)));
    if (n >= settle) peak = std::max(peak, std::abs(v));
  }
  return peak;
}

// The digital frequency where the prototype has the analog frequency
// omega (centre = 1): tan(pi f / fs) = omega tan(pi f0 / fs).
double mapped(double omega, double f0, double fs) {
  return fs / std::numbers::pi * std::atan(omega * std::tan(std::numbers::pi * f0 / fs));
}

struct FilterCase {
  const char* name;
  float fs;
  int band;
};

class BandFilterResponse : public testing::TestWithParam<FilterCase> {};

TEST_P(BandFilterResponse, CentreGainAndHalfPowerPointsMatchThePrototype) {
  const FilterCase c = GetParam();
  BandFilter f;
  f.centre = static_cast<float>(BAND_FREQUENCIES[c.band]);
  designBandFilter(f, c.fs);
  // The band-pass form: b1 = 0, b2 = -b0.
  EXPECT_NEAR(f.b1, 0.0f, 1e-7);
  EXPECT_FLOAT_EQ(f.b2, -f.b0);
  // At the centre |H| = 1 / p1 = 0.70711.
  EXPECT_NEAR(sineGain(f, c.fs, f.centre), 1.0 / 1.4142, 2e-3);
  // Half power where w^2 +- (p1/Q) w - 1 = 0: w = 1.62535 and 0.61525
  // (p1/Q = 1.0101, wider than Q 1.4 suggests).
  const double half = (1.0 / 1.4142) / std::sqrt(2.0);  // 0.5
  EXPECT_NEAR(sineGain(f, c.fs, mapped(1.6253515, f.centre, c.fs)), half, 2e-3);
  EXPECT_NEAR(sineGain(f, c.fs, mapped(0.6152515, f.centre, c.fs)), half, 2e-3);
  // Two octaves below the centre: 0.1786 / 0.9710 = 0.184.
  EXPECT_NEAR(sineGain(f, c.fs, mapped(0.25, f.centre, c.fs)), 0.184, 2e-3);
}

INSTANTIATE_TEST_SUITE_P(Bands, BandFilterResponse,
                         testing::Values(FilterCase{"band125_22k", 22050, 0},
                                         FilterCase{"band1k_22k", 22050, 3},
                                         FilterCase{"band8k_22k", 22050, 6},
                                         FilterCase{"band500_44k", 44100, 2},
                                         FilterCase{"band8k_44k", 44100, 6}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BandFilterDesign, QAndCentreClamped) {
  BandFilter low;
  low.q = 0.0f;
  low.centre = 0.0f;
  designBandFilter(low, 22050);
  EXPECT_FLOAT_EQ(low.q, 0.1f);
  EXPECT_FLOAT_EQ(low.centre, 0.1f);
  BandFilter high;
  high.q = 5000;
  high.centre = 30000;
  designBandFilter(high, 96000);
  EXPECT_FLOAT_EQ(high.q, 1000.0f);
  EXPECT_FLOAT_EQ(high.centre, 20000.0f);
}

}  // namespace
}  // namespace tav
