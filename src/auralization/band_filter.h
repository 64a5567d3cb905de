// The seven octave band-pass filters the processed sum passes through. Each
// is a second-order section designed from an analog prototype by the
// bilinear transform; the band outputs are weighted by the profile's band
// gains and added.
#pragma once

#include <array>
#include <cstdint>

#include "model/octave_bands.h"

namespace tav {

// Response types and prototypes of the design; the program uses only the
// band-pass on the pair (1.4142, 1.0).
constexpr std::int32_t FILTER_RESPONSE_BANDPASS = 3;
constexpr std::int32_t FILTER_PROTOTYPE_BUTTERWORTH = 3;
constexpr float FILTER_PROTOTYPE_P1 = 1.4142f;
constexpr float FILTER_PROTOTYPE_P2 = 1.0f;
constexpr float BAND_FILTER_Q = 1.4f;

struct BandFilter {
  // Coefficients; the band-pass has b1 = 0 and b2 = -b0.
  float b0 = 0, negA2 = 0, negA1 = 0, b2 = 0, b1 = 0;
  // State: the last two inputs and outputs.
  float x1 = 0, x2 = 0, y1 = 0, y2 = 0;
  float gain = 1.0f;  // band gain from the profile
  float q = BAND_FILTER_Q;
  float centre = 1000.0f;  // Hz
  std::int32_t responseType = FILTER_RESPONSE_BANDPASS;
  std::int32_t prototype = FILTER_PROTOTYPE_BUTTERWORTH;

  void clearState() { x1 = x2 = y1 = y2 = 0; }
  // One sample through the section (the band-pass form b0 (y - x2)).
  float step(float y) {
    const float v = b0 * (y - x2) + negA2 * y2 + negA1 * y1;
    x2 = x1;
    x1 = y;
    y2 = y1;
    y1 = v;
    return v;
  }
};

using BandFilters = std::array<BandFilter, BAND_COUNT>;

// Coefficients from the sampling rate fs (Hz), the centre frequency and Q
// (clamped to 0.1 .. 20000 Hz and 0.1 .. 1000).
void designBandFilter(BandFilter& filter, float fs);

// The seven octave filters at fs with the given band gains, states cleared.
BandFilters makeBandFilters(float fs, const std::array<float, BAND_COUNT>& gains);

}  // namespace tav
