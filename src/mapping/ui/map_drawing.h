// The map picture: the model view with the map's cells over it, the single
// points, the frame with the title strip and the legend column, and the
// loudspeakers drawn again on top. The map window, its printout and the
// command-line tool's image all draw it.
#pragma once

#include <optional>
#include <string>

#include "mapping/level_map.h"
#include "mapping/point_evaluation.h"
#include "model/project.h"
#include "platform/canvas.h"
#include "view/view_state.h"

namespace tav {

// The model view leaves a strip at the top and a column at the right.
constexpr int MAP_TOP_STRIP = 20;
constexpr int MAP_RIGHT_COLUMN = 80;
constexpr int MAP_LEGEND_WIDTH = 75;
constexpr int MAP_LEGEND_ROW_STEP = 13;
constexpr int MAP_TEXT_HEIGHT = 12;
// A click picks the nearest point within this distance, pixels.
constexpr int MAP_PICK_RADIUS = 10;
// Height of the row of mode and scale buttons along the bottom edge.
constexpr int MAP_BUTTON_ROW = 18;

inline constexpr const char* MAP_PROGRAM_TITLE = "Taviron ";

struct MapPicture {
  const Project* project = nullptr;
  const LevelMap* map = nullptr;
  const ModelObject* axisCross = nullptr;  // the 3D view's axis cross (may be null)
  int mode = 0;
  int band = 7;
  int stepIndex = -1;
  ReverberantField field;
  std::string projectPath;  // UTF-8
  std::string description;  // UTF-8
  DiagnosticSink diag;
};

// The model view's area inside a picture of width x height pixels.
PixelRect mapViewArea(int width, int height);

// A view for the map area with the settings of `from` (mode, zoom, offsets,
// angles, eye point, drawing mode).
void copyViewSettings(const ViewState& from, ViewState& to);
void prepareMapView(ViewState& view, int width, int height);

// Pixel of a model point in picture coordinates.
PixelPoint mapPixelOf(const ViewState& view, const Node& p);

// The quantity's title ("Ld[dB]", ...), the phase relation's ("Energy",
// "Octave", "Freq.") and the band's lines.
const char* mapModeTitle(int mode);
const char* phaseRelationTitle(std::int16_t phase);
std::vector<std::string> mapBandLines(int band);

void paintMap(Canvas& canvas, ViewState& view, const MapPicture& picture);

// The map point whose pixel is nearest to `at`, when nearer than 10 pixels.
std::optional<std::size_t> pickMapPoint(const ViewState& view, const LevelMap& map, PixelPoint at);

}  // namespace tav
