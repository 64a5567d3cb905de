// The objects the drawing commands build: lines, polygons, circles and
// rectangles, on the view's in-plane axes.
#pragma once

#include <memory>
#include <span>

#include "model/model_object.h"
#include "model/vec3.h"

namespace tav {

// Open lines through the points: (0,0) (3,0) (1,1) ...; shape 1, flags
// OF_CREATED, compacted. Null with fewer than two points.
std::unique_ptr<ModelObject> buildPolyline(std::span<const Vec3d> points, std::uint32_t layer,
                                           std::uint32_t colour);

// A closed face through the points: (0,0) (3,0) (1,1) ... (2,last); shape 8,
// flags OF_CREATED, compacted. Null with fewer than two points.
std::unique_ptr<ModelObject> buildPolygon(std::span<const Vec3d> points, std::uint32_t layer,
                                          std::uint32_t colour);

// Radius of a circle: distance from the centre to the point in the view plane.
double circleRadius(Vec3d centre, Vec3d point, int viewMode);

// A circle of `segments` nodes about the centre in the view plane: node k
// at the angle (n - k) 2π / n from the in-plane axis u (clockwise in the
// (u, w) plane); entries (0,0) (3,0) (1,1) ... (1,n-2) (2,n-1); shape 8.
std::unique_ptr<ModelObject> buildCircle(Vec3d centre, double radius, int segments, int viewMode,
                                         std::uint32_t layer, std::uint32_t colour);

// The rectangle with the corners P0 and P2 in the view plane: nodes P0,
// (P0 horizontal, P2 vertical), P2, (P2 horizontal, P0 vertical), the
// coordinate across the view that of P0; entries (0,0) (3,0) (1,1) (1,2)
// (2,3); shape 8.
std::unique_ptr<ModelObject> buildRectangle(Vec3d p0, Vec3d p2, int viewMode, std::uint32_t layer,
                                            std::uint32_t colour);

}  // namespace tav
