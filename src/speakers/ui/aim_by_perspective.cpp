// Aim by Central Perspective: each selected loudspeaker is aimed by looking
// out of it. A window shows the perspective from the loudspeaker's position
// along its main axis with the information block, the centre cross and the
// coverage contours of its type; a click makes the clicked point the new
// main axis, the band buttons choose the band of the contours. Enter or the
// right button keeps the new aim, Escape or the close box keeps the old.
#include "speakers/ui/aim_by_perspective.h"

#include <cmath>
#include <numbers>
#include <string>

#include "platform/keys.h"
#include "shell/command_context.h"
#include "speakers/coverage_contours.h"
#include "speakers/project_speaker_types.h"
#include "speakers/speaker_drawing.h"
#include "speakers/ui/speaker_commands.h"
#include "view/eye_view.h"
#include "view/view_render.h"

namespace tav {

namespace {

constexpr double PI = std::numbers::pi;
constexpr const char* BAND_BUTTON_LABELS[BAND_COUNT] = {"125", "250", "500", " 1k",
                                                        " 2k", " 4k", " 8k"};

class AimWindow : public ChildWindowHandler {
 public:
  AimWindow(CommandContext& ctx, const PlacedSpeaker& speaker, const SpeakerType* type, int& band)
      : ctx_(ctx), speaker_(speaker), type_(type), band_(band) {
    view_.hiddenBackfaces = ctx.view().hiddenBackfaces;
    view_.perspectiveAngles[0] = static_cast<float>(aimViewAzimuth(speaker.horizontal));
    view_.perspectiveAngles[2] = static_cast<float>(aimViewElevation(speaker.vertical));
    view_.turnStep = static_cast<float>(PI / 180.0);  // arrow keys turn by 1 degree
    enterPerspective(view_, speaker.position);
  }

  void onPaint(Canvas& canvas, ChildWindow&) override {
    ViewDrawContext context = ctx_.drawContext();
    context.nodeList = {};
    context.comment = {};
    context.dragging = false;
    context.aimBandHz = aimBandFrequency(band_);
    redrawView(view_, canvas, context);
    if (type_ == nullptr) return;
    const CoverageContours contours = coverageContours(type_->grids[band_]);
    canvas.setPen(static_cast<int>(CONTOUR_COLOUR));
    for (int k = 0; k < CONTOUR_COUNT; ++k) {
      std::vector<PixelPoint> points;
      for (int c = 0; c < DIRECTIVITY_COLUMNS; ++c) {
        const Vec3d p = contourPoint(c, contours.angle[k][c], speaker_.rotation);
        // The contour point as a direction seen from the eye: screen x to
        // the right, screen y downwards.
        const EyePoint e{p.x * p.z, -p.y * p.z, p.z};
        double px = 0, py = 0;
        fisheyePixel(view_, e, px, py);
        points.push_back({toPixel(px), toPixel(py)});
      }
      points.push_back(points.front());
      canvas.polyline(points);
    }
  }

  void onButton(int id, ChildWindow& window) override {
    if (id >= AIM_BAND_BUTTON_FIRST && id < AIM_BAND_BUTTON_FIRST + BAND_COUNT) {
      band_ = id - AIM_BAND_BUTTON_FIRST;
      window.repaint();
    }
  }

  void onMouse(const MouseEvent& event, ChildWindow& window) override {
    if (event.action != MouseAction::Press) return;
    if (event.button == MouseButton::Right) {
      finish(window);
      return;
    }
    if (event.button != MouseButton::Left || window.width() <= 0) return;
    turnToPixel(event.pos, window.width(), window.height());
    window.repaint();
  }

  void onKey(int key, ChildWindow& window) override {
    switch (key) {
      case KEY_RETURN:
      case KEY_SPACE:
        finish(window);
        return;
      case KEY_LEFT:
        turnPerspective(view_, -1, 0);
        break;
      case KEY_RIGHT:
        turnPerspective(view_, 1, 0);
        break;
      case KEY_UP:
        turnPerspective(view_, 0, 1);
        break;
      case KEY_DOWN:
        turnPerspective(view_, 0, -1);
        break;
      default:
        return;
    }
    window.repaint();
  }

