// Turning, scaling, mirroring and face inversion against hand-worked values.
#include "edit/edit_geometry.h"

#include <gtest/gtest.h>

#include <cmath>

#include "model/project_settings.h"
#include "support/near.h"

namespace tav {
namespace {

#define EXPECT_AT(got, ...) EXPECT_TRUE(tavtest::near(got, __VA_ARGS__))

TEST(TurnMatrix, NinetyDegreesTurnsCounterClockwiseOnScreenInEveryView) {
  const Vec3d origin{};
  // XY: (1,0,0) about the origin goes to (0,1,0).
  EXPECT_AT(turnAbout(turnMatrixForView(VIEW_XY, 90), {1, 0, 0}, origin), {0, 1, 0});
  // The 3D view turns about z like XY.
  EXPECT_AT(turnAbout(turnMatrixForView(VIEW_3D, 90), {1, 0, 0}, origin), {0, 1, 0});
  // YZ shows y to the right and z up: +y goes to +z.
  EXPECT_AT(turnAbout(turnMatrixForView(VIEW_YZ, 90), {0, 1, 0}, origin), {0, 0, 1});
  // XZ shows x to the right and z up: +x goes to +z.
  EXPECT_AT(turnAbout(turnMatrixForView(VIEW_XZ, 90), {1, 0, 0}, origin), {0, 0, 1});
  // About a base point: (3,2,7) turned by 90 about (2,2,0) in XY.
  EXPECT_AT(turnAbout(turnMatrixForView(VIEW_XY, 90), {3, 2, 7}, {2, 2, 0}), {2, 3, 7});
  // -90 turns back.
  EXPECT_AT(turnAbout(turnMatrixForView(VIEW_XY, -90), {0, 1, 0}, origin), {1, 0, 0});
}

TEST(TurnMatrix, CombinedAnglesGiveARotation) {
  // Rows orthonormal and determinant +1 for arbitrary angles: a wrong sign in
  // any cross term breaks this.
  const TurnMatrix m = turnMatrix(0.3, -1.1, 2.2);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      double d = 0;
      for (int k = 0; k < 3; ++k) d += m[i][k] * m[j][k];
      EXPECT_NEAR(d, i == j ? 1.0 : 0.0, 1e-12) << i << "," << j;
    }
  const double det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                     m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                     m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
  EXPECT_NEAR(det, 1.0, 1e-12);
  // The third row is (sin A, -cos A sin C, cos A cos C).
  EXPECT_NEAR(m[2][0], std::sin(0.3), 1e-12);
  EXPECT_NEAR(m[2][1], -std::cos(0.3) * std::sin(2.2), 1e-12);
}

TEST(EditTransforms, ScaleMoveTurnObjects) {
  ModelObject o;
  o.nodes = {{3, 5, 7}, {1, 0, 0}};
  scaleObject(o, {1, 0, 0}, {2, 1, 1});
  EXPECT_AT(toVec(o.nodes[0]), {5, 5, 7});
  EXPECT_AT(toVec(o.nodes[1]), {1, 0, 0});
  moveObject(o, {-1, 1, 0.5});
  EXPECT_AT(toVec(o.nodes[0]), {4, 6, 7.5});
  turnObject(o, turnMatrixForView(VIEW_XY, 180), {0, 0, 0});
  EXPECT_AT(toVec(o.nodes[0]), {-4, -6, 7.5}, 1e-5);
}

TEST(EditTransforms, MirrorAcrossTheLineInTheViewPlane) {
  ModelObject o;
  o.nodes = {{1, 0, 5}, {2, 2, -1}};
  // XY: across the diagonal through the origin; z stays.
  ASSERT_TRUE(mirrorObject(o, VIEW_XY, {0, 0, 9}, {1, 1, 9}));
  EXPECT_AT(toVec(o.nodes[0]), {0, 1, 5});
  EXPECT_AT(toVec(o.nodes[1]), {2, 2, -1});
  // XZ: across the vertical line x = 3; y stays.
  ModelObject p;
  p.nodes = {{1, 4, 2}};
  ASSERT_TRUE(mirrorObject(p, VIEW_XZ, {3, 0, 0}, {3, 0, 10}));
  EXPECT_AT(toVec(p.nodes[0]), {5, 4, 2});
  // YZ: across the horizontal line z = 1; x stays.
  ModelObject q;
  q.nodes = {{8, 2, 3}};
  ASSERT_TRUE(mirrorObject(q, VIEW_YZ, {0, 0, 1}, {0, 5, 1}));
  EXPECT_AT(toVec(q.nodes[0]), {8, 2, -1});
  // A line of no length mirrors nothing.
  EXPECT_FALSE(mirrorObject(q, VIEW_XY, {1, 1, 0}, {1, 1, 4}));
  EXPECT_AT(toVec(q.nodes[0]), {8, 2, -1});
}

TEST(InvertFace, ReversesAfterTheMaterialAndTwiceRestores) {
  ModelObject o;
  o.nodes.resize(6);
  // A polyline and then a face with material 4.
  o.indices = {{IDX_START, 5},    {IDX_MATERIAL, 0}, {IDX_LINE, 4}, {IDX_START, 0},
               {IDX_MATERIAL, 4}, {IDX_LINE, 1},     {IDX_LINE, 2}, {IDX_CLOSE, 3}};
  const auto before = o.indices;
  EXPECT_FALSE(invertFace(o, 0));  // an open figure is no face
  EXPECT_FALSE(invertFace(o, 1));  // not a start entry
  ASSERT_TRUE(invertFace(o, 3));
  const std::vector<IndexEntry> once = {{IDX_START, 5}, {IDX_MATERIAL, 0}, {IDX_LINE, 4},
                                        {IDX_START, 0}, {IDX_MATERIAL, 4}, {IDX_LINE, 3},
                                        {IDX_LINE, 2},  {IDX_CLOSE, 1}};
  EXPECT_EQ(o.indices, once);
  ASSERT_TRUE(invertFace(o, 3));
  EXPECT_EQ(o.indices, before);
}

}  // namespace
}  // namespace tav
