#include "reflections/face_bvh.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tav {

namespace {

double comp(const Vec3d& v, int a) { return a == 0 ? v.x : (a == 1 ? v.y : v.z); }

float halfArea(const std::array<float, 3>& lo, const std::array<float, 3>& hi) {
  const float dx = hi[0] - lo[0], dy = hi[1] - lo[1], dz = hi[2] - lo[2];
  return dx * dy + dy * dz + dz * dx;
}

void grow(std::array<float, 3>& lo, std::array<float, 3>& hi, const FaceBox& b) {
  for (int a = 0; a < 3; ++a) {
    lo[a] = std::min(lo[a], b.lo[a]);
    hi[a] = std::max(hi[a], b.hi[a]);
  }
}

// The face's box widened along the projection axis to the face's plane over
// the box's rectangle on the two projected axes (a warped polygon's plane may
// leave the box of its nodes there), rounded outwards.
FaceBox reachBox(const FaceRecord& f) {
  FaceBox r = faceBox(f);
  const int k = std::clamp(f.projAxis, 0, 2);
  const auto [i, j] = projectedAxes(k);
  const double nk = f.areaVector[k];
  if (nk == 0) return r;
  double lo = r.lo[k], hi = r.hi[k];
  for (int c = 0; c < 4; ++c) {
    const double a = (c & 1) ? r.hi[i] : r.lo[i];
    const double b = (c & 2) ? r.hi[j] : r.lo[j];
    const double x = -(f.planeD + f.areaVector[i] * a + f.areaVector[j] * b) / nk;
    if (std::isfinite(x)) {
      lo = std::min(lo, x);
      hi = std::max(hi, x);
    }
  }
  r.lo[k] = std::nextafter(static_cast<float>(lo), -std::numeric_limits<float>::infinity());
  r.hi[k] = std::nextafter(static_cast<float>(hi), std::numeric_limits<float>::infinity());
  return r;
}

}  // namespace

FaceBox faceBox(const FaceRecord& face) {
  return {{face.bounds[0], face.bounds[2], face.bounds[4]},
          {face.bounds[1], face.bounds[3], face.bounds[5]}};
}

bool boxesOverlap(const FaceBox& f, const Vec3d& lo, const Vec3d& hi, BoxOverlap mode) {
  for (int a = 0; a < 3; ++a) {
    const double ql = comp(lo, a), qh = comp(hi, a);
    switch (mode) {
      case BoxOverlap::Closed:
        if (!(ql <= f.hi[a] && qh >= f.lo[a])) return false;
        break;
      case BoxOverlap::Strict:
        if (!(ql < f.hi[a] && qh > f.lo[a])) return false;
        break;
      case BoxOverlap::UpperOpen:
        if (!(qh >= f.lo[a] && ql < f.hi[a])) return false;
        break;
    }
  }
  return true;
}

bool lineCrossesBox(const FaceBox& f, int axis, double u, double v) {
  const int b = axis == 0 ? 1 : 0;
  const int c = axis == 2 ? 1 : 2;
  return u > f.lo[b] && u < f.hi[b] && v > f.lo[c] && v < f.hi[c];
}

std::optional<RayFaceHit> rayFaceTest(const FaceTable& table, std::uint32_t face,
                                      const Vec3d& origin, const Vec3d& direction,
                                      const Vec3d& segLo, const Vec3d& segHi) {
  const FaceRecord& f = table[face];
  if (!(dot(f.p0() - origin, f.normal()) < 0)) return std::nullopt;
  if (!boxesOverlap(faceBox(f), segLo, segHi, BoxOverlap::UpperOpen)) return std::nullopt;
  const auto q = facePlanePoint(f, origin, direction);
  if (!q) return std::nullopt;
  const Vec3d d = *q - origin;
  if (!(dot(d, direction) > 0) || !pointInFace(f, *q)) return std::nullopt;
  return RayFaceHit{face, *q, dot(d, d)};
}

