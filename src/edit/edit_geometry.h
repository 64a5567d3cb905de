// Geometry of the editing commands: the turn matrix and the per-view axis,
// the in-plane axes of the views, and the node transforms of Move, Scale,
// Turn and Mirror, and the reversal of a face's vertex order.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "model/model_object.h"
#include "model/vec3.h"

namespace tav {

// Rows of a 3 x 3 rotation.
using TurnMatrix = std::array<std::array<double, 3>, 3>;

// The turn matrix from three angles in radians: A about the y axis, B about
// the z axis, C about the x axis.
TurnMatrix turnMatrix(double a, double b, double c);

// The matrix that turns by `degrees` about the axis the view decides: XY and
// 3D view about z (B = -θ), YZ about x (C = -θ), XZ about y (A = θ). A
// positive angle turns counter-clockwise as seen on the screen.
TurnMatrix turnMatrixForView(int viewMode, double degrees);

Vec3d applyMatrix(const TurnMatrix& m, Vec3d p);
// Q + M (P - Q).
Vec3d turnAbout(const TurnMatrix& m, Vec3d p, Vec3d base);

// Model axes (0 x, 1 y, 2 z) of the view's horizontal and vertical screen
// axes and of the axis across the view: XY and 3D x, y (z); YZ y, z (x);
// XZ x, z (y).
struct ViewAxes {
  int h = 0;
  int v = 1;
  int across = 2;
};
ViewAxes viewAxes(int viewMode);

// Component `axis` (0..2) of a vector.
double component(Vec3d p, int axis);
void setComponent(Vec3d& p, int axis, double value);
Vec3d unitAxis(int axis);

// In-plane axes for circles and texts turned by phi (radians):
// u = cos φ H + sin φ V, w = -sin φ H + cos φ V.
struct PlaneAxes {
  Vec3d u;
  Vec3d w;
};
PlaneAxes viewPlaneAxes(int viewMode, double phi);

// Node transforms of one object.
void moveObject(ModelObject& object, Vec3d delta);
// node = base + (node - base) * factors, per axis.
void scaleObject(ModelObject& object, Vec3d base, Vec3d factors);
void turnObject(ModelObject& object, const TurnMatrix& m, Vec3d base);

// Reflection across the line through `a` and `b` in the view plane (the
// coordinate across the view is kept). False, nothing changed, when the
// line is 1 mm long or less in the view plane (as the mirror preview).
constexpr double MIRROR_MIN_LENGTH_SQUARED = 1e-6;
bool mirrorNodes(std::span<Node> nodes, int viewMode, Vec3d a, Vec3d b);
bool mirrorObject(ModelObject& object, int viewMode, Vec3d a, Vec3d b);

// Reverses the vertex order of the face starting at IDX_START entry
// `startEntry`, keeping its start vertex and its material: the node numbers
// from the entry after the material entry up to the closing entry are
// reversed in place. False when no closed face starts there.
bool invertFace(ModelObject& object, std::size_t startEntry);
// Inverts every closed face of the object.
void invertAllFaces(ModelObject& object);

// Sum of the snapshot sizes of the selected objects of a list stretch.
template <typename Range>
std::size_t selectedSnapshotBytes(const Range& objects) {
  std::size_t total = 0;
  for (const ModelObject& o : objects)
    if (o.isSelected()) total += snapshotSize(o);
  return total;
}

}  // namespace tav
