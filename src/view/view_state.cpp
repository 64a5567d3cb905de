#include "view/view_state.h"

#include <cmath>

#include "view/eye_view.h"

namespace tav {

namespace {

// The model axis behind each axis of the 2D views (XY, YZ, XZ).
constexpr int VIEW_AXES[3][2] = {{AXIS_X, AXIS_Y}, {AXIS_Y, AXIS_Z}, {AXIS_X, AXIS_Z}};

// Exact matrices of the 2D views; the general formula with float angles of
// -90° would leave residues of about 4e-8 in the zero entries.
constexpr ViewMatrix MATRIX_XY{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
constexpr ViewMatrix MATRIX_YZ{{{0, 1, 0}, {0, 0, 1}, {1, 0, 0}}};
constexpr ViewMatrix MATRIX_XZ{{{1, 0, 0}, {0, 0, 1}, {0, -1, 0}}};

double row(const ViewMatrix& m, int r, const Node& p) {
  return m[r][0] * p.x + m[r][1] * p.y + m[r][2] * p.z;
}

}  // namespace

ViewState::ViewState() { updateViewMatrix(*this); }

std::array<float, 3> modeAngles(const ViewState& state) {
  constexpr float M90 = static_cast<float>(-90.0 * VIEW_DEGREE);
  switch (state.mode) {
    case VIEW_YZ:
      return {M90, 0.0f, M90};
    case VIEW_XZ:
      return {0.0f, 0.0f, M90};
    case VIEW_3D:
      return state.angles3d;
    case VIEW_PERSPECTIVE:
      return state.perspectiveAngles;
    default:
      return {0.0f, 0.0f, 0.0f};
  }
}

ViewMatrix viewMatrix(double alpha, double gamma) {
  // Angles are kept as float: a right angle then leaves residues of about
  // 4e-8 where the matrix has 0 and 1e-15 where it has +-1. Snapping them
  // keeps points on the view axis exactly on it (the centre pixel, whole
  // depth keys) and changes nothing visible elsewhere.
  auto snap = [](double c) {
    if (std::abs(c) < 1e-6) return 0.0;
    if (std::abs(std::abs(c) - 1.0) < 1e-12) return c < 0 ? -1.0 : 1.0;
    return c;
  };
  const double ca = snap(std::cos(alpha)), sa = snap(std::sin(alpha));
  const double cg = snap(std::cos(gamma)), sg = snap(std::sin(gamma));
  return ViewMatrix{{{ca, -sa, 0.0}, {cg * sa, cg * ca, -sg}, {sg * sa, sg * ca, cg}}};
}

void updateViewMatrix(ViewState& state) {
  state.angles = modeAngles(state);
  switch (state.mode) {
    case VIEW_YZ:
      state.matrix = MATRIX_YZ;
      break;
    case VIEW_XZ:
      state.matrix = MATRIX_XZ;
      break;
    case VIEW_3D:
    case VIEW_PERSPECTIVE:
      state.matrix = viewMatrix(state.angles[0], state.angles[2]);
      break;
    default:
      state.matrix = MATRIX_XY;
      break;
  }
}

void setViewSize(ViewState& state, int width, int height) {
  state.width = width > 0 ? width : 0;
  state.height = height > 0 ? height : 0;
  state.originX = static_cast<float>(state.width) / 2.0f;
  state.originY = static_cast<float>(state.height) / 2.0f;
}

void prepareView(ViewState& state, int width, int height) {
  setViewSize(state, width, height);
  applyPendingShift(state);
  updateViewMatrix(state);
}

ViewPlanePoint toViewPlane(const ViewState& state, const Node& p) {
  const ViewMatrix& m = state.matrix;
  return {row(m, 0, p), row(m, 1, p), row(m, 2, p)};
}

int toPixel(double value) {
  if (std::isnan(value)) return 0;
  if (value > PIXEL_LIMIT) return PIXEL_LIMIT;
  if (value < -PIXEL_LIMIT) return -PIXEL_LIMIT;
  return static_cast<int>(value);  // truncation toward zero
}

int modelToScreen(const ViewState& state, double value, int axis) {
  const ViewOffset& o = state.offset();
  const double zoom = state.zoom;
  if (axis == AXIS_H) return toPixel((state.originX - o.h * zoom) + value * zoom);
  return toPixel((o.v * zoom + state.originY) - value * zoom);
}

double screenToModel(const ViewState& state, double pixel, int axis) {
  const ViewOffset& o = state.offset();
  if (axis == AXIS_H) return o.h + (pixel - state.originX) / state.zoom;
  return o.v - (pixel - state.originY) / state.zoom;
}

ScreenPoint projectNode(const ViewState& state, const Node& p) {
  if (state.mode == VIEW_PERSPECTIVE) return projectPerspective(state, p);
  const ViewPlanePoint q = toViewPlane(state, p);
  return {modelToScreen(state, q.h, AXIS_H), modelToScreen(state, q.v, AXIS_V), q.depth, true};
}

void setViewOffset(ViewState& state, int view, int axis, float value) {
  if (view < 0 || view >= VIEW_OFFSET_COUNT || axis < 0 || axis > 1) return;
  auto slot = [&](int v, int a) -> float& {
    return a == AXIS_H ? state.offsets[v].h : state.offsets[v].v;
  };
  slot(view, axis) = value;
  if (view > VIEW_XZ) return;  // the 3D view keeps its own pair
  const int modelAxis = VIEW_AXES[view][axis];
  for (int v = VIEW_XY; v <= VIEW_XZ; ++v)
    for (int a = 0; a < 2; ++a)
      if (VIEW_AXES[v][a] == modelAxis) slot(v, a) = value;
}

void addScrollShift(ViewState& state, ScrollAxis bar, ScrollAction action, int thumbPos) {
  const bool horizontal = bar == ScrollAxis::Horizontal;
  const int extent = horizontal ? state.width : state.height;
  int shift = 0;
  switch (action) {
    case ScrollAction::LineBack:
      shift = SCROLL_LINE_PIXELS;
      break;
    case ScrollAction::LineForward:
      shift = -SCROLL_LINE_PIXELS;
      break;
    case ScrollAction::PageBack:
      shift = extent / 2;
      break;
    case ScrollAction::PageForward:
      shift = -(extent / 2);
      break;
    case ScrollAction::Thumb: {
      const int p =
          thumbPos < SCROLL_MIN ? SCROLL_MIN : (thumbPos > SCROLL_MAX ? SCROLL_MAX : thumbPos);
      shift = -(extent * p / 100);
      break;
    }
  }
  if (horizontal)
    state.shiftX += shift;
  else
    state.shiftY += shift;
}

void applyPendingShift(ViewState& state) {
  if (state.shiftX == 0 && state.shiftY == 0) return;
  const int view = state.mode < VIEW_OFFSET_COUNT ? state.mode : VIEW_3D;
  const ViewOffset o = state.offsets[view];
  if (state.shiftX != 0 && state.zoom > 0)
    setViewOffset(state, view, AXIS_H, static_cast<float>(o.h - state.shiftX / double(state.zoom)));
  if (state.shiftY != 0 && state.zoom > 0)
    setViewOffset(state, view, AXIS_V, static_cast<float>(o.v + state.shiftY / double(state.zoom)));
  state.shiftX = 0;
  state.shiftY = 0;
}

}  // namespace tav