void FaceBvh::build(const FaceTable& table) {
  const std::size_t n = table.size();
  boxes_.resize(n);
  reach_.resize(n);
  centres_.resize(n);
  ids_.resize(n);
  for (std::size_t i = 0; i < n; ++i) {
    boxes_[i] = faceBox(table[i]);
    reach_[i] = reachBox(table[i]);
    for (int a = 0; a < 3; ++a) {
      // Keeps the build's orderings strict for boxes reaching infinity.
      const float c = 0.5f * (boxes_[i].lo[a] + boxes_[i].hi[a]);
      centres_[i][a] = std::isnan(c) ? 0.0f : c;
    }
    ids_[i] = static_cast<std::uint32_t>(i);
  }
  nodes_.clear();
  leafReach_.clear();
  leafFaces_.clear();
  if (n == 0) return;
  nodes_.reserve(2 * n);
  nodes_.emplace_back();
  buildNode(0, 0, static_cast<std::uint32_t>(n), 0);
  leafReach_.resize(n);
  leafFaces_.resize(n);
  for (std::size_t k = 0; k < n; ++k) {
    const FaceRecord& f = table[ids_[k]];
    leafReach_[k] = reach_[ids_[k]];
    leafFaces_[k] = {{f.firstNode[0], f.firstNode[1], f.firstNode[2]},
                     {f.areaVector[0], f.areaVector[1], f.areaVector[2]},
                     f.planeD,
                     boxes_[ids_[k]]};
  }
}

// Top-down build with a full sweep of the surface-area heuristic over the
// centres on each axis. Sorting by (centre, face number) keeps the build
// deterministic.
void FaceBvh::buildNode(std::uint32_t node, std::uint32_t first, std::uint32_t count, int depth) {
  std::array<float, 3> lo{std::numeric_limits<float>::infinity(),
                          std::numeric_limits<float>::infinity(),
                          std::numeric_limits<float>::infinity()};
  std::array<float, 3> hi{-lo[0], -lo[1], -lo[2]};
  for (std::uint32_t k = first; k < first + count; ++k) grow(lo, hi, reach_[ids_[k]]);
  nodes_[node].lo = lo;
  nodes_[node].hi = hi;
  if (count <= MAX_LEAF || depth >= MAX_DEPTH) {
    nodes_[node].first = first;
    nodes_[node].count = count;
    return;
  }

  auto begin = ids_.begin() + first;
  auto end = begin + count;
  std::vector<float> rightCost(count);
  float bestCost = std::numeric_limits<float>::infinity();
  int bestAxis = 0;
  std::uint32_t bestSplit = count / 2;
  for (int axis = 0; axis < 3; ++axis) {
    std::sort(begin, end, [this, axis](std::uint32_t a, std::uint32_t b) {
      if (centres_[a][axis] != centres_[b][axis]) return centres_[a][axis] < centres_[b][axis];
      return a < b;
    });
    std::array<float, 3> rl = {std::numeric_limits<float>::infinity(),
                               std::numeric_limits<float>::infinity(),
                               std::numeric_limits<float>::infinity()};
    std::array<float, 3> rh{-rl[0], -rl[1], -rl[2]};
    for (std::uint32_t k = count; k-- > 1;) {
      grow(rl, rh, reach_[*(begin + k)]);
      rightCost[k] = halfArea(rl, rh) * static_cast<float>(count - k);
    }
    std::array<float, 3> ll = {std::numeric_limits<float>::infinity(),
                               std::numeric_limits<float>::infinity(),
                               std::numeric_limits<float>::infinity()};
    std::array<float, 3> lh{-ll[0], -ll[1], -ll[2]};
    for (std::uint32_t k = 1; k < count; ++k) {
      grow(ll, lh, reach_[*(begin + k - 1)]);
      const float cost = halfArea(ll, lh) * static_cast<float>(k) + rightCost[k];
      if (cost < bestCost) {
        bestCost = cost;
        bestAxis = axis;
        bestSplit = k;
      }
    }
  }
  if (bestAxis != 2) {
    std::sort(begin, end, [this, bestAxis](std::uint32_t a, std::uint32_t b) {
      if (centres_[a][bestAxis] != centres_[b][bestAxis])
        return centres_[a][bestAxis] < centres_[b][bestAxis];
      return a < b;
    });
  }
  const auto left = static_cast<std::uint32_t>(nodes_.size());
  nodes_.emplace_back();
  nodes_.emplace_back();
  nodes_[node].first = left;
  nodes_[node].count = 0;
  buildNode(left, first, bestSplit, depth + 1);
  buildNode(left + 1, first + bestSplit, count - bestSplit, depth + 1);
}

