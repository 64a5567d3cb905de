#include "auralization/band_filter.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tav {

void designBandFilter(BandFilter& filter, float fs) {
  filter.q = std::clamp(filter.q, 0.1f, 1000.0f);
  filter.centre = std::clamp(filter.centre, 0.1f, 20000.0f);
  // Analog band-pass H(s) = (s / Q) / (p2 s^2 + (p1 / Q) s + 1).
  const double n0 = 0, n1 = 1.0 / filter.q, n2 = 0;
  const double d0 = 1, d1 = FILTER_PROTOTYPE_P1 / filter.q, d2 = FILTER_PROTOTYPE_P2;
  const double k = 1.0 / std::tan(std::numbers::pi * filter.centre / fs);
  const double den = d0 + d1 * k + d2 * k * k;
  filter.b0 = static_cast<float>((n0 + n1 * k + n2 * k * k) / den);
  filter.b1 = static_cast<float>(2.0 * (n0 - n2 * k * k) / den);
  filter.b2 = static_cast<float>((n0 - n1 * k + n2 * k * k) / den);
  filter.negA1 = static_cast<float>(-2.0 * (d0 - d2 * k * k) / den);
  filter.negA2 = static_cast<float>(-(d0 - d1 * k + d2 * k * k) / den);
  filter.responseType = FILTER_RESPONSE_BANDPASS;
  filter.prototype = FILTER_PROTOTYPE_BUTTERWORTH;
}

BandFilters makeBandFilters(float fs, const std::array<float, BAND_COUNT>& gains) {
  BandFilters filters;
  for (int b = 0; b < BAND_COUNT; ++b) {
    filters[b].centre = static_cast<float>(BAND_FREQUENCIES[b]);
    filters[b].gain = gains[b];
    designBandFilter(filters[b], fs);
  }
  return filters;
}

}  // namespace tav
