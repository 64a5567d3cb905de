#include "mapping/ui/map_window.h"

#include <algorithm>
#include <ctime>

#include "mapping/map_scale.h"
#include "mapping/sti_export.h"
#include "mapping/ui/map_drawing.h"
#include "model/text_encoding.h"
#include "shell/command_context.h"

namespace tav {

namespace {

constexpr int BAND_BUTTON_SIZE = 32;
constexpr int MODE_BUTTON_WIDTH = 48;
constexpr int MODE_BUTTONS_X = 32;
constexpr int STEP_BUTTON_WIDTH = 40;
constexpr int STEP_BUTTONS_X = 328;
constexpr int WIDE_BUTTON_WIDTH = 80;
constexpr int PRINT_BUTTON_X = 496;
constexpr int CLEAR_BUTTON_X = 576;
constexpr int DEFAULT_WIDTH = 800;
constexpr int DEFAULT_HEIGHT = 600;
// Without room faces only the first two mode buttons are offered.
constexpr std::size_t MODE_BUTTONS_WITHOUT_ROOM = 2;

constexpr const char* BAND_LABELS[BAND_COUNT + 1] = {"125", "250", "500", " 1k",
                                                     " 2k", " 4k", " 8k", "\u00F8"};
constexpr const char* MODE_LABELS[] = {"Ld(Z)", "Time", "Lt(Z)", "Ld-Lr", "STI", "--> exp"};
constexpr const char* STEP_LABELS_LEVEL[] = {"Auto", "1 dB", "2 dB", "3 dB"};
constexpr const char* STEP_LABELS_TIME[] = {"Auto", "5 ms", "10ms", "30ms"};
constexpr const char* STEP_LABELS_STI[] = {"Auto", ".02", ".05", ".1"};

class MapWindow : public ChildWindowHandler {
 public:
  explicit MapWindow(CommandContext& ctx) : ctx_(ctx) {
    copyViewSettings(ctx.view(), view_);
    modeButtons_ =
        mapHasRoomFaces(ctx.project()) ? MAP_MODE_BUTTON_MODES.size() : MODE_BUTTONS_WITHOUT_ROOM;
    // A stored mode that no button offers falls back to Ld(Z).
    const auto offered = MAP_MODE_BUTTON_MODES.begin() + static_cast<long>(modeButtons_);
    if (std::find(MAP_MODE_BUTTON_MODES.begin(), offered, options().displayMode) == offered)
      options().displayMode = MAP_MODE_LD;
  }

  void onOpen(ChildWindow& w) override { placeButtons(w); }

  void onResize(int, int, ChildWindow& w) override {
    placeButtons(w);
    w.repaint();
  }

  void onPaint(Canvas& canvas, ChildWindow&) override {
    const MapPicture pic = picture();
    paintMap(canvas, view_, pic);
  }

  void onButton(int id, ChildWindow& w) override {
    if (id == MAP_BUTTON_CLOSE) {
      w.close();
    } else if (id >= MAP_BUTTON_BAND_FIRST && id <= MAP_BUTTON_BAND_FIRST + BAND_COUNT) {
      const int band = id - MAP_BUTTON_BAND_FIRST;
      if (map().bandCounts[static_cast<std::size_t>(band)] == 0) return;
      choose(options().band, static_cast<std::int16_t>(band), w);
    } else if (id >= MAP_BUTTON_MODE_FIRST &&
               id < MAP_BUTTON_MODE_FIRST + static_cast<int>(modeButtons_)) {
      const int mode = MAP_MODE_BUTTON_MODES[static_cast<std::size_t>(id - MAP_BUTTON_MODE_FIRST)];
      choose(options().displayMode, static_cast<std::int16_t>(mode), w);
    } else if (id >= MAP_BUTTON_STEP_FIRST && id < MAP_BUTTON_STEP_FIRST + 4) {
      choose(options().scaleStep, static_cast<std::int16_t>(id - MAP_BUTTON_STEP_FIRST - 1), w);
    } else if (id == MAP_BUTTON_PRINT) {
      const MapPicture pic = picture();
      const int width = w.width(), height = w.height();
      ViewState printView;
      copyViewSettings(ctx_.view(), printView);
      ctx_.platform().printPicture(MAP_WINDOW_TITLE, width, height,
                                   [&](Canvas& c) { paintMap(c, printView, pic); });
      w.repaint();
    } else if (id == MAP_BUTTON_CLEAR) {
      map().singlePoints.clear();
      ctx_.project().storedMapBlock.clear();
      ctx_.setModified();
      placeButtons(w);
      w.repaint();
    }
  }