void FaceBvh::facesOverlappingBox(const Vec3d& lo, const Vec3d& hi, BoxOverlap mode,
                                  std::vector<std::uint32_t>& out) const {
  out.clear();
  if (nodes_.empty()) return;
  std::uint32_t stack[MAX_DEPTH + 8];
  int top = 0;
  stack[top++] = 0;
  while (top > 0) {
    const BvhNode& n = nodes_[stack[--top]];
    bool overlaps = true;
    for (int a = 0; a < 3 && overlaps; ++a)
      overlaps = comp(lo, a) <= n.hi[a] && comp(hi, a) >= n.lo[a];
    if (!overlaps) continue;
    if (n.count > 0) {
      for (std::uint32_t k = n.first; k < n.first + n.count; ++k)
        if (boxesOverlap(boxes_[ids_[k]], lo, hi, mode)) out.push_back(ids_[k]);
    } else {
      stack[top++] = n.first;
      stack[top++] = n.first + 1;
    }
  }
  std::sort(out.begin(), out.end());
}

void FaceBvh::facesCrossingLine(int axis, double u, double v,
                                std::vector<std::uint32_t>& out) const {
  out.clear();
  if (nodes_.empty()) return;
  const int b = axis == 0 ? 1 : 0;
  const int c = axis == 2 ? 1 : 2;
  std::uint32_t stack[MAX_DEPTH + 8];
  int top = 0;
  stack[top++] = 0;
  while (top > 0) {
    const BvhNode& n = nodes_[stack[--top]];
    if (!(u >= n.lo[b] && u <= n.hi[b] && v >= n.lo[c] && v <= n.hi[c])) continue;
    if (n.count > 0) {
      for (std::uint32_t k = n.first; k < n.first + n.count; ++k)
        if (lineCrossesBox(boxes_[ids_[k]], axis, u, v)) out.push_back(ids_[k]);
    } else {
      stack[top++] = n.first;
      stack[top++] = n.first + 1;
    }
  }
  std::sort(out.begin(), out.end());
}

void FaceBvh::facesInRegion(const HalfSpace* cuts, int count, double margin,
                            std::vector<std::uint32_t>& out) const {
  out.clear();
  if (nodes_.empty()) return;
  auto outside = [&](const std::array<float, 3>& lo, const std::array<float, 3>& hi) {
    for (int c = 0; c < count; ++c) {
      const HalfSpace& h = cuts[c];
      // The box corner furthest along n.
      const double far = (h.n.x > 0 ? hi[0] : lo[0]) * h.n.x + (h.n.y > 0 ? hi[1] : lo[1]) * h.n.y +
                         (h.n.z > 0 ? hi[2] : lo[2]) * h.n.z;
      if (far < h.c - margin) return true;
    }
    return false;
  };
  std::uint32_t stack[MAX_DEPTH + 8];
  int top = 0;
  stack[top++] = 0;
  while (top > 0) {
    const BvhNode& n = nodes_[stack[--top]];
    if (outside(n.lo, n.hi)) continue;
    if (n.count > 0) {
      for (std::uint32_t k = n.first; k < n.first + n.count; ++k)
        if (!outside(leafReach_[k].lo, leafReach_[k].hi)) out.push_back(ids_[k]);
    } else {
      stack[top++] = n.first;
      stack[top++] = n.first + 1;
    }
  }
  std::sort(out.begin(), out.end());
}

