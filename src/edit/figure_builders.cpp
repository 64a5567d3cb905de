// Lines, polygons, circles and rectangles as model objects.
#include "edit/figure_builders.h"

#include <cmath>
#include <numbers>

#include "edit/edit_geometry.h"

namespace tav {

namespace {

std::unique_ptr<ModelObject> newFigure(std::uint32_t shape, std::uint32_t layer,
                                       std::uint32_t colour) {
  auto o = std::make_unique<ModelObject>();
  o->shape = shape;
  o->layer = layer;
  o->colour = colour;
  return o;
}

// (0,0) (3,0) (1,1) ... with the last code given.
void fillEntries(ModelObject& o, std::size_t count, std::uint16_t lastCode) {
  o.indices.push_back({IDX_START, 0});
  o.indices.push_back({IDX_MATERIAL, 0});
  for (std::size_t k = 1; k < count; ++k)
    o.indices.push_back({k + 1 == count ? lastCode : IDX_LINE, static_cast<std::uint16_t>(k)});
}

}  // namespace

std::unique_ptr<ModelObject> buildPolyline(std::span<const Vec3d> points, std::uint32_t layer,
                                           std::uint32_t colour) {
  if (points.size() < 2) return nullptr;
  auto o = newFigure(SHAPE_POLYLINE, layer, colour);
  o->flags = OF_CREATED;
  for (const Vec3d& p : points) o->nodes.push_back(toNode(p));
  fillEntries(*o, points.size(), IDX_LINE);
  compactObject(*o);
  return o;
}

std::unique_ptr<ModelObject> buildPolygon(std::span<const Vec3d> points, std::uint32_t layer,
                                          std::uint32_t colour) {
  if (points.size() < 2) return nullptr;
  auto o = newFigure(SHAPE_FACE, layer, colour);
  o->flags = OF_CREATED;
  for (const Vec3d& p : points) o->nodes.push_back(toNode(p));
  fillEntries(*o, points.size(), IDX_CLOSE);
  compactObject(*o);
  return o;
}

double circleRadius(Vec3d centre, Vec3d point, int viewMode) {
  const ViewAxes ax = viewAxes(viewMode);
  return std::hypot(component(point, ax.h) - component(centre, ax.h),
                    component(point, ax.v) - component(centre, ax.v));
}

std::unique_ptr<ModelObject> buildCircle(Vec3d centre, double radius, int segments, int viewMode,
                                         std::uint32_t layer, std::uint32_t colour) {
  if (segments < 3) return nullptr;
  auto o = newFigure(SHAPE_FACE, layer, colour);
  const PlaneAxes axes = viewPlaneAxes(viewMode, 0.0);
  const double step = 2.0 * std::numbers::pi / segments;
  for (int k = 0; k < segments; ++k) {
    const double a = (segments - k) * step;
    o->nodes.push_back(
        toNode(centre + radius * std::cos(a) * axes.u + radius * std::sin(a) * axes.w));
  }
  fillEntries(*o, static_cast<std::size_t>(segments), IDX_CLOSE);
  return o;
}

std::unique_ptr<ModelObject> buildRectangle(Vec3d p0, Vec3d p2, int viewMode, std::uint32_t layer,
                                            std::uint32_t colour) {
  const ViewAxes ax = viewAxes(viewMode);
  auto corner = [&](Vec3d hFrom, Vec3d vFrom) {
    Vec3d c = p0;
    setComponent(c, ax.h, component(hFrom, ax.h));
    setComponent(c, ax.v, component(vFrom, ax.v));
    return c;
  };
  auto o = newFigure(SHAPE_FACE, layer, colour);
  for (const Vec3d& c : {corner(p0, p0), corner(p0, p2), corner(p2, p2), corner(p2, p0)})
    o->nodes.push_back(toNode(c));
  fillEntries(*o, 4, IDX_CLOSE);
  return o;
}

}  // namespace tav
