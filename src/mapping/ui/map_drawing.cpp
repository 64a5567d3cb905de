#include "mapping/ui/map_drawing.h"

#include <algorithm>
#include <array>

#include "mapping/map_scale.h"
#include "mapping/point_calculation.h"
#include "model/number_text.h"
#include "platform/offset_canvas.h"
#include "view/view_drawing.h"

namespace tav {

namespace {

constexpr int LINE_STEP = 14;  // text lines of the legend column
constexpr int LEGEND_BOX_WIDTH = 14;
constexpr int LEGEND_BOX_HEIGHT = 11;
constexpr int MARKER_HALF = 2;  // single-point marker
constexpr int LEADER = 8;       // single-point leader line, pixels each way
constexpr const char* RT_METHOD_MARKS[] = {"(S)", "(E)", "(F)", "(M)"};

TextStyle textStyle(TextAlign align = TextAlign::Left, int background = -1) {
  TextStyle s;
  s.height = MAP_TEXT_HEIGHT;
  s.align = align;
  s.background = background;
  return s;
}

void drawCells(Canvas& canvas, const ViewState& view, const MapPicture& pic,
               const MapScale& scale) {
  const LevelMap& map = *pic.map;
  const double h = map.halfGrid;
  std::array<PixelPoint, 4> corners;
  for (const MapPoint& p : map.points) {
    if (p.area >= map.areas.size()) continue;
    const AudienceAreaEntry& a = map.areas[p.area];
    const double xs[4] = {p.x - h, p.x + h, p.x + h, p.x - h};
    const double ys[4] = {p.y - h, p.y - h, p.y + h, p.y + h};
    bool front = true;
    for (int c = 0; c < 4; ++c) {
      const Node n{static_cast<float>(xs[c]), static_cast<float>(ys[c]),
                   static_cast<float>(a.planeZ(xs[c], ys[c]))};
      const ScreenPoint s = projectNode(view, n);
      front = front && s.front;
      corners[c] = {s.x, s.y};
    }
    if (!front) continue;
    const int colour =
        mapCellColour(mapPointValue(p, pic.mode, pic.band, pic.field, pic.diag), scale, pic.mode);
    canvas.setPen(PEN_NONE);
    canvas.setBrush(Brush::solid(colour));
    canvas.polygon(corners);
  }
}

void drawSinglePoints(Canvas& canvas, const ViewState& view, const MapPicture& pic) {
  const LevelMap& map = *pic.map;
  for (std::uint16_t index : map.singlePoints) {
    if (index >= map.points.size()) continue;
    const MapPoint& p = map.points[index];
    const ScreenPoint s = projectNode(view, {p.x, p.y, p.z});
    if (!s.front) continue;
    const double value = mapPointValue(p, pic.mode, pic.band, pic.field, pic.diag);
    canvas.setPen(COLOUR_BLACK);
    canvas.setBrush(Brush::solid(COLOUR_WHITE));
    canvas.rectangle(
        {s.x - MARKER_HALF, s.y - MARKER_HALF, 2 * MARKER_HALF + 1, 2 * MARKER_HALF + 1});
    canvas.line({s.x, s.y}, {s.x + LEADER, s.y - LEADER});
    canvas.text({s.x + LEADER + 1, s.y - LEADER - MAP_TEXT_HEIGHT / 2},
                singlePointLabel(value, pic.mode), textStyle(TextAlign::Left, COLOUR_WHITE));
  }
}

void drawLoudspeakers(Canvas& canvas, ViewState& view, const ViewDrawContext& context) {
  for (const ModelObject& o : context.project->objects)
    if (o.layer == LAYER_SPEAKERS) drawObjects(view, canvas, context, &o, &o, ObjectDrawMode::Over);
}

void drawFrameAndLegend(Canvas& canvas, const MapPicture& pic, const MapScale& scale) {
  const int w = canvas.width(), h = canvas.height();
  const PixelRect area = mapViewArea(w, h);
  canvas.fillRect({0, 0, w, MAP_TOP_STRIP}, COLOUR_WHITE);
  canvas.fillRect({area.right(), MAP_TOP_STRIP, w - area.right(), h - MAP_TOP_STRIP}, COLOUR_WHITE);
  canvas.setPen(COLOUR_BLACK);
  canvas.setBrush(Brush::none());
  canvas.rectangle({area.x, area.y, area.width, area.height});
  canvas.text({36, 3}, MAP_PROGRAM_TITLE, textStyle());
  canvas.text({area.width / 2, 3}, pic.projectPath, textStyle(TextAlign::Centre));

  const int x = area.right() + (MAP_RIGHT_COLUMN - MAP_LEGEND_WIDTH) / 2;
  int y = MAP_TOP_STRIP + 4;
  auto line = [&](const std::string& text) {
    canvas.text({x, y}, text, textStyle());
    y += LINE_STEP;
  };
  line(mapModeTitle(pic.mode));
  line(phaseRelationTitle(pic.map->phaseRelation));
  for (const std::string& l : mapBandLines(pic.band)) line(l);
  if (pic.mode != MAP_MODE_LD && pic.mode != MAP_MODE_TIME) {
    const auto method =
        static_cast<std::size_t>(std::clamp(static_cast<int>(pic.field.method), 0, 3));
    line(std::string("RT60") + RT_METHOD_MARKS[method]);
    if (pic.band >= 0 && pic.band < BAND_COUNT) {
      line(formatFixed(pic.field.rt[pic.band], 1, 2) + " s");
    } else {
      for (int b = 0; b < BAND_COUNT; ++b)
        line(formatInt(BAND_FREQUENCIES[b], 4) + " " + formatFixed(pic.field.rt[b], 1, 2) + " s");
    }
  }
  y += 4;
  const std::vector<std::string> labels = mapLegendLabels(scale, pic.mode);
  for (int i = 0; i < MAP_LEGEND_ROWS; ++i) {
    const int row = y + i * MAP_LEGEND_ROW_STEP;
    canvas.setPen(COLOUR_BLACK);
    canvas.setBrush(Brush::solid(MAP_COLOUR_HIGH - i));
    canvas.rectangle({x, row, LEGEND_BOX_WIDTH, LEGEND_BOX_HEIGHT});
    if (!labels[static_cast<std::size_t>(i)].empty())
      canvas.text({x + LEGEND_BOX_WIDTH + 4, row - 1}, labels[static_cast<std::size_t>(i)],
                  textStyle());
  }
  if (!pic.description.empty())
    canvas.text({area.right() - 4, h - MAP_BUTTON_ROW - MAP_TEXT_HEIGHT - 4}, pic.description,
                textStyle(TextAlign::Right, COLOUR_WHITE));
}

}  // namespace

PixelRect mapViewArea(int width, int height) {
  return {0, MAP_TOP_STRIP, std::max(0, width - MAP_RIGHT_COLUMN),
          std::max(0, height - MAP_TOP_STRIP)};
}

void copyViewSettings(const ViewState& from, ViewState& to) {
  to.mode = from.mode;
  to.zoom = from.zoom;
  to.offsets = from.offsets;
  to.angles3d = from.angles3d;
  to.perspectiveAngles = from.perspectiveAngles;
  to.eye = from.eye;
  to.turnStep = from.turnStep;
  to.hiddenBackfaces = from.hiddenBackfaces;
  to.nodeMarkers = from.nodeMarkers;
}

void prepareMapView(ViewState& view, int width, int height) {
  const PixelRect area = mapViewArea(width, height);
  prepareView(view, area.width, area.height);
}

PixelPoint mapPixelOf(const ViewState& view, const Node& p) {
  const ScreenPoint s = projectNode(view, p);
  return {s.x, s.y + MAP_TOP_STRIP};
}

const char* mapModeTitle(int mode) {
  switch (mode) {
    case MAP_MODE_LT:
      return "Lt[dB]";
    case MAP_MODE_TIME:
      return "t0[ms]";
    case MAP_MODE_STI:
      return "STI";
    case MAP_MODE_STI_EXPORT:
      return "STIexp";
    case MAP_MODE_LDLR:
      return "Ld-Lr[dB]";
    default:
      return "Ld[dB]";
  }
}

const char* phaseRelationTitle(std::int16_t phase) {
  switch (phaseRelationFromSetting(phase)) {
    case PhaseRelation::Energy:
      return "Energy";
    case PhaseRelation::SingleFrequency:
      return "Freq.";
    default:
      return "Octave";
  }
}

std::vector<std::string> mapBandLines(int band) {
  if (band < 0 || band >= BAND_COUNT) return {"125 Hz -", "8000 Hz"};
  return {formatFixed(BAND_FREQUENCIES[band], 0, 4) + " Hz"};
}

void paintMap(Canvas& canvas, ViewState& view, const MapPicture& pic) {
  const PixelRect area = mapViewArea(canvas.width(), canvas.height());
  prepareMapView(view, canvas.width(), canvas.height());
  const MapScale scale = mapScale(*pic.map, pic.mode, pic.band, pic.stepIndex, pic.field, pic.diag);
  canvas.clear(COLOUR_WHITE);
  {
    OffsetCanvas inside(canvas, area);
    ViewDrawContext context;
    context.project = pic.project;
    context.axisCross = pic.axisCross;
    drawView(view, inside, context);
    drawCells(inside, view, pic, scale);
    drawSinglePoints(inside, view, pic);
    drawLoudspeakers(inside, view, context);
  }
  drawFrameAndLegend(canvas, pic, scale);
}

std::optional<std::size_t> pickMapPoint(const ViewState& view, const LevelMap& map, PixelPoint at) {
  std::optional<std::size_t> best;
  long long bestSq = static_cast<long long>(MAP_PICK_RADIUS) * MAP_PICK_RADIUS;
  for (std::size_t i = 0; i < map.points.size(); ++i) {
    const MapPoint& p = map.points[i];
    const ScreenPoint s = projectNode(view, {p.x, p.y, p.z});
    if (!s.front) continue;
    const long long dx = s.x - at.x, dy = s.y + MAP_TOP_STRIP - at.y;
    const long long d = dx * dx + dy * dy;
    if (d < bestSq) {
      best = i;
      bestSq = d;
    }
  }
  return best;
}

}  // namespace tav
