#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "model/model_object.h"
#include "support/model_builders.h"
#include "support/near.h"

namespace tav {
namespace {

using test::makeObject;
constexpr std::uint16_t S = IDX_START, L = IDX_LINE, C = IDX_CLOSE, M = IDX_MATERIAL;

TEST(FaceAreaVector, UnitSquareInPlanIsTwiceItsAreaUp) {
  auto square = makeObject({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}},
                           {{S, 0}, {M, 3}, {L, 1}, {L, 2}, {C, 3}});
  EXPECT_EQ(faceAreaVector(*square, 0), (Vec3d{0, 0, 2}));

  // The reverse order faces down.
  auto reversed = makeObject({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}},
                             {{S, 0}, {M, 3}, {L, 3}, {L, 2}, {C, 1}});
  EXPECT_EQ(faceAreaVector(*reversed, 0), (Vec3d{0, 0, -2}));
}

TEST(FaceAreaVector, TiltedRectangleAwayFromTheOrigin) {
  // A 2 m x 3 m rectangle at (10, 20, 5), tilted 30 degrees about the x axis:
  // area 6, normal (0, -sin 30, cos 30), so the vector is 12 times that.
  const double c = std::cos(M_PI / 6), s = std::sin(M_PI / 6);
  const float y2 = static_cast<float>(20 + 3 * c), z2 = static_cast<float>(5 + 3 * s);
  auto face = makeObject({{11, 20, 5}, {13, 20, 5}, {13, y2, z2}, {11, y2, z2}},
                         {{S, 0}, {M, 0}, {L, 1}, {L, 2}, {C, 3}});
  const Vec3d n = faceAreaVector(*face, 0);
  EXPECT_TRUE(tavtest::near(n, {0, -6.0, 12 * c}, 1e-4));
}

TEST(FaceAreaVector, WalksOneFigureFromItsStart) {
  // A unit square in plan, then a triangle in the XZ plane whose right-hand
  // normal is -y: (1,0,0) x (0,0,1) = (0,-1,0).
  auto solid =
      makeObject({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 0}, {1, 0, 0}, {0, 0, 1}},
                 {{S, 0}, {M, 0}, {L, 1}, {L, 2}, {C, 3}, {S, 4}, {M, 1}, {L, 5}, {C, 6}},
                 LAYER_ROOM, SHAPE_SOLID);
  EXPECT_EQ(faceAreaVector(*solid, 0), (Vec3d{0, 0, 2}));
  EXPECT_EQ(faceAreaVector(*solid, 5), (Vec3d{0, -1, 0}));

  // An open figure ends at the next start; its closing edge is still taken.
  auto open =
      makeObject({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {5, 5, 5}, {6, 6, 6}},
                 {{S, 0}, {M, 0}, {L, 1}, {L, 2}, {S, 3}, {L, 4}}, LAYER_ROOM, SHAPE_POLYLINE);
  EXPECT_EQ(faceAreaVector(*open, 0), (Vec3d{0, 0, 1}));
}

TEST(FaceAreaVector, NodeNumbersBeyondTheArrayAreLeftOut) {
  auto face = makeObject({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}},
                         {{S, 0}, {M, 0}, {L, 1}, {L, 99}, {L, 2}, {C, 3}});
  EXPECT_EQ(faceAreaVector(*face, 0), (Vec3d{0, 0, 2}));
  // A close beyond the array still ends the face: the triangle 0, 1, 2.
  auto badClose = makeObject({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {9, 9, 9}},
                             {{S, 0}, {M, 0}, {L, 1}, {L, 2}, {C, 700}, {L, 3}});
  EXPECT_EQ(faceAreaVector(*badClose, 0), (Vec3d{0, 0, 1}));
  // No usable entry at all.
  EXPECT_EQ(faceAreaVector(*face, 1000), (Vec3d{}));
  auto noNodes = makeObject({}, {{S, 3}, {L, 4}, {C, 5}});
  EXPECT_EQ(faceAreaVector(*noNodes, 0), (Vec3d{}));
}

TEST(FaceEnumeration, StartsOfClosedFacesAndShapeFromTheirCount) {
  // An open figure, then faces at 2 and 6.
  const std::vector<IndexEntry> entries = {{S, 0}, {L, 1}, {S, 0}, {M, 0}, {L, 1},
                                           {C, 2}, {S, 2}, {M, 0}, {L, 1}, {C, 0}};
  auto o = makeObject({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}, entries, LAYER_ROOM, SHAPE_SOLID);
  EXPECT_EQ(faceStarts(*o), (std::vector<std::size_t>{2, 6}));
  EXPECT_EQ(countClosedFaces(*o), 2u);

  // A close with no start before it opens no face.
  auto stray = makeObject({{0, 0, 0}}, {{C, 0}});
  EXPECT_TRUE(faceStarts(*stray).empty());

  EXPECT_EQ(shapeFromClosedFaces(0), SHAPE_POLYLINE);
  EXPECT_EQ(shapeFromClosedFaces(1), SHAPE_FACE);
  EXPECT_EQ(shapeFromClosedFaces(2), SHAPE_SOLID);
}

}  // namespace
}  // namespace tav
