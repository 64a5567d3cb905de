// The visibility test: named segment cases against one face and the tie rule
// of the nearest crossed face. The hierarchy queries meet the plain loop in
// the random-hall comparison of the level-time run.
#include "mapping/face_visibility.h"

#include <gtest/gtest.h>

#include "mapping_fixtures.h"

namespace tav {
namespace {

struct SegmentCase {
  const char* name;
  Vec3d a, b;
  bool crosses;
  double distanceSq;
};

// The square x = 2, -1 <= y <= 1, 0 <= z <= 3 (height and width differ).
const SegmentCase SEGMENT_CASES[] = {
    {"through_the_middle", {0, 0, 1}, {4, 0, 1}, true, 4.0},
    {"slanted", {0, 0, 0.5}, {4, 0.5, 1.5}, true, 4.0 + 0.0625 + 0.25},
    {"beside_the_face", {0, 1.5, 1}, {4, 1.5, 1}, false, 0},
    {"stops_short", {0, 0, 1}, {1.9, 0, 1}, false, 0},
    // The face's own box meets the segment's box only at x = 2: not strictly.
    {"ends_on_the_plane", {0, 0, 1}, {2, 0, 1}, false, 0},
    {"parallel_in_front", {1, -0.5, 1}, {1, 0.5, 2}, false, 0},
    {"zero_length", {2, 0, 1}, {2, 0, 1}, false, 0},
};

class SegmentAgainstFace : public testing::TestWithParam<SegmentCase> {};

TEST_P(SegmentAgainstFace, CrossingAndDistance) {
  const SegmentCase& c = GetParam();
  Project project;
  maptest::addFace(project.objects, {{2, -1, 0}, {2, 1, 0}, {2, 1, 3}, {2, -1, 3}});
  FaceTable faces;
  buildFaceTable(project, faces);
  ASSERT_EQ(faces.size(), 1u);
  const auto d = segmentCrossing(faces[0], makeFaceSegment(c.a, c.b));
  ASSERT_EQ(d.has_value(), c.crosses);
  if (d) {
    EXPECT_NEAR(*d, c.distanceSq, 1e-9);
  }
  EXPECT_EQ(segmentBlockedPlain(faces, c.a, c.b), c.crosses);
}

INSTANTIATE_TEST_SUITE_P(FaceVisibility, SegmentAgainstFace, testing::ValuesIn(SEGMENT_CASES),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FaceVisibility, ASegmentEndingOnATiltedFaceDoesNotCrossIt) {
  // The face on the plane x + z = 2, whose box the segment's box overlaps
  // strictly; the segment along x ends on it at (1.5, 0, 0.5), as a reflected
  // path ends on its face.
  Project project;
  maptest::addFace(project.objects, {{0, -1, 2}, {2, -1, 0}, {2, 1, 0}, {0, 1, 2}});
  FaceTable faces;
  buildFaceTable(project, faces);
  ASSERT_EQ(faces.size(), 1u);
  EXPECT_FALSE(segmentCrossing(faces[0], makeFaceSegment({0, 0, 0.5}, {1.5, 0, 0.5})));
  const auto beyond = segmentCrossing(faces[0], makeFaceSegment({0, 0, 0.5}, {1.6, 0, 0.5}));
  ASSERT_TRUE(beyond);
  EXPECT_DOUBLE_EQ(*beyond, 2.25);
}

TEST(FaceVisibility, EquallyNearFacesLeaveTheFirstInTableOrder) {
  Project project;
  // Faces 0 and 2 are the same square; face 1 lies farther along.
  const std::vector<Vec3d> near = {{2, -1, 0}, {2, 1, 0}, {2, 1, 3}, {2, -1, 3}};
  maptest::addFace(project.objects, near);
  maptest::addFace(project.objects, {{3, -1, 0}, {3, 1, 0}, {3, 1, 3}, {3, -1, 3}});
  maptest::addFace(project.objects, near);
  FaceTable faces;
  buildFaceTable(project, faces);
  const FaceBvh hierarchy(faces);
  const Vec3d a{0, 0, 1}, b{4, 0, 1};
  EXPECT_EQ(nearestCrossedFacePlain(faces, a, b), 0u);
  EXPECT_TRUE(isNearestCrossedFace(faces, hierarchy, 0, a, b));
  EXPECT_FALSE(isNearestCrossedFace(faces, hierarchy, 2, a, b));
  // From the other side face 1 is nearest.
  EXPECT_EQ(nearestCrossedFacePlain(faces, b, a), 1u);
  EXPECT_TRUE(isNearestCrossedFace(faces, hierarchy, 1, b, a));
}

}  // namespace
}  // namespace tav