  void onMouse(const MouseEvent& e, ChildWindow& w) override {
    if (e.action != MouseAction::Press) return;
    if (e.button != MouseButton::Left && e.button != MouseButton::Right) return;
    prepareMapView(view_, w.width(), w.height());
    const auto picked = pickMapPoint(view_, map(), e.pos);
    if (!picked) return;
    addSinglePoint(*picked, w);
    const MapPoint& p = map().points[*picked];
    if (options().displayMode == MAP_MODE_STI_EXPORT && options().band == MAP_BAND_ALL) {
      const std::string path = stiExportPath(ctx_.project().name, STI_SINGLE_POINT_SUFFIX, now());
      appendStiBandValues(p.energy, reverberantEnergy(ctx_.project()), path, diag());
    }
    if (e.button == MouseButton::Right) handOn(p);
  }

 private:
  CalculationOptions& options() { return ctx_.project().settings.calculation; }
  LevelMap& map() { return *ctx_.project().levelMap; }
  MappingSession& mapping() { return ctx_.session().mapping; }

  DiagnosticSink diag() {
    if (mapping().diagnostics) return mapping().diagnostics;
    return diagnosticToStderr;
  }
  std::time_t now() { return mapping().clock ? mapping().clock() : std::time(nullptr); }

  MapPicture picture() {
    MapPicture pic;
    pic.project = &ctx_.project();
    pic.map = &map();
    pic.axisCross = ctx_.session().axisCross.get();
    pic.mode = options().displayMode;
    pic.band = options().band;
    pic.stepIndex = options().scaleStep;
    pic.field = reverberantEnergy(ctx_.project());
    pic.projectPath = cp1252ToUtf8(ctx_.project().name);
    pic.description = cp1252ToUtf8(ctx_.project().description);
    pic.diag = diag();
    return pic;
  }

  void placeButtons(ChildWindow& w) {
    const int bottom = w.height() - MAP_BUTTON_ROW;
    w.addButton({MAP_BUTTON_CLOSE, "<-", {0, 0, BAND_BUTTON_SIZE, BAND_BUTTON_SIZE}});
    for (int b = 0; b <= BAND_COUNT; ++b) {
      const bool served = map().bandCounts[static_cast<std::size_t>(b)] != 0;
      const int id = MAP_BUTTON_BAND_FIRST + b;
      w.addButton({id,
                   served ? BAND_LABELS[b] : "",
                   {0, (b + 1) * BAND_BUTTON_SIZE, BAND_BUTTON_SIZE, BAND_BUTTON_SIZE},
                   options().band == b});
      w.enableButton(id, served);
    }
    for (std::size_t i = 0; i < MAP_MODE_BUTTON_MODES.size(); ++i) {
      const int id = MAP_BUTTON_MODE_FIRST + static_cast<int>(i);
      if (i >= modeButtons_) {
        w.removeButton(id);
        continue;
      }
      w.addButton({id,
                   MODE_LABELS[i],
                   {MODE_BUTTONS_X + static_cast<int>(i) * MODE_BUTTON_WIDTH, bottom,
                    MODE_BUTTON_WIDTH, MAP_BUTTON_ROW},
                   options().displayMode == MAP_MODE_BUTTON_MODES[i]});
    }
    const int mode = options().displayMode;
    const char* const* labels = mode == MAP_MODE_TIME ? STEP_LABELS_TIME
                                : isStiMode(mode)     ? STEP_LABELS_STI
                                                      : STEP_LABELS_LEVEL;
    for (int i = 0; i < 4; ++i)
      w.addButton(
          {MAP_BUTTON_STEP_FIRST + i,
           labels[i],
           {STEP_BUTTONS_X + i * STEP_BUTTON_WIDTH, bottom, STEP_BUTTON_WIDTH, MAP_BUTTON_ROW},
           std::max<int>(options().scaleStep, -1) + 1 == i});
    w.addButton(
        {MAP_BUTTON_PRINT, "PRINT", {PRINT_BUTTON_X, bottom, WIDE_BUTTON_WIDTH, MAP_BUTTON_ROW}});
    if (map().singlePoints.empty())
      w.removeButton(MAP_BUTTON_CLEAR);
    else
      w.addButton(
          {MAP_BUTTON_CLEAR, "CLEAR", {CLEAR_BUTTON_X, bottom, WIDE_BUTTON_WIDTH, MAP_BUTTON_ROW}});
  }

