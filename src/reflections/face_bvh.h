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
#include <cstdint>
#include <optional>
#include <vector>

#include "model/vec3.h"
#include "reflections/face_table.h"

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
// O -> O + D (UpperOpen), and the line meets the face's plane inside the face.
// Gives the point and its squared distance from O.
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
  // the hierarchy was built from.
  std::optional<RayFaceHit> nearestFaceAlongRay(const FaceTable& table, const Vec3d& origin,
                                                const Vec3d& direction,
                                                std::optional<std::uint32_t> exclude = {},
                                                double maxDistanceSq = 1e300) const;

 private:
  struct BvhNode {
    std::array<float, 3> lo{};
    std::array<float, 3> hi{};
    std::uint32_t first = 0;  // leaf: first position in ids_; inner: left child
    std::uint32_t count = 0;  // leaf: number of faces; 0 for an inner node
  };
  static constexpr int MAX_DEPTH = 56;  // bounds the traversal stack
  static constexpr std::uint32_t MAX_LEAF = 4;

  void buildNode(std::uint32_t node, std::uint32_t first, std::uint32_t count, int depth);

  std::vector<FaceBox> boxes_;  // the faces' own boxes (leaf tests)
  std::vector<FaceBox> reach_;  // boxes enclosing every point a face can accept
  std::vector<std::array<float, 3>> centres_;
  std::vector<BvhNode> nodes_;
  std::vector<std::uint32_t> ids_;
};

}  // namespace tav
