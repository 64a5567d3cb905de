// The visibility test of the level calculation: which room faces a segment
// A -> B crosses. A face is crossed when its box overlaps the segment's box
// strictly on all three axes, the line meets its plane at a point X within
// the segment's box, nearer to A than B is, and inside the face.
//
// Two uses: whether any face blocks the direct sound (the first crossed face
// ends the test), and which face is crossed nearest to A (the reflection
// check; of equally near faces the first in table order). Each comes as the
// plain loop over all faces and as a query through the face hierarchy; both
// give the same answer, the plain loop being the oracle.
#pragma once

#include <cstdint>
#include <optional>

#include "model/vec3.h"
#include "reflections/face_bvh.h"
#include "reflections/face_table.h"

namespace tav {

// A segment prepared once for testing many faces.
struct FaceSegment {
  Vec3d a;
  Vec3d unit;  // (B - A) / |B - A|; not finite for a segment of length 0
  double lengthSq = 0;
  Vec3d lo, hi;  // the segment's bounding box
};
FaceSegment makeFaceSegment(const Vec3d& a, const Vec3d& b);

// The squared distance from A to where the segment crosses the face (and
// that point), or nothing when the face does not pass the test.
std::optional<double> segmentCrossing(const FaceRecord& face, const FaceSegment& segment,
                                      Vec3d* point = nullptr);

// Direct-sound use.
bool segmentBlockedPlain(const FaceTable& faces, const Vec3d& a, const Vec3d& b);
bool segmentBlocked(const FaceTable& faces, const FaceBvh& hierarchy, const Vec3d& a,
                    const Vec3d& b);

// Reflection use: the face crossed nearest to A.
std::optional<std::uint32_t> nearestCrossedFacePlain(const FaceTable& faces, const Vec3d& a,
                                                     const Vec3d& b);
// Whether `face` is the one nearestCrossedFacePlain would give.
bool isNearestCrossedFace(const FaceTable& faces, const FaceBvh& hierarchy, std::uint32_t face,
                          const Vec3d& a, const Vec3d& b);

}  // namespace tav
