// What the map window shows: the display modes and bands, the value of a
// point in a mode, the colour scale from the map's bounds, each cell's
// colour on the ramp and the legend's labels.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "mapping/level_map.h"
#include "mapping/point_evaluation.h"

namespace tav {

// Display modes (value 2 is not used).
constexpr std::int16_t MAP_MODE_LD = 0;
constexpr std::int16_t MAP_MODE_LT = 1;
constexpr std::int16_t MAP_MODE_TIME = 3;
constexpr std::int16_t MAP_MODE_STI = 4;
constexpr std::int16_t MAP_MODE_STI_EXPORT = 5;
constexpr std::int16_t MAP_MODE_LDLR = 6;
// The display band of the average over all bands.
constexpr int MAP_BAND_ALL = 7;
// Scale step index -1 = Auto.
constexpr std::int16_t MAP_STEP_AUTO = -1;

// The colour ramp: palette entries 37 (black) .. 63 (red).
constexpr int MAP_COLOUR_LOW = 37;
constexpr int MAP_COLOUR_HIGH = 63;
constexpr int MAP_LEGEND_ROWS = 20;
// The highest STI value (x 100) the scale shows.
constexpr int MAP_STI_TOP_LIMIT = 95;

bool isStiMode(int mode);
// Whether the map shows a quantity that needs the room (Lt, Ld-Lr, STI).
bool modeNeedsRoom(int mode);

// The value of a point in a mode and band (STI as 100 x the index).
double mapPointValue(const MapPoint& point, int mode, int band, const ReverberantField& field,
                     const DiagnosticSink& diag);

struct MapScale {
  int top = 0;
  int bottom = 0;
  int step = 1;
  friend bool operator==(const MapScale&, const MapScale&) = default;
};

// The scale from the map's bounds: the band function of the mode at Emax
// (top) and Emin (bottom), or the time bounds; for all bands the extremes
// over the bands that some loudspeaker serves. Rounded to whole numbers, the
// step from the step index (Auto: a sixteenth of the range).
MapScale mapScale(const LevelMap& map, int mode, int band, int stepIndex,
                  const ReverberantField& field, const DiagnosticSink& diag);

// Palette entry of a value: 63 minus the whole steps (to nearest, ties to
// even) from the top (from the bottom for times), limited to 37..63.
int mapCellColour(double value, const MapScale& scale, int mode);

// The labels of the twenty legend rows; an empty label is a row not shown.
std::vector<std::string> mapLegendLabels(const MapScale& scale, int mode);

// The label of a single point: the value with two decimals (STI as the index).
std::string singlePointLabel(double value, int mode);

}  // namespace tav
