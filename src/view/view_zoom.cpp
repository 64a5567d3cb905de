#include "view/view_zoom.h"

#include <algorithm>
#include <cmath>

#include "view/eye_view.h"

namespace tav {

namespace {

// Fits a view-plane rectangle of size w x h (metres) centred at (ch, cv).
bool fitRect(ViewState& state, double w, double h, double ch, double cv, double factor) {
  if (state.width <= 0 || state.height <= 0) return false;
  if (!(w > 0) || !(h > 0) || !std::isfinite(ch) || !std::isfinite(cv)) return false;
  const double a = double(state.height) / state.width;
  const double fit = std::abs(h / w) > a ? state.height / h : state.width / w;
  double zoom = factor * fit;
  if (!std::isfinite(zoom) || zoom > ZOOM_MAXIMUM) zoom = ZOOM_MAXIMUM;
  state.zoom = static_cast<float>(zoom);
  const int view = state.mode < VIEW_OFFSET_COUNT ? state.mode : VIEW_3D;
  setViewOffset(state, view, AXIS_H, static_cast<float>(ch));
  setViewOffset(state, view, AXIS_V, static_cast<float>(cv));
  return true;
}

}  // namespace

std::optional<ViewRect> viewBoundingBox(const ViewState& state, const ObjectList& objects) {
  std::optional<ViewRect> box;
  for (const ModelObject& o : objects) {
    if (!o.isDrawable()) continue;
    for (const Node& n : o.nodes) {
      if (!std::isfinite(n.x) || !std::isfinite(n.y) || !std::isfinite(n.z)) continue;
      const ViewPlanePoint p = toViewPlane(state, n);
      if (!box) {
        box = ViewRect{p.h, p.v, p.h, p.v};
        continue;
      }
      box->minH = std::min(box->minH, p.h);
      box->maxH = std::max(box->maxH, p.h);
      box->minV = std::min(box->minV, p.v);
      box->maxV = std::max(box->maxV, p.v);
    }
  }
  return box;
}

bool zoomAll(ViewState& state, const ObjectList& objects) {
  if (objects.empty() || state.mode == VIEW_PERSPECTIVE) return false;
  if (state.width <= 0 || state.height <= 0 || !(state.zoom > 0)) return false;
  const ViewRect box = viewBoundingBox(state, objects).value_or(ViewRect{-1, -1, 1, 1});
  // Each side of the box is at least one pixel at the current zoom.
  const double onePixel = 1.0 / state.zoom;
  const double w = std::max(box.maxH - box.minH, onePixel);
  const double h = std::max(box.maxV - box.minV, onePixel);
  return fitRect(state, w, h, (box.minH + box.maxH) / 2, (box.minV + box.maxV) / 2,
                 ZOOM_ALL_FACTOR);
}

bool zoomWindow(ViewState& state, int x1, int y1, int x2, int y2) {
  if (state.mode == VIEW_PERSPECTIVE || !(state.zoom > 0)) return false;
  const double left = std::min(x1, x2), right = std::max(x1, x2);
  const double top = std::min(y1, y2), bottom = std::max(y1, y2);
  const double wPx = std::max(right - left, 2.0);
  const double hPx = std::max(bottom - top, 2.0);
  const double ch = screenToModel(state, (left + right) / 2, AXIS_H);
  const double cv = screenToModel(state, (top + bottom) / 2, AXIS_V);
  return fitRect(state, wPx / state.zoom, hPx / state.zoom, ch, cv, ZOOM_WINDOW_FACTOR);
}

bool zoomInAt(ViewState& state, int px, int py) {
  if (!state.is2D() || !(state.zoom < ZOOM_IN_LIMIT)) return false;
  const int dx = state.width / 4, dy = state.height / 4;
  return zoomWindow(state, px - dx, py - dy, px + dx, py + dy);
}

bool zoomOut(ViewState& state) {
  if (!state.is2D() || !(state.zoom >= ZOOM_OUT_MINIMUM)) return false;
  state.zoom /= 2.0f;
  return true;
}

bool zoomAtPixel(ViewState& state, int px, int py, double factor) {
  if (state.mode == VIEW_PERSPECTIVE || !(state.zoom > 0) || !(factor > 0)) return false;
  const double old = state.zoom;
  double zoom = std::clamp(old * factor, double(ZOOM_OUT_MINIMUM), double(ZOOM_IN_LIMIT));
  // Already beyond a limit (zoom window reaches further): never further out.
  if ((factor > 1 && zoom < old) || (factor < 1 && zoom > old)) zoom = old;
  if (zoom == old) return false;
  const double h = screenToModel(state, px, AXIS_H);
  const double v = screenToModel(state, py, AXIS_V);
  state.zoom = static_cast<float>(zoom);
  // Offsets so that (h, v) maps to (px, py) again.
  const double z = state.zoom;
  const int view = state.mode < VIEW_OFFSET_COUNT ? state.mode : VIEW_3D;
  setViewOffset(state, view, AXIS_H, static_cast<float>(h - (px - state.originX) / z));
  setViewOffset(state, view, AXIS_V, static_cast<float>(v + (py - state.originY) / z));
  return true;
}

double wheelZoomFactor(int delta) { return std::pow(1.25, delta / 120.0); }

bool panByPixels(ViewState& state, int dx, int dy) {
  if (state.mode == VIEW_PERSPECTIVE || !(state.zoom > 0) || (dx == 0 && dy == 0)) return false;
  state.shiftX += dx;
  state.shiftY += dy;
  applyPendingShift(state);
  return true;
}

bool resizeView(ViewState& state, int width, int height) {
  const int oldW = state.width, oldH = state.height;
  if (width == oldW && height == oldH) return false;
  setViewSize(state, width, height);
  if (oldW <= 0 || oldH <= 0 || state.width <= 0 || state.height <= 0) return true;
  const double factor = std::min(double(state.width) / oldW, double(state.height) / oldH);
  const double zoom = state.zoom * factor;
  if (std::isfinite(zoom) && zoom > 0 && zoom <= ZOOM_MAXIMUM)
    state.zoom = static_cast<float>(zoom);
  return true;
}

bool selectView(ViewState& state, const ObjectList& objects, int mode) {
  if (mode < VIEW_XY || mode > VIEW_3D) return false;
  state.mode = static_cast<std::int16_t>(mode);
  updateViewMatrix(state);  // the 3D view takes the 3D angles here
  if (mode == VIEW_3D) zoomAll(state, objects);
  return true;
}

bool turnView(ViewState& state, const ObjectList& objects, ArrowKey key) {
  if (state.mode == VIEW_PERSPECTIVE) {
    switch (key) {
      case ArrowKey::Left:
        turnPerspective(state, -1, 0);
        break;
      case ArrowKey::Right:
        turnPerspective(state, 1, 0);
        break;
      case ArrowKey::Up:
        turnPerspective(state, 0, 1);
        break;
      case ArrowKey::Down:
        turnPerspective(state, 0, -1);
        break;
    }
    return true;
  }
  if (state.mode != VIEW_3D) return false;
  const float step = state.turnStep;
  switch (key) {
    case ArrowKey::Left:
      state.angles3d[0] -= step;
      break;
    case ArrowKey::Right:
      state.angles3d[0] += step;
      break;
    case ArrowKey::Up:
      state.angles3d[2] -= step;
      break;
    case ArrowKey::Down:
      state.angles3d[2] += step;
      break;
  }
  updateViewMatrix(state);
  zoomAll(state, objects);
  return true;
}

void resetViewForNewProject(ViewState& state, const ObjectList& objects) {
  state.angles3d = {VIEW3D_ALPHA_DEFAULT, VIEW3D_BETA_DEFAULT, VIEW3D_GAMMA_DEFAULT};
  state.offsets = {};
  state.shiftX = state.shiftY = 0;
  state.zoom = ZOOM_NEW_PROJECT;
  selectView(state, objects, VIEW_3D);
}

void applyLoadedView(ViewState& state, const Project& project) {
  state.hiddenBackfaces = false;
  state.grid.freeAllObjects();  // lines of the previous model
  state.shiftX = state.shiftY = 0;
  int mode = project.settings.view;
  if (mode < VIEW_XY || mode > VIEW_3D) mode = VIEW_XY;
  selectView(state, project.objects, mode);
}

}  // namespace tav
