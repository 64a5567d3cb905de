// The window of Aim by Central Perspective and the relation between a
// loudspeaker's angles and the perspective angles of its own view.
#pragma once

#include "platform/child_window.h"

namespace tav {

inline constexpr const char* AIM_WINDOW_TITLE = "Aim loudspeaker";
// Band buttons "125" .. " 8k", side by side along the bottom edge.
constexpr int AIM_BAND_BUTTON_FIRST = 20000;
constexpr int AIM_BAND_BUTTON_SIZE = 32;
// The contours start in the 1 kHz band unless the calculation shows an
// octave band.
constexpr int AIM_DEFAULT_BAND = 3;

// View azimuth -(h + pi/2) and elevation v - pi/2 of a loudspeaker's own
// view, and back.
double aimViewAzimuth(double horizontal);
double aimViewElevation(double vertical);
double aimHorizontalFromView(double azimuth);
double aimVerticalFromView(double elevation);
// 125 Hz * 2^band.
double aimBandFrequency(int band);

ChildWindowSpec aimWindowSpec(int width, int height);

}  // namespace tav
