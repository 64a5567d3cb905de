// The face hierarchy answers the queries of the room check, the ray step and
// the visibility tests exactly as the plain loop over all faces does. The
// loops below are the oracle.
#include "reflections/face_bvh.h"

#include <gtest/gtest.h>

#include <random>

#include "model/object_list.h"
#include "reflections/face_table.h"
#include "support/model_builders.h"

namespace tav {
namespace {

std::vector<std::uint32_t> loopCrossing(const FaceTable& t, int axis, double u, double v) {
  std::vector<std::uint32_t> out;
  for (std::uint32_t i = 0; i < t.size(); ++i)
    if (lineCrossesBox(faceBox(t[i]), axis, u, v)) out.push_back(i);
  return out;
}

std::optional<RayFaceHit> loopNearest(const FaceTable& t, const Vec3d& o, const Vec3d& d,
                                      std::optional<std::uint32_t> exclude, double maxSq) {
  const Vec3d e = o + d;
  const Vec3d lo{std::min(o.x, e.x), std::min(o.y, e.y), std::min(o.z, e.z)};
  const Vec3d hi{std::max(o.x, e.x), std::max(o.y, e.y), std::max(o.z, e.z)};
  std::optional<RayFaceHit> best;
  double bestSq = maxSq;
  for (std::uint32_t i = 0; i < t.size(); ++i) {
    if (exclude && *exclude == i) continue;
    const auto hit = rayFaceTest(t, i, o, d, lo, hi);
    if (hit && hit->distanceSq < bestSq) {
      best = hit;
      bestSq = hit->distanceSq;
    }
  }
  return best;
}

// A random room: boxes (some sharing planes, so boxes touch and coincide, and
// rays meet equally near faces), planar polygons at random orientations
// (faces behind a ray's origin whose boxes reach ahead of it), warped
// quadrilaterals whose plane leaves the box of their nodes, and slivers.
void randomRoom(std::mt19937& rng, ObjectList& list, int faces) {
  std::uniform_real_distribution<double> pos(-20, 20), size(0.05, 8), unit(-1, 1);
  std::uniform_int_distribution<int> kind(0, 9);
  int made = 0;
  while (made < faces) {
    const int k = kind(rng);
    if (k < 3) {
      // Whole-metre boxes so that faces meet on common planes and edges.
      const Vec3d lo{std::floor(pos(rng)), std::floor(pos(rng)), std::floor(pos(rng) / 4)};
      const Vec3d hi = lo + Vec3d{std::ceil(size(rng)), std::ceil(size(rng)), std::ceil(size(rng))};
      test::BoxOptions opt;
      opt.solid = k == 0;
      if (k == 2) opt.outward.insert(static_cast<int>(rng() % 6));
      test::addBox(list, lo, hi, opt);
      made += 6;
    } else {
      const Vec3d c{pos(rng), pos(rng), pos(rng) / 2};
      Vec3d a{unit(rng), unit(rng), unit(rng)}, b{unit(rng), unit(rng), unit(rng)};
      const double s = size(rng);
      std::vector<Vec3d> v;
      const int n = 3 + static_cast<int>(rng() % 4);
      for (int i = 0; i < n; ++i) {
        const double ang = 6.283185307179586 * i / n;
        Vec3d p = c + a * (s * std::cos(ang)) + b * (s * std::sin(ang));
        if (k == 9) p = p + Vec3d{0, 0, unit(rng) * s * 0.5};  // warped
        v.push_back(p);
      }
      if (k == 8) v = {c, c + a * s, c + a * s + b * 0.01};  // sliver
      test::addFace(list, v);
      ++made;
    }
  }
}

// A query coordinate: often exactly a face-box coordinate, to probe the box
// edges.
double pick(std::mt19937& rng, const FaceTable& t, int axis,
            std::uniform_real_distribution<double>& d) {
  if (rng() % 3 == 0 && !t.empty()) {
    const FaceRecord& f = t[rng() % t.size()];
    return rng() % 2 ? f.boundsMin(axis) : f.boundsMax(axis);
  }
  return d(rng);
}

// The blocking test of a visibility check: the segment's box overlaps the
// face's box strictly, the line meets the face's plane inside the face within
// the segment's box, nearer to A than B is.
bool blocks(const FaceTable& t, std::uint32_t f, const Vec3d& a, const Vec3d& b) {
  const Vec3d lo{std::min(a.x, b.x), std::min(a.y, b.y), std::min(a.z, b.z)};
  const Vec3d hi{std::max(a.x, b.x), std::max(a.y, b.y), std::max(a.z, b.z)};
  if (!boxesOverlap(faceBox(t[f]), lo, hi, BoxOverlap::Strict)) return false;
  const auto hit = intersectFacePlane(t[f], a, b - a);
  if (!hit || !hit->inside) return false;
  const Vec3d& x = hit->point;
  if (x.x < lo.x || x.x > hi.x || x.y < lo.y || x.y > hi.y || x.z < lo.z || x.z > hi.z)
    return false;
  return dot(x - a, x - a) < dot(b - a, b - a);
}

TEST(FaceBvh, QueriesMatchThePlainLoopOverManyRandomRooms) {
  std::mt19937 rng(20240611);
  std::uniform_real_distribution<double> coord(-25, 25), unit(-1, 1);
  std::vector<std::uint32_t> got;
  int nonEmptyLine = 0, rayHits = 0, blocked = 0;
  for (int room = 0; room < 60; ++room) {
    ObjectList list;
    randomRoom(rng, list, 1 + static_cast<int>(rng() % 400));
    FaceTable t;
    ASSERT_TRUE(buildFaceTable(list, 1, t).ok());
    if (room % 2) sortFacesForReflections(t);
    const FaceBvh bvh(t);
    if (t.empty()) continue;  // the empty table has a test of its own
    // Segment ends often on faces (first nodes, box corners), where segments
    // touch planes and edges exactly.
    auto end = [&] {
      const int k = static_cast<int>(rng() % 3);
      if (k == 0) return Vec3d{coord(rng), coord(rng), coord(rng) / 2};
      const FaceRecord& f = t[rng() % t.size()];
      if (k == 1) return f.p0();
      return Vec3d{f.bounds[0], f.bounds[3], f.bounds[rng() % 2 ? 4 : 5]};
    };

    for (int q = 0; q < 150; ++q) {
      const int axis = q % 3;
      const auto [b, c] = std::array<int, 2>{axis == 0 ? 1 : 0, axis == 2 ? 1 : 2};
      const double u = pick(rng, t, b, coord), v = pick(rng, t, c, coord);
      bvh.facesCrossingLine(axis, u, v, got);
      const auto want = loopCrossing(t, axis, u, v);
      ASSERT_EQ(got, want) << "room " << room << " line " << q;
      nonEmptyLine += !want.empty();

      const Vec3d o{coord(rng), coord(rng), coord(rng) / 2};
      Vec3d d{unit(rng), unit(rng), unit(rng)};
      if (q % 7 == 0) d = {0, 0, q % 2 ? 1.0 : -1.0};  // axis-parallel rays
      d = d * (1000.0 / length(d));
      std::optional<std::uint32_t> exclude;
      if (q % 4 == 0) exclude = static_cast<std::uint32_t>(rng() % t.size());
      const double maxSq = q % 6 == 0 ? 100.0 : 1e300;
      const auto fastRay = bvh.nearestFaceAlongRay(t, o, d, exclude, maxSq);
      const auto slowRay = loopNearest(t, o, d, exclude, maxSq);
      ASSERT_EQ(fastRay.has_value(), slowRay.has_value()) << "room " << room << " ray " << q;
      if (slowRay) {
        EXPECT_EQ(fastRay->face, slowRay->face);
        EXPECT_EQ(fastRay->distanceSq, slowRay->distanceSq);
        ++rayHits;
      }

      const Vec3d a = end(), e = end();
      const auto skip = static_cast<std::uint32_t>(rng() % t.size());
      auto accept = [&](std::uint32_t f) { return f != skip && blocks(t, f, a, e); };
      bool any = false;
      for (std::uint32_t f = 0; f < t.size() && !any; ++f) any = accept(f);
      EXPECT_EQ(bvh.anyFaceOnSegment(a, e, accept), any) << "room " << room << " segment " << q;
      blocked += any;
    }
  }
  // The random queries must exercise both outcomes of every query.
  EXPECT_GT(nonEmptyLine, 500);
  EXPECT_GT(rayHits, 500);
  EXPECT_GT(blocked, 1000);
  EXPECT_LT(blocked, 60 * 150 - 1000);
}

TEST(FaceBvh, EmptyTableAnswersNothing) {
  FaceTable t;
  FaceBvh bvh(t);
  std::vector<std::uint32_t> got{7};
  bvh.facesCrossingLine(2, 0, 0, got);
  EXPECT_TRUE(got.empty());
  EXPECT_FALSE(bvh.nearestFaceAlongRay(t, {0, 0, 0}, {1, 0, 0}));
}

}  // namespace
}  // namespace tav
