#include "materials/ui/rt60_window.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "model/number_text.h"
#include "model/project.h"
#include "model/text_encoding.h"
#include "platform/canvas.h"
#include "platform/child_window.h"
#include "platform/platform.h"
#include "shell/command_context.h"
#include "speakers/ui/equalizer_dialog.h"

namespace tav {

namespace {

constexpr int BAND_HZ[BAND_COUNT] = {125, 250, 500, 1000, 2000, 4000, 8000};
constexpr int TEXT_HEIGHT = 14;
constexpr int ROW_STEP = 20;  // table rows
constexpr int METHOD_BUTTON_SIZE = 32;
constexpr int BOTTOM_BUTTON_WIDTH = 80;
constexpr int BOTTOM_BUTTON_HEIGHT = 20;
constexpr int DEFAULT_WIDTH = 800;
constexpr int DEFAULT_HEIGHT = 600;

std::string format(const char* fmt, double v) { return formatNumber(fmt, v); }

TextStyle style(int colour, TextAlign align = TextAlign::Centre, bool bold = false) {
  TextStyle s;
  s.colour = colour;
  s.height = TEXT_HEIGHT;
  s.align = align;
  s.bold = bold;
  return s;
}

void drawCurve(Canvas& canvas, const Rt60Layout& layout, const OptionalBands& times, int colour) {
  std::vector<PixelPoint> points;
  for (int b = 0; b < BAND_COUNT; ++b) {
    // A band without a finite time stands at the top of the scale.
    const double t = times[b] ? *times[b] : static_cast<double>(layout.scaleSeconds);
    points.push_back({layout.bandX(b), layout.timeY(t)});
  }
  canvas.setPen(colour);
  canvas.setBrush(Brush::none());
  // polyline leaves out its last point; draw it as a marker below anyway.
  canvas.polyline(points);
  canvas.setBrush(Brush::solid(colour));
  for (const PixelPoint& p : points) canvas.rectangle({p.x - 2, p.y - 2, 4, 4});
}

const char* methodButtonLabel(int id) {
  switch (id) {
    case RT60_BUTTON_CLOSE:
      return "<-";
    case RT60_BUTTON_SABINE:
      return "Sa";
    case RT60_BUTTON_EYRING:
      return "Ey";
    case RT60_BUTTON_FITZROY:
      return "Fi";
    default:
      return "M";
  }
}

void placeButtons(ChildWindow& w) {
  for (int id = RT60_BUTTON_CLOSE; id <= RT60_BUTTON_MEASUREMENT; ++id) {
    const int row = id - RT60_BUTTON_CLOSE;
    w.addButton({id,
                 methodButtonLabel(id),
                 {0, row * METHOD_BUTTON_SIZE, METHOD_BUTTON_SIZE, METHOD_BUTTON_SIZE}});
  }
  const int y = w.height() - BOTTOM_BUTTON_HEIGHT - 4;
  const int centre = w.width() / 2;
  w.addButton({RT60_BUTTON_PRINT,
               "PRINT",
               {centre - BOTTOM_BUTTON_WIDTH - 5, y, BOTTOM_BUTTON_WIDTH, BOTTOM_BUTTON_HEIGHT}});
  w.addButton(
      {RT60_BUTTON_COPY, "COPY", {centre + 5, y, BOTTOM_BUTTON_WIDTH, BOTTOM_BUTTON_HEIGHT}});
}

class Rt60Window : public ChildWindowHandler {
 public:
  Rt60Window(CommandContext& ctx, ReverbMethod method) : ctx_(ctx) {
    description_ = projectDescription(ctx.project());
    compute(method);
  }

  void onOpen(ChildWindow& w) override {
    placeButtons(w);
    warnIfImpossible();
  }

  void onPaint(Canvas& canvas, ChildWindow&) override {
    paintRt60(canvas, result_, ctx_.units().feet, description_);
  }

  void onResize(int, int, ChildWindow& w) override {
    placeButtons(w);
    w.repaint();
  }