FaceBvh::Walk FaceBvh::makeWalk(const Vec3d& origin, const Vec3d& direction, double t0,
                                double t1) const {
  Walk w;
  double scale = 0;
  for (int a = 0; a < 3; ++a) {
    scale = std::max(scale, std::fabs(comp(origin, a)));
    if (!nodes_.empty())
      scale =
          std::max({scale, std::fabs(double{nodes_[0].lo[a]}), std::fabs(double{nodes_[0].hi[a]})});
  }
  w.margin = 1e-6 * (1.0 + scale);
  for (int a = 0; a < 3; ++a) {
    const double d = comp(direction, a);
    w.o[a] = comp(origin, a);
    w.inv[a] = d != 0 ? 1.0 / d : (std::signbit(d) ? -1e300 : 1e300);
    w.nearHi[a] = w.inv[a] < 0;
    w.widen[a] = w.margin * std::fabs(w.inv[a]);
  }
  w.len = length(direction);
  // Points found a margin before the start still count as at the start.
  w.t0 = w.len > 0 ? t0 - w.margin / w.len : t0;
  w.t1 = w.len > 0 ? t1 + w.margin / w.len : t1;
  return w;
}

double FaceBvh::boundSq(const Walk& w, double tEnter) {
  const double d = std::max(0.0, tEnter) * w.len - 2 * w.margin;
  return d > 0 ? d * d : 0.0;
}

std::optional<RayFaceHit> FaceBvh::nearestFaceAlongRay(const FaceTable& table, const Vec3d& origin,
                                                       const Vec3d& direction,
                                                       std::optional<std::uint32_t> exclude,
                                                       double maxDistanceSq) const {
  if (nodes_.empty() || table.size() != boxes_.size()) return std::nullopt;
  if (!finite(origin) || !finite(direction)) return std::nullopt;  // no face passes the test
  const Vec3d end = origin + direction;
  const Vec3d segLo{std::min(origin.x, end.x), std::min(origin.y, end.y),
                    std::min(origin.z, end.z)};
  const Vec3d segHi{std::max(origin.x, end.x), std::max(origin.y, end.y),
                    std::max(origin.z, end.z)};

  // Accepted points lie ahead of the origin, on the ray's half-line; any of
  // them may lie beyond O + D, so the walk does not end there.
  const Walk w = makeWalk(origin, direction, 0.0, std::numeric_limits<double>::infinity());
  // The unit direction exactly as facePlanePoint computes it.
  const double len = length(direction);
  if (!(len >= 0.001)) return std::nullopt;
  const Vec3d u = direction * (1.0 / len);
  std::optional<RayFaceHit> best;
  double bestSq = maxDistanceSq;
  walkNearest(w, bestSq, [&](std::uint32_t k) {
    const std::uint32_t id = ids_[k];
    if (exclude && *exclude == id) return;
    // rayFaceTest in steps, the distance checked before the polygon walk.
    const LeafFace& f = leafFaces_[k];
    const Vec3d n{f.normal[0], f.normal[1], f.normal[2]};
    const Vec3d p0{f.p0[0], f.p0[1], f.p0[2]};
    if (!(dot(p0 - origin, n) < 0)) return;
    if (!boxesOverlap(f.box, segLo, segHi, BoxOverlap::UpperOpen)) return;
    const double denom = dot(n, u);
    if (denom == 0) return;
    const double t = (dot(n, origin) + f.planeD) / denom;
    const Vec3d q = origin - u * t;
    if (!std::isfinite(q.x) || !std::isfinite(q.y) || !std::isfinite(q.z)) return;
    const Vec3d d = q - origin;
    if (!(dot(d, direction) > 0)) return;
    const double dsq = dot(d, d);
    if (!(dsq < bestSq || (best && dsq == bestSq && id < best->face))) return;
    if (!pointInFace(table[id], q)) return;
    best = RayFaceHit{id, q, dsq};
    bestSq = dsq;
  });
  return best;
}

}  // namespace tav
