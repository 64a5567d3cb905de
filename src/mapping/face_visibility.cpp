#include "mapping/face_visibility.h"

#include <algorithm>

namespace tav {

FaceSegment makeFaceSegment(const Vec3d& a, const Vec3d& b) {
  FaceSegment s;
  s.a = a;
  const Vec3d d = b - a;
  s.lengthSq = dot(d, d);
  s.unit = d * (1.0 / std::sqrt(s.lengthSq));
  s.lo = {std::min(a.x, b.x), std::min(a.y, b.y), std::min(a.z, b.z)};
  s.hi = {std::max(a.x, b.x), std::max(a.y, b.y), std::max(a.z, b.z)};
  return s;
}

std::optional<double> segmentCrossing(const FaceRecord& face, const FaceSegment& s, Vec3d* point) {
  if (!boxesOverlap(faceBox(face), s.lo, s.hi, BoxOverlap::Strict)) return std::nullopt;
  const Vec3d n = face.normal();
  // X = A - u (n·A + c) / (n·u); a line parallel to the plane gives no
  // finite X and fails the box test below.
  const double t = (dot(n, s.a) + face.planeD) / dot(n, s.unit);
  const Vec3d x = s.a - s.unit * t;
  if (!(x.x >= s.lo.x && x.x <= s.hi.x && x.y >= s.lo.y && x.y <= s.hi.y && x.z >= s.lo.z &&
        x.z <= s.hi.z))
    return std::nullopt;
  const Vec3d ax = x - s.a;
  const double distanceSq = dot(ax, ax);
  if (!(distanceSq < s.lengthSq)) return std::nullopt;
  if (!pointInFace(face, x)) return std::nullopt;
  if (point) *point = x;
  return distanceSq;
}

bool segmentBlockedPlain(const FaceTable& faces, const Vec3d& a, const Vec3d& b) {
  const FaceSegment s = makeFaceSegment(a, b);
  for (const FaceRecord& f : faces.records)
    if (segmentCrossing(f, s)) return true;
  return false;
}

bool segmentBlocked(const FaceTable& faces, const FaceBvh& hierarchy, const Vec3d& a,
                    const Vec3d& b) {
  const FaceSegment s = makeFaceSegment(a, b);
  return hierarchy.anyFaceOnSegment(
      a, b, [&](std::uint32_t id) { return segmentCrossing(faces[id], s).has_value(); });
}

std::optional<std::uint32_t> nearestCrossedFacePlain(const FaceTable& faces, const Vec3d& a,
                                                     const Vec3d& b) {
  const FaceSegment s = makeFaceSegment(a, b);
  std::optional<std::uint32_t> best;
  double bestSq = 0;
  for (std::uint32_t i = 0; i < faces.size(); ++i) {
    const auto d = segmentCrossing(faces[i], s);
    if (d && (!best || *d < bestSq)) {
      best = i;
      bestSq = *d;
    }
  }
  return best;
}

bool isNearestCrossedFace(const FaceTable& faces, const FaceBvh& hierarchy, std::uint32_t face,
                          const Vec3d& a, const Vec3d& b) {
  const FaceSegment s = makeFaceSegment(a, b);
  // The face itself must pass: most faces fail here without any query.
  Vec3d crossing;
  const auto own = segmentCrossing(faces[face], s, &crossing);
  if (!own) return false;
  // Only a face crossed before it (or as near and earlier in the table, the
  // plain loop's tie rule) takes its place; such a face meets the segment
  // between A and this crossing, so the walk stops there.
  return !hierarchy.anyFaceOnSegment(a, crossing, [&](std::uint32_t id) {
    if (id == face) return false;
    const auto d = segmentCrossing(faces[id], s);
    return d && (*d < *own || (*d == *own && id < face));
  });
}

}  // namespace tav
