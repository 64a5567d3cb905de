// A bounding-volume hierarchy over the face table's boxes. It is built from
// boxes and centres only and never owns geometry: leaves hand back face
// numbers (positions in the table the hierarchy was built from). Each query
// gives exactly what the plain loop over all faces gives, in table order; the
// hierarchy only skips faces whose boxes cannot pass the loop's test.
//
// The hierarchy is valid for the table order it was built from: re-sorting the
// table requires a rebuild.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

#include "model/vec3.h"
#include "reflections/face_table.h"
#include "reflections/image_windows.h"

namespace tav {

// An axis-aligned box as the face table stores it.
struct FaceBox {
  std::array<float, 3> lo{};
  std::array<float, 3> hi{};
};
FaceBox faceBox(const FaceRecord& face);

// How a query box must overlap a face's box on every axis.
enum class BoxOverlap {
  Closed,     // query.lo <= face.hi and query.hi >= face.lo
  Strict,     // query.lo < face.hi and query.hi > face.lo
  UpperOpen,  // query.hi >= face.lo and query.lo < face.hi
};

// The loop's box test, shared by the hierarchy's leaves and every caller.
bool boxesOverlap(const FaceBox& face, const Vec3d& lo, const Vec3d& hi, BoxOverlap mode);
// Whether the line along `axis` through (u, v) on the two other axes (in
// ascending axis order) lies strictly inside the face's box on those axes.
bool lineCrossesBox(const FaceBox& face, int axis, double u, double v);

// The accepted face nearest to a ray's origin.
struct RayFaceHit {
  std::uint32_t face = 0;
  Vec3d point;
  double distanceSq = 0;
};

// The ray step's acceptance test of one face: the origin lies in front of the
// face ((p0 - O) · normal < 0), the face's box overlaps the box of the segment
// O -> O + D (UpperOpen), the line meets the face's plane inside the face, and
// that point lies ahead of the origin ((Q - O) · D > 0), so that a face behind
// the ray is never taken. Gives the point and its squared distance from O.
std::optional<RayFaceHit> rayFaceTest(const FaceTable& table, std::uint32_t face,
                                      const Vec3d& origin, const Vec3d& direction,
                                      const Vec3d& segLo, const Vec3d& segHi);

class FaceBvh {
 public:
  FaceBvh() = default;
  explicit FaceBvh(const FaceTable& table) { build(table); }

  // Leaves test the faces' own boxes; inner nodes enclose, besides those
  // boxes, the part of each face's plane over its box on the two projected
  // axes, where the inside test may place a point of a warped face.
  void build(const FaceTable& table);
  std::size_t faceCount() const { return boxes_.size(); }
  std::size_t nodeCount() const { return nodes_.size(); }

  // Faces whose boxes overlap [lo, hi] in the given mode, ascending. `out` is
  // cleared first and reused, so repeated queries do not allocate.
  void facesOverlappingBox(const Vec3d& lo, const Vec3d& hi, BoxOverlap mode,
                           std::vector<std::uint32_t>& out) const;

  // Faces whose boxes a scan line along `axis` through (u, v) crosses
  // strictly inside on the other two axes (lineCrossesBox), ascending.
  void facesCrossingLine(int axis, double u, double v, std::vector<std::uint32_t>& out) const;

  // The face nearest to `origin` among those passing rayFaceTest, skipping
  // `exclude`; of equally near faces the first in table order; only hits
  // with a squared distance below `maxDistanceSq`. `table` must be the table
  // the hierarchy was built from. Nodes are visited nearest first along the
  // ray, and the walk ends once the best hit is nearer than the next node.
  std::optional<RayFaceHit> nearestFaceAlongRay(const FaceTable& table, const Vec3d& origin,
                                                const Vec3d& direction,
                                                std::optional<std::uint32_t> exclude = {},
                                                double maxDistanceSq = 1e300) const;

  // Faces whose reach boxes (the face's box widened to its plane) are not
  // wholly outside any of the half-spaces n · X >= c - margin, ascending.
  void facesInRegion(const HalfSpace* cuts, int count, double margin,
                     std::vector<std::uint32_t>& out) const;

  // Segment queries for visibility tests. `accept(face)` is the caller's test
  // of one face; it may accept a face only at a point where the closed segment
  // A -> B meets the face's plane inside the face (pointInFace), as every
  // blocking test does. Faces whose boxes the segment cannot meet are never
  // offered; the others are offered in no particular order.
  //
  // Whether any face passes `accept(face) -> bool`.
  template <typename Accept>
  bool anyFaceOnSegment(const Vec3d& a, const Vec3d& b, Accept&& accept) const;

 private:
  struct BvhNode {
    std::array<float, 3> lo{};
    std::array<float, 3> hi{};
    std::uint32_t first = 0;  // leaf: first position in ids_; inner: left child
    std::uint32_t count = 0;  // leaf: number of faces; 0 for an inner node
  };
  static constexpr int MAX_DEPTH = 56;  // bounds the traversal stack
  static constexpr std::uint32_t MAX_LEAF = 4;