  void onResize(int, int, ChildWindow& window) override { window.repaint(); }

  bool finished() const { return finished_; }
  double azimuth() const { return view_.perspectiveAngles[0]; }
  double elevation() const { return view_.perspectiveAngles[2]; }

 private:
  void finish(ChildWindow& window) {
    finished_ = true;
    window.close();
  }

  // The clicked point becomes the view centre: a quarter turn per view width.
  void turnToPixel(PixelPoint at, int width, int height) {
    const double k = (PI / 2) / width;
    double phi = view_.perspectiveAngles[0] + k * (at.x - width / 2);
    double eps = view_.perspectiveAngles[2] - k * (at.y - height / 2);
    if (phi > PI / 2) phi -= 2 * PI;
    if (phi < -3 * PI / 2) phi += 2 * PI;
    eps = std::clamp(eps, -PI, 0.0);
    view_.perspectiveAngles[0] = static_cast<float>(phi);
    view_.perspectiveAngles[2] = static_cast<float>(eps);
    updateViewMatrix(view_);
  }

  CommandContext& ctx_;
  const PlacedSpeaker& speaker_;
  const SpeakerType* type_;
  int& band_;
  ViewState view_;
  bool finished_ = false;
};

}  // namespace

double aimViewAzimuth(double horizontal) { return -(horizontal + PI / 2); }
double aimViewElevation(double vertical) { return vertical - PI / 2; }
double aimHorizontalFromView(double azimuth) { return -(azimuth + PI / 2); }
double aimVerticalFromView(double elevation) { return elevation + PI / 2; }
double aimBandFrequency(int band) { return 125.0 * std::pow(2.0, band); }

ChildWindowSpec aimWindowSpec(int width, int height) {
  ChildWindowSpec spec;
  spec.title = AIM_WINDOW_TITLE;
  spec.width = width > 0 ? width : 640;
  spec.height = height > 0 ? height : 480;
  for (int b = 0; b < BAND_COUNT; ++b) {
    const int size = AIM_BAND_BUTTON_SIZE;
    spec.buttons.push_back({AIM_BAND_BUTTON_FIRST + b,
                            BAND_BUTTON_LABELS[b],
                            {b * size, spec.height - size, size, size}});
  }
  return spec;
}

void aimByPerspective(CommandContext& ctx) {
  ctx.setCommandName("Aim loudspeaker > ");
  Project& project = ctx.project();
  if (ctx.selectObjects() == 0) return;
  const std::vector<ModelObject*> selected = selectedSpeakers(project);
  for (ModelObject* o : selected) o->flags &= ~OF_SELECTED;
  // The contours start in the band the calculation shows, or at 1 kHz when
  // that is no octave band.
  const int shown = project.settings.calculation.band;
  int band = shown >= 0 && shown < BAND_COUNT ? shown : AIM_DEFAULT_BAND;
  bool changed = false;
  for (ModelObject* o : selected) {
    // The eye sits inside the cabinet: its own drawing is left out of the
    // view while it is aimed.
    const std::uint32_t flags = o->flags;
    o->flags |= OF_MARKED | OF_HIDDEN;
    std::optional<PlacedSpeaker> s = speakerOf(*o);
    AimWindow handler(ctx, *s, speakerTypeOf(project, *s), band);
    ctx.platform().runWindow(aimWindowSpec(ctx.view().width, ctx.view().height), handler);
    o->flags = flags & ~(OF_MARKED | OF_SELECTED);
    if (!handler.finished()) continue;
    s->horizontal = static_cast<float>(aimHorizontalFromView(handler.azimuth()));
    s->vertical = static_cast<float>(aimVerticalFromView(handler.elevation()));
    buildSpeakerDrawing(project, *s, o);
    changed = true;
  }
  deselectAll(project);
  if (changed) {
    ctx.setModified();
    refreshAimPoints(ctx);
  } else {
    ctx.redrawAll();
  }
}

}  // namespace tav
