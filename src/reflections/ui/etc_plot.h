// The ETC window's picture: the energy-time plot of one band (a bar per
// path, the decay curve from the histogram), its scales, the band and room
// values, and the information on the selected path.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "reflections/reflection_paths.h"

namespace tav {

class Canvas;

// Buttons of the result display.
constexpr int ETC_BUTTON_BAND_FIRST = 20000;  // 20000..20007: 125 Hz .. 8 kHz, broadband
constexpr int RAY_BUTTON_SWITCH = 20030;      // "ETC" in the ray window, "RAY" in the ETC window
constexpr int RAY_BUTTON_PRINT = 20031;
constexpr int RAY_BUTTON_BACK = 20032;  // "<-"
constexpr int RAY_BUTTON_COPY = 20033;
constexpr int ETC_BUTTON_APF = 20034;
constexpr int ETC_BUTTON_RTA = 20035;

inline constexpr std::array<const char*, BAND_COUNT + 1> ETC_BAND_LABELS = {
    "125", "250", "500", " 1k", " 2k", " 4k", " 8k", "ø"};
inline constexpr std::array<const char*, BAND_COUNT + 1> ETC_BAND_NAMES = {
    "125 Hz", "250 Hz", "500 Hz", "1000 Hz", "2000 Hz", "4000 Hz", "8000 Hz", "125 Hz - 8 kHz"};
inline constexpr const char* ETC_TITLE = "Impulse Response";
inline constexpr const char* PROGRAM_TITLE = "Taviron";

// Fixed-point text of a number (a point as decimal separator in any locale).
std::string fixedText(double value, int decimals);

// The full width of the time axis: the first of 100, 200 ... 1000, 1500,
// 2000, 3000 ... 10000 ms not below tMax, else 10000.
double etcFullScaleMs(double tMax);

struct EtcLayout {
  int left = 0, right = 0, top = 0, baseline = 0;
  double fullScaleMs = 100;
  double topDb = 0;  // the max level rounded up to a multiple of 10
  int timeX(double ms) const;
  // Pixel row of a level, not below the baseline.
  int levelY(double db) const;
};
// Plot rectangle in a panel of width x height: left 32, right width - 16,
// top 60, baseline height / 2 + 60.
EtcLayout etcLayout(int width, int height, const ReflectionStats& stats);

// One path as the plot shows it.
struct EtcPath {
  PathData data;
  std::vector<Node> points;
};

struct EtcPicture {
  const ReflectionStats* stats = nullptr;
  const std::vector<EtcPath>* paths = nullptr;
  int band = BROADBAND;
  int selected = -1;
  std::string projectName;
  // "Source : " line parts: the loudspeaker type's name per table index.
  std::vector<std::string> speakerNames;
  std::vector<Node> speakerPositions;
};

// The bottom line's texts: "Ld-Lr : %1.1f dB", "RT 60 : %1.1f s",
// "Alcons : %1.1f %".
std::array<std::string, 3> etcBottomLine(const ReflectionStats& stats, int band);
// The selected path's info lines: "dE : ..", "dT : ..", source, target and
// the reflecting faces.
std::vector<std::string> etcPathInfo(const EtcPicture& picture);

void paintEtc(Canvas& canvas, const EtcPicture& picture);

}  // namespace tav