  // A band, mode or step was chosen: stored, the buttons show it, the map is
  // drawn again; in the export mode the redraw also exports.
  void choose(std::int16_t& setting, std::int16_t value, ChildWindow& w) {
    if (setting != value) {
      setting = value;
      ctx_.setModified();
    }
    placeButtons(w);
    w.repaint();
    if (options().displayMode == MAP_MODE_STI_EXPORT) exportSti();
  }

  void exportSti() {
    if (options().band != MAP_BAND_ALL) {
      ctx_.ui().showMessage(MSG_EXPORT_NEEDS_ALL_BANDS, CAPTION_EXPORT);
      return;
    }
    const std::time_t started = now();
    const ReverberantField field = reverberantEnergy(ctx_.project());
    const DiagnosticSink sink = diag();
    std::string lines;
    lines.reserve(map().points.size() * BAND_COUNT * 16);
    for (const MapPoint& p : map().points)
      lines += stiExportLines(stiBandValues(p.energy, field, sink));
    const std::string path = stiExportPath(ctx_.project().name, STI_EXPORT_SUFFIX, started);
    if (!appendExport(path, lines, sink)) return;
    ctx_.ui().showMessage(MSG_EXPORT_FINISHED, CAPTION_EXPORT);
  }

  void addSinglePoint(std::size_t index, ChildWindow& w) {
    std::vector<std::uint16_t>& singles = map().singlePoints;
    const auto i = static_cast<std::uint16_t>(index);
    if (singles.size() >= MAX_SINGLE_POINTS ||
        std::find(singles.begin(), singles.end(), i) != singles.end())
      return;
    singles.push_back(i);
    ctx_.project().storedMapBlock.clear();
    ctx_.setModified();
    placeButtons(w);
    w.repaint();
  }

  void handOn(const MapPoint& p) {
    if (!mapping().auralizeAtPoint) return;
    if (mapping().auralizationRunning && mapping().auralizationRunning()) return;
    const double value = ldLrAll(p.energy, reverberantEnergy(ctx_.project()));
    const AudienceAreaEntry& area = map().areas[p.area];
    mapping().auralizeAtPoint(ctx_, {p.x, p.y, area.planeZ(p.x, p.y)}, value);
  }

  CommandContext& ctx_;
  std::size_t modeButtons_ = 2;
  ViewState view_;
};

}  // namespace

bool mapHasRoomFaces(const Project& project) {
  for (const ModelObject& o : project.objects)
    if (o.layer == LAYER_ROOM && (o.shape == SHAPE_FACE || o.shape == SHAPE_SOLID)) return true;
  return false;
}

void openMapWindow(CommandContext& ctx) {
  if (!ctx.project().levelMap) return;
  MapWindow handler(ctx);
  ChildWindowSpec spec;
  spec.title = MAP_WINDOW_TITLE;
  spec.width = ctx.view().width > 0 ? ctx.view().width : DEFAULT_WIDTH;
  spec.height = ctx.view().height > 0 ? ctx.view().height : DEFAULT_HEIGHT;
  if (!ctx.platform().runWindow(spec, handler)) ctx.ui().showMessage(MSG_CANT_CREATE_MAP_WINDOW);
  ctx.redrawAll();
}

}  // namespace tav