  // A line O + t·D walked over t in [t0, t1], against boxes widened by
  // `margin` (which covers the rounding of the plane intersection, so that a
  // point a face accepts is never outside its widened box). Per axis the
  // slab test reads the box side met first (`nearHi`) and widens the
  // parameters by margin · |1/D|; an axis with D = 0 takes 1/D = ±1e300, so
  // the same arithmetic tells whether the origin lies within the slab.
  struct Walk {
    double o[3]{}, inv[3]{}, widen[3]{};
    bool nearHi[3]{};
    double t0 = 0, t1 = 0;
    double len = 0;     // |D|: distances along the walk are t·len
    double margin = 0;  // metres
  };
  Walk makeWalk(const Vec3d& origin, const Vec3d& direction, double t0, double t1) const;
  // Where the walk enters the widened box, or false when it misses it.
  static bool enters(const Walk& w, const std::array<float, 3>& lo, const std::array<float, 3>& hi,
                     double& tEnter) {
    double te = w.t0, tx = w.t1;
    for (int a = 0; a < 3; ++a) {
      const double nearSide = w.nearHi[a] ? hi[a] : lo[a];
      const double farSide = w.nearHi[a] ? lo[a] : hi[a];
      const double tn = (nearSide - w.o[a]) * w.inv[a] - w.widen[a];
      const double tf = (farSide - w.o[a]) * w.inv[a] + w.widen[a];
      te = tn > te ? tn : te;
      tx = tf < tx ? tf : tx;
    }
    tEnter = te;
    return te <= tx;
  }
  // Lower bound of the squared distance from O of a point found beyond tEnter.
  static double boundSq(const Walk& w, double tEnter);
  static bool finite(const Vec3d& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
  }

  // Visits the faces of the leaves the walk meets, nearest node first, and
  // skips a node whose bound exceeds `bestSq` (which `leaf` lowers).
  // `leaf(position, tEnter)` gets a position in ids_ and the node's entry.
  template <typename Leaf>
  void walkNearest(const Walk& w, const double& bestSq, Leaf&& leaf) const;

  void buildNode(std::uint32_t node, std::uint32_t first, std::uint32_t count, int depth);

  std::vector<FaceBox> boxes_;      // the faces' own boxes (leaf tests)
  std::vector<FaceBox> reach_;      // boxes enclosing every point a face can accept
  std::vector<FaceBox> leafReach_;  // reach_ in ids_ order, for the leaves' walks
  // What the ray step's first tests read, in ids_ order (one cache line).
  struct LeafFace {
    float p0[3];
    float normal[3];
    float planeD;
    FaceBox box;
  };
  std::vector<LeafFace> leafFaces_;
  std::vector<std::array<float, 3>> centres_;
  std::vector<BvhNode> nodes_;
  std::vector<std::uint32_t> ids_;
};

template <typename Leaf>
void FaceBvh::walkNearest(const Walk& w, const double& bestSq, Leaf&& leaf) const {
  struct Pending {
    std::uint32_t node;
    double bound;
  };
  Pending stack[MAX_DEPTH + 8];
  int top = 0;
  double t = 0;
  if (nodes_.empty() || !enters(w, nodes_[0].lo, nodes_[0].hi, t)) return;
  stack[top++] = {0, boundSq(w, t)};
  while (top > 0) {
    const Pending p = stack[--top];
    // Equal bounds are still visited: a face as near as the best one wins
    // when it comes first in table order.
    if (p.bound > bestSq) continue;
    const BvhNode& n = nodes_[p.node];
    if (n.count > 0) {
      for (std::uint32_t k = n.first; k < n.first + n.count; ++k) leaf(k);
      continue;
    }
    Pending children[2];
    int live = 0;
    for (std::uint32_t c = n.first; c < n.first + 2; ++c) {
      if (!enters(w, nodes_[c].lo, nodes_[c].hi, t)) continue;
      const double b = boundSq(w, t);
      if (b <= bestSq) children[live++] = {c, b};
    }
    if (live == 2 && children[0].bound < children[1].bound) std::swap(children[0], children[1]);
    for (int c = 0; c < live; ++c) stack[top++] = children[c];  // nearer one popped first
  }
}

template <typename Accept>
bool FaceBvh::anyFaceOnSegment(const Vec3d& a, const Vec3d& b, Accept&& accept) const {
  if (!finite(a) || !finite(b)) {
    for (std::uint32_t f = 0; f < boxes_.size(); ++f)
      if (accept(f)) return true;
    return false;
  }
  if (nodes_.empty()) return false;
  const Walk w = makeWalk(a, b - a, 0.0, 1.0);
  std::uint32_t stack[MAX_DEPTH + 8];
  int top = 0;
  stack[top++] = 0;
  double t = 0;
  while (top > 0) {
    const BvhNode& n = nodes_[stack[--top]];
    if (!enters(w, n.lo, n.hi, t)) continue;
    if (n.count > 0) {
      for (std::uint32_t k = n.first; k < n.first + n.count; ++k)
        if (enters(w, leafReach_[k].lo, leafReach_[k].hi, t) && accept(ids_[k])) return true;
    } else {
      stack[top++] = n.first + 1;
      stack[top++] = n.first;
    }
  }
  return false;
}

}  // namespace tav
