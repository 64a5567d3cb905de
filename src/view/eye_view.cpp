#include "view/eye_view.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "model/number_text.h"

namespace tav {

namespace {

std::int32_t depthKey(double w) {
  const double k = std::trunc(1000.0 * w);
  if (!(k < std::numeric_limits<std::int32_t>::max()))
    return std::numeric_limits<std::int32_t>::max();
  if (!(k > std::numeric_limits<std::int32_t>::min()))
    return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(k);
}

ScreenPoint eyeToScreen(const ViewState& state, const EyePoint& e) {
  double px = 0, py = 0;
  fisheyePixel(state, e, px, py);
  return {toPixel(px), toPixel(py), e.w, e.w >= PERSPECTIVE_NEAR};
}

// Adds the faces of one object to `out`, up to the face limit.
void collectObjectFaces(const ViewState& state, const ModelObject& o,
                        std::vector<PerspectiveFace>& out) {
  const std::size_t nodeCount = o.nodes.size();
  std::vector<EyePoint> eye(nodeCount);
  bool anyFront = false;
  for (std::size_t i = 0; i < nodeCount; ++i) {
    eye[i] = toEye(state, o.nodes[i]);
    anyFront = anyFront || eye[i].w >= PERSPECTIVE_NEAR;
  }
  if (!anyFront) return;

  const int factor = facingFactor(o.layer);
  const double width = state.width, height = state.height;
  std::vector<EyePoint> polygon;
  std::size_t start = 0;
  bool open = false;
  for (std::size_t i = 0; i < o.indices.size() && out.size() < PERSPECTIVE_MAX_FACES; ++i) {
    const IndexEntry& e = o.indices[i];
    if (e.code == IDX_MATERIAL) continue;
    if (e.code == IDX_START) {
      polygon.clear();
      start = i;
      open = true;
    }
    if (!open) continue;  // entries before any start belong to no face
    if (e.code != IDX_START && e.code != IDX_LINE && e.code != IDX_CLOSE) continue;
    if (e.ref < nodeCount) polygon.push_back(eye[e.ref]);
    if (e.code != IDX_CLOSE) continue;
    open = false;

    PerspectiveFace face;
    bool inFront = false;
    for (const EyePoint& p : polygon) {
      if (p.w < PERSPECTIVE_NEAR) continue;
      const std::int32_t key = depthKey(p.w);
      if (!inFront) face.depthMax = face.depthMin = key;
      face.depthMax = std::max(face.depthMax, key);
      face.depthMin = std::min(face.depthMin, key);
      inFront = true;
    }
    if (!inFront) continue;
    const std::vector<EyePoint> cut = clipToNearPlane(polygon);
    if (cut.size() < 2) continue;
    face.outline.reserve(cut.size());
    int minX = PIXEL_LIMIT, minY = PIXEL_LIMIT, maxX = -PIXEL_LIMIT, maxY = -PIXEL_LIMIT;
    for (const EyePoint& p : cut) {
      const ScreenPoint s = eyeToScreen(state, p);
      minX = std::min(minX, s.x);
      maxX = std::max(maxX, s.x);
      minY = std::min(minY, s.y);
      maxY = std::max(maxY, s.y);
      face.outline.push_back(s);
    }
    if (maxX < 0 || maxY < 0 || minX > width || minY > height) continue;
    if (screenArea(face.outline) * factor < -1.0) continue;  // turned away from the eye
    face.object = &o;
    face.startEntry = start;
    out.push_back(std::move(face));
  }
}

}  // namespace

EyePoint toEye(const ViewState& state, const Node& p) {
  const ViewMatrix& m = state.matrix;
  const double dx = double(p.x) - state.eye.x;
  const double dy = double(p.y) - state.eye.y;
  const double dz = double(p.z) - state.eye.z;
  return {-(m[0][0] * dx + m[0][1] * dy + m[0][2] * dz), m[1][0] * dx + m[1][1] * dy + m[1][2] * dz,
          m[2][0] * dx + m[2][1] * dy + m[2][2] * dz};
}

double perspectiveScale(const ViewState& state) {
  return std::max(state.width, state.height) / PERSPECTIVE_FIELD;
}

void fisheyePixel(const ViewState& state, const EyePoint& e, double& px, double& py) {
  const double r2 = e.u * e.u + e.v * e.v;
  double c = e.w / std::sqrt(r2 + e.w * e.w + 1e-6);
  c = std::clamp(c, -1.0, 1.0);
  const double theta = std::acos(c);
  const double k = theta / std::sqrt(r2 + 1e-6);
  const double scale = perspectiveScale(state);
  px = state.width * 0.5 + scale * k * e.u;
  py = state.height * 0.5 - scale * k * e.v;
}

ScreenPoint projectPerspective(const ViewState& state, const Node& p) {
  return eyeToScreen(state, toEye(state, p));
}

std::vector<EyePoint> clipToNearPlane(const std::vector<EyePoint>& polygon) {
  std::vector<EyePoint> out;
  const std::size_t n = polygon.size();
  if (n == 0) return out;
  out.reserve(n + 2);
  for (std::size_t i = 0; i < n; ++i) {
    const EyePoint& a = polygon[i];
    const EyePoint& b = polygon[(i + 1) % n];
    const bool aIn = a.w >= PERSPECTIVE_NEAR;
    const bool bIn = b.w >= PERSPECTIVE_NEAR;
    if (aIn) out.push_back(a);
    if (aIn != bIn) {
      const double t = (a.w - PERSPECTIVE_NEAR) / (a.w - b.w);
      out.push_back({a.u + t * (b.u - a.u), a.v + t * (b.v - a.v), PERSPECTIVE_NEAR});
    }
  }
  return out;
}

double screenArea(const std::vector<ScreenPoint>& outline) {
  // Shoelace over the closed outline in pixel numbers; because pixel y grows
  // downwards, an outline that is counter-clockwise to the eye comes out
  // negative there, so the sum is negated.
  double sum = 0.0;
  const std::size_t n = outline.size();
  for (std::size_t i = 0; i < n; ++i) {
    const ScreenPoint& a = outline[i];
    const ScreenPoint& b = outline[(i + 1) % n];
    sum += (double(a.x) - b.x) * (double(a.y) + b.y);
  }
  return -sum;
}

int facingFactor(std::uint32_t layer) {
  return (layer == LAYER_SPEAKERS || layer == LAYER_AUX) ? -1 : 1;
}

void sortFacesByDepth(std::vector<PerspectiveFace>& faces) {
  std::stable_sort(faces.begin(), faces.end(),
                   [](const PerspectiveFace& a, const PerspectiveFace& b) {
                     if (a.depthMax != b.depthMax) return a.depthMax > b.depthMax;
                     return a.depthMin > b.depthMin;
                   });
}

std::vector<PerspectiveFace> collectPerspectiveFaces(const ViewState& state,
                                                     const ModelObject* first,
                                                     const ModelObject* last) {
  std::vector<PerspectiveFace> faces;
  for (const ModelObject* o = first; o && faces.size() < PERSPECTIVE_MAX_FACES; o = o->next) {
    if (o->isDrawable() && o->hasFaces() && o->layer != LAYER_AUDIENCE)
      collectObjectFaces(state, *o, faces);
    if (o == last) break;
  }
  if (state.hiddenBackfaces) sortFacesByDepth(faces);
  return faces;
}

void enterPerspective(ViewState& state, const Node& eye) {
  state.eye = eye;
  state.mode = VIEW_PERSPECTIVE;
  updateViewMatrix(state);
}

void turnPerspective(ViewState& state, int alphaSteps, int gammaSteps) {
  double alpha = state.perspectiveAngles[0] + double(alphaSteps) * state.turnStep;
  double gamma = state.perspectiveAngles[2] + double(gammaSteps) * state.turnStep;
  // A small tolerance keeps exact limits (reached in float steps) in place.
  constexpr double EPS = 1e-6;
  while (alpha < PERSPECTIVE_ALPHA_MIN - EPS) alpha += 360.0 * VIEW_DEGREE;
  while (alpha > PERSPECTIVE_ALPHA_MAX + EPS) alpha -= 360.0 * VIEW_DEGREE;
  gamma = std::clamp(gamma, PERSPECTIVE_GAMMA_MIN, PERSPECTIVE_GAMMA_MAX);
  state.perspectiveAngles[0] = static_cast<float>(alpha);
  state.perspectiveAngles[2] = static_cast<float>(gamma);
  updateViewMatrix(state);
}

void scrollPerspective(ViewState& state, ScrollAxis bar, ScrollAction action, int thumbPos) {
  const int p = std::clamp(thumbPos, SCROLL_MIN, SCROLL_MAX);
  int steps = 0;
  switch (action) {
    case ScrollAction::LineBack:
      steps = -1;
      break;
    case ScrollAction::LineForward:
      steps = 1;
      break;
    case ScrollAction::PageBack:
      steps = -10;
      break;
    case ScrollAction::PageForward:
      steps = 10;
      break;
    case ScrollAction::Thumb:
      steps = p;
      break;
  }
  // Horizontal: left turns alpha back. Vertical: up raises gamma, so the
  // vertical bar counts the other way round.
  if (bar == ScrollAxis::Horizontal)
    turnPerspective(state, steps, 0);
  else
    turnPerspective(state, 0, -steps);
}

std::vector<std::string> perspectiveInfoLines(const ViewState& state,
                                              std::optional<double> aimBandHz) {
  std::vector<std::string> lines;
  if (aimBandHz) lines.push_back(formatNumber("%4.0f Hz", *aimBandHz));
  lines.push_back(formatNumber("X: %3.3f", double(state.eye.x)));
  lines.push_back(formatNumber("Y: %3.3f", double(state.eye.y)));
  lines.push_back(formatNumber("Z: %3.3f", double(state.eye.z)));
  const double hor = -(state.perspectiveAngles[0] / VIEW_DEGREE + 90.0);
  const double ver = state.perspectiveAngles[2] / VIEW_DEGREE + 90.0;
  // "+ 0.0" turns a negative zero into "0".
  lines.push_back(formatNumber("Hor. %3.0f\u00B0", std::round(hor) + 0.0));
  lines.push_back(formatNumber("Ver. %3.0f\u00B0", std::round(ver) + 0.0));
  return lines;
}

}  // namespace tav
