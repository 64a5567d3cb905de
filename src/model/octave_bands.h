// The seven octave bands 125 .. 8000 Hz, always in this order (index 0..6),
// and the band constants shared by the level and reflection calculations.
#pragma once

#include <array>

namespace tav {

constexpr int BAND_COUNT = 7;
constexpr std::array<int, BAND_COUNT> BAND_FREQUENCIES = {125, 250, 500, 1000, 2000, 4000, 8000};
// Air attenuation as an energy factor per metre of path, 125..8000 Hz.
constexpr std::array<double, BAND_COUNT> AIR_ATTENUATION = {1.0,   0.99997, 0.9999, 0.9995,
                                                            0.998, 0.991,   0.965};
constexpr double SPEED_OF_SOUND = 343.0;  // m/s

}  // namespace tav