  void onButton(int id, ChildWindow& w) override {
    switch (id) {
      case RT60_BUTTON_CLOSE:
        w.close();
        break;
      case RT60_BUTTON_SABINE:
        switchTo(ReverbMethod::Sabine, w);
        break;
      case RT60_BUTTON_EYRING:
        switchTo(ReverbMethod::Eyring, w);
        break;
      case RT60_BUTTON_FITZROY:
        switchTo(ReverbMethod::Fitzroy, w);
        break;
      case RT60_BUTTON_MEASUREMENT:
        if (askMeasuredReverbTimes(ctx_)) switchTo(ReverbMethod::Measurement, w);
        break;
      case RT60_BUTTON_PRINT: {
        const ReverbResult result = result_;
        const bool feet = ctx_.units().feet;
        const std::string description = description_;
        ctx_.platform().printPicture(reverbMethodTitle(result.method), w.width(), w.height(),
                                     [=](Canvas& c) { paintRt60(c, result, feet, description); });
        break;
      }
      case RT60_BUTTON_COPY:
        w.copyToClipboard();
        break;
      default:
        break;
    }
  }

 private:
  void compute(ReverbMethod method) {
    setReverbMethod(ctx_, method);
    result_ = computeReverberation(ctx_.project(), method);
  }

  void switchTo(ReverbMethod method, ChildWindow& w) {
    compute(method);
    w.repaint();
    warnIfImpossible();
  }

  void warnIfImpossible() {
    if (result_.impossibleInput)
      ctx_.ui().showMessage(MSG_IMPOSSIBLE_INPUT, CAPTION_PLEASE_CORRECT);
  }

