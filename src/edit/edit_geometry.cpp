// Turn matrix, view axes and the node transforms of the editing commands.
#include "edit/edit_geometry.h"

#include <cmath>
#include <numbers>
#include <utility>

#include "model/project_settings.h"

namespace tav {

TurnMatrix turnMatrix(double a, double b, double c) {
  const double ca = std::cos(a), sa = std::sin(a);
  const double cb = std::cos(b), sb = std::sin(b);
  const double cc = std::cos(c), sc = std::sin(c);
  return {{{cb * ca, cb * sa * sc + sb * cc, sb * sc - cb * sa * cc},
           {-sb * ca, cb * cc - sb * sa * sc, sb * sa * cc + cb * sc},
           {sa, -ca * sc, ca * cc}}};
}

TurnMatrix turnMatrixForView(int viewMode, double degrees) {
  const double theta = degrees * std::numbers::pi / 180.0;
  switch (viewMode) {
    case VIEW_YZ:
      return turnMatrix(0.0, 0.0, -theta);
    case VIEW_XZ:
      return turnMatrix(theta, 0.0, 0.0);
    default:  // XY, 3D and perspective turn about z
      return turnMatrix(0.0, -theta, 0.0);
  }
}

Vec3d applyMatrix(const TurnMatrix& m, Vec3d p) {
  return {m[0][0] * p.x + m[0][1] * p.y + m[0][2] * p.z,
          m[1][0] * p.x + m[1][1] * p.y + m[1][2] * p.z,
          m[2][0] * p.x + m[2][1] * p.y + m[2][2] * p.z};
}

Vec3d turnAbout(const TurnMatrix& m, Vec3d p, Vec3d base) {
  return base + applyMatrix(m, p - base);
}

ViewAxes viewAxes(int viewMode) {
  switch (viewMode) {
    case VIEW_YZ:
      return {1, 2, 0};
    case VIEW_XZ:
      return {0, 2, 1};
    default:
      return {0, 1, 2};
  }
}

double component(Vec3d p, int axis) { return axis == 0 ? p.x : axis == 1 ? p.y : p.z; }

void setComponent(Vec3d& p, int axis, double value) {
  (axis == 0 ? p.x : axis == 1 ? p.y : p.z) = value;
}

Vec3d unitAxis(int axis) {
  Vec3d v;
  setComponent(v, axis, 1.0);
  return v;
}

PlaneAxes viewPlaneAxes(int viewMode, double phi) {
  const ViewAxes axes = viewAxes(viewMode);
  const Vec3d h = unitAxis(axes.h), v = unitAxis(axes.v);
  const double c = std::cos(phi), s = std::sin(phi);
  return {c * h + s * v, -s * h + c * v};
}

void moveObject(ModelObject& object, Vec3d delta) {
  for (Node& n : object.nodes) n = toNode(toVec(n) + delta);
}

void scaleObject(ModelObject& object, Vec3d base, Vec3d factors) {
  for (Node& n : object.nodes) {
    const Vec3d d = toVec(n) - base;
    n = toNode(base + Vec3d{d.x * factors.x, d.y * factors.y, d.z * factors.z});
  }
}

void turnObject(ModelObject& object, const TurnMatrix& m, Vec3d base) {
  for (Node& n : object.nodes) n = toNode(turnAbout(m, toVec(n), base));
}

bool mirrorNodes(std::span<Node> nodes, int viewMode, Vec3d a, Vec3d b) {
  const ViewAxes axes = viewAxes(viewMode);
  const double ah = component(a, axes.h), av = component(a, axes.v);
  double dh = component(b, axes.h) - ah, dv = component(b, axes.v) - av;
  const double len = std::hypot(dh, dv);
  if (!(len * len > MIRROR_MIN_LENGTH_SQUARED)) return false;
  dh /= len;
  dv /= len;
  for (Node& n : nodes) {
    Vec3d p = toVec(n);
    const double ph = component(p, axes.h) - ah, pv = component(p, axes.v) - av;
    const double along = ph * dh + pv * dv;
    setComponent(p, axes.h, ah + 2.0 * along * dh - ph);
    setComponent(p, axes.v, av + 2.0 * along * dv - pv);
    n = toNode(p);
  }
  return true;
}

bool mirrorObject(ModelObject& object, int viewMode, Vec3d a, Vec3d b) {
  return mirrorNodes(object.nodes, viewMode, a, b);
}

bool invertFace(ModelObject& object, std::size_t startEntry) {
  auto& e = object.indices;
  if (startEntry >= e.size() || e[startEntry].code != IDX_START) return false;
  std::size_t first = startEntry + 1;
  if (first < e.size() && e[first].code == IDX_MATERIAL) ++first;
  std::size_t close = first;
  while (close < e.size() && e[close].code == IDX_LINE) ++close;
  if (close >= e.size() || e[close].code != IDX_CLOSE) return false;
  for (std::size_t i = first, j = close; i < j; ++i, --j) std::swap(e[i].ref, e[j].ref);
  return true;
}

void invertAllFaces(ModelObject& object) {
  for (std::size_t start : faceStarts(object)) invertFace(object, start);
}

}  // namespace tav
