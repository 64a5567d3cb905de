// Convex windows of the image-source search. A node of the image-source tree
// (an image I of the source behind face f) can only lead to a path whose
// reflection point on f lies in the part of f that a straight path from the
// source through the earlier reflections can reach: its window. A child face
// g keeps a non-empty window only when g meets the beam from I through the
// parent's window, beyond the parent's face. An empty window proves that no
// path through the node exists, so the search skips the node and its
// subtree.
//
// Every window is a superset of the exact one: faces enter as the convex
// hull of their inside region on their plane, and each cut is widened by a
// margin far above the rounding of the plane intersections. Skipping nodes
// by it never drops a path the plain search finds.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "model/vec3.h"
#include "reflections/face_table.h"

namespace tav {

// n · X >= c - margin keeps X. `n` is a unit vector.
struct HalfSpace {
  Vec3d n;
  double c = 0;
};

// A convex polygon on a face's plane. `bounded` false stands for the whole
// face (a window whose cuts would overflow the fixed capacity).
struct ImageWindow {
  static constexpr int CAPACITY = 32;
  int count = 0;
  bool bounded = false;
  std::array<Vec3d, CAPACITY> v;
};

// Per face of a table: the convex hull of the region pointInFace accepts on
// the face's plane (the nodes projected along projAxis onto the plane).
class FaceHulls {
 public:
  explicit FaceHulls(const FaceTable& table);
  // The face's hull as a window (unbounded when the face has more hull
  // corners than a window holds, or fewer than three).
  const ImageWindow& hull(std::uint32_t face) const { return hulls_[face]; }
  // Absolute margin of every cut (metres): grows with the room's extent.
  double margin() const { return margin_; }

 private:
  std::vector<ImageWindow> hulls_;
  double margin_ = 0;
};

// The cuts a child window must pass: the sides of the beam from `apex`
// through `window` (on `face`), and the front side of `face`. Returns the
// number of half-spaces written (at most CAPACITY + 1); only the front side
// when the window is unbounded or the apex lies (nearly) on the face's plane.
int beamHalfSpaces(const FaceRecord& face, const Vec3d& apex, const ImageWindow& window,
                   double margin, std::array<HalfSpace, ImageWindow::CAPACITY + 1>& out);

// Copies the corners in use only.
void copyWindow(const ImageWindow& from, ImageWindow& to);

// `out` = `hull` cut by the half-spaces. False when the result is empty.
bool clipWindow(const ImageWindow& hull, const HalfSpace* cuts, int count, double margin,
                ImageWindow& out);

}  // namespace tav