  CommandContext& ctx_;
  ReverbResult result_;
  std::string description_;
};

}  // namespace

int Rt60Layout::bandX(int band) const {
  return left + static_cast<int>(std::lround(band * spacing));
}

int Rt60Layout::timeY(double seconds) const {
  const double t = std::clamp(seconds, 0.0, static_cast<double>(scaleSeconds));
  return bottom - static_cast<int>(std::lround(t * pixelsPerSecond));
}

Rt60Layout rt60Layout(int width, int height, const ReverbResult& result) {
  Rt60Layout l;
  l.right = std::max(l.left + 6, width - 48);
  l.bottom = std::max(l.top + 2, (height - 32) / 2);
  l.spacing = (l.right - l.left) / 6.0;
  l.scaleSeconds = rt60ScaleSeconds(result, RT60_SCALE_LIMIT);
  l.pixelsPerSecond = static_cast<double>(l.bottom - l.top) / l.scaleSeconds;
  return l;
}

void paintRt60(Canvas& canvas, const ReverbResult& result, bool feet,
               std::string_view description) {
  const int width = canvas.width();
  const Rt60Layout layout = rt60Layout(width, canvas.height(), result);
  canvas.clear(COLOUR_WHITE);

  canvas.text({width / 2, 8}, reverbMethodTitle(result.method),
              style(COLOUR_BLACK, TextAlign::Centre, true));
  canvas.text({layout.left, 8}, RT60_LABEL_WITH_AIR, style(RT60_COLOUR_WITH_AIR, TextAlign::Left));
  canvas.text({layout.right, 8}, RT60_LABEL_NO_AIR, style(RT60_COLOUR_NO_AIR, TextAlign::Right));

  // Frame, band lines and the scale.
  canvas.setPen(COLOUR_BLACK);
  canvas.setBrush(Brush::none());
  canvas.rectangle(
      {layout.left, layout.top, layout.right - layout.left + 1, layout.bottom - layout.top + 1});
  for (int b = 1; b < BAND_COUNT - 1; ++b)
    canvas.line({layout.bandX(b), layout.top}, {layout.bandX(b), layout.bottom});
  for (int half = 0; half <= 2 * layout.scaleSeconds; ++half) {
    canvas.setPen(half % 2 == 0 ? COLOUR_BLACK : COLOUR_GRID);
    const int y = layout.timeY(half / 2.0);
    canvas.line({layout.left, y}, {layout.right, y});
  }
  // Second labels right of the frame, clear of its lines (a line running
  // into "1 s" reads as "-1 s"); left of the frame the method buttons cover
  // the window's edge.
  for (int second = 0; second <= layout.scaleSeconds; ++second)
    canvas.text({layout.right + RT60_SCALE_LABEL_GAP, layout.timeY(second) - TEXT_HEIGHT / 2},
                std::to_string(second) + " s", style(COLOUR_BLACK, TextAlign::Left));

  // The table under the band lines.
  const int tableTop = layout.bottom + 6;
  for (int b = 0; b < BAND_COUNT; ++b) {
    const int x = layout.bandX(b);
    canvas.text({x, tableTop}, std::to_string(BAND_HZ[b]) + " Hz", style(COLOUR_BLACK));
    const std::string time =
        result.rt60[b] ? format("%2.2lf s", *result.rt60[b]) : RT60_INFINITE_LABEL;
    canvas.text({x, tableTop + ROW_STEP}, time, style(COLOUR_BLACK));
    const double noAir = result.absorptionNoAir[b];
    const double withAir = result.absorptionWithAir[b];
    canvas.text({x, tableTop + 2 * ROW_STEP}, format("%5.1lf Sa", noAir),
                style(RT60_COLOUR_NO_AIR));
    canvas.text({x, tableTop + 3 * ROW_STEP}, format("a = %3.1lf%%", result.sharePercent(noAir)),
                style(RT60_COLOUR_NO_AIR));
    canvas.text({x, tableTop + 4 * ROW_STEP}, format("%5.1lf Sa", withAir),
                style(RT60_COLOUR_WITH_AIR));
    canvas.text({x, tableTop + 5 * ROW_STEP}, format("a = %3.1lf%%", result.sharePercent(withAir)),
                style(RT60_COLOUR_WITH_AIR));
  }

  drawCurve(canvas, layout, result.rt60NoAir, RT60_COLOUR_NO_AIR);
  drawCurve(canvas, layout, result.rt60, RT60_COLOUR_WITH_AIR);

  int y = tableTop + 6 * ROW_STEP + 8;
  canvas.text({width / 2, y}, volumeLine(result.volume, feet), style(COLOUR_BLACK));
  y += ROW_STEP;
  canvas.text({width / 2, y}, surfaceLine(result.surface, feet), style(COLOUR_BLACK));
  y += ROW_STEP + 8;
  for (const std::string& line : areaErrorLines(result.closure, result.surface, feet)) {
    canvas.text({8, y}, line, style(COLOUR_RED, TextAlign::Left));
    y += ROW_STEP;
  }
  if (!description.empty()) {
    const int at = std::max(y, canvas.height() - BOTTOM_BUTTON_HEIGHT - 8 - ROW_STEP);
    canvas.text({width / 2, at}, description, style(COLOUR_BLACK));
  }
}

std::string projectDescription(const Project& project) { return cp1252ToUtf8(project.description); }

bool askMeasuredReverbTimes(CommandContext& ctx) {
  ProjectSettings& settings = ctx.project().settings;
  std::array<float, BAND_COUNT> seconds = settings.measuredRT;
  if (!editMeasuredReverberation(ctx, seconds)) return false;
  if (seconds != settings.measuredRT) {
    settings.measuredRT = seconds;
    ctx.setModified();
  }
  return true;
}

void setReverbMethod(CommandContext& ctx, ReverbMethod method) {
  const auto setting = static_cast<std::int8_t>(method);
  if (ctx.project().settings.rtMethod == setting) return;
  ctx.project().settings.rtMethod = setting;
  ctx.setModified();
}

void showReverberation(CommandContext& ctx, ReverbMethod method) {
  Rt60Window handler(ctx, method);
  ChildWindowSpec spec;
  spec.title = RT60_WINDOW_TITLE;
  spec.width = ctx.view().width > 0 ? ctx.view().width : DEFAULT_WIDTH;
  spec.height = ctx.view().height > 0 ? ctx.view().height : DEFAULT_HEIGHT;
  spec.overView = true;
  if (!ctx.platform().runWindow(spec, handler)) ctx.ui().showMessage(MSG_CANT_CREATE_RT60_WINDOW);
  ctx.redrawAll();
}

void runRt60Command(CommandContext& ctx) {
  switch (ctx.command()) {
    case CMD_RT60_EYRING:
      showReverberation(ctx, ReverbMethod::Eyring);
      break;
    case CMD_RT60_FITZROY:
      showReverberation(ctx, ReverbMethod::Fitzroy);
      break;
    case CMD_RT60_MEASURED:
      if (askMeasuredReverbTimes(ctx)) showReverberation(ctx, ReverbMethod::Measurement);
      break;
    default:
      showReverberation(ctx, ReverbMethod::Sabine);
      break;
  }
}

}  // namespace tav
