// The face table: which faces it holds, what each record carries, its
// orders, and the two face tests.
#include "reflections/face_table.h"

#include <gtest/gtest.h>

#include "model/object_list.h"
#include "reflections/room_check.h"
#include "support/model_builders.h"
#include "support/near.h"

namespace tav {
namespace {

using test::addBox;
using test::addFace;

constexpr std::size_t kMaterials = 3;

const FaceRecord* findByMinZ(const FaceTable& t, float z, float extent) {
  for (const FaceRecord& f : t.records)
    if (f.bounds[4] == z && f.bounds[5] == z + extent) return &f;
  return nullptr;
}

TEST(FaceTable, RecordsOfABoxCarryPlaneBoxAxisAndSigns) {
  ObjectList list;
  addBox(list, {0, 0, 0}, {10, 10, 4});
  FaceTable t;
  const FaceTableBuild b = buildFaceTable(list, kMaterials, t);
  ASSERT_TRUE(b.ok());
  ASSERT_EQ(b.count, 6u);

  const FaceRecord* floor = findByMinZ(t, 0, 0);
  const FaceRecord* ceiling = findByMinZ(t, 4, 0);
  ASSERT_NE(floor, nullptr);
  ASSERT_NE(ceiling, nullptr);
  // A 10 x 10 floor: area vector twice the area, along +z.
  EXPECT_EQ(floor->areaVector, (std::array<float, 3>{0, 0, 200}));
  EXPECT_EQ(floor->bounds, (std::array<float, 6>{0, 10, 0, 10, 0, 0}));
  // Normal exactly (0, 0, 1) direction: projected along z, signs x 0, y 0, z +1.
  EXPECT_EQ(floor->projAxis, 2);
  EXPECT_EQ(floor->normalSigns, 0x10u);
  // The ceiling faces down; its plane -200 z + 800 = 0 holds at z = 4.
  EXPECT_EQ(ceiling->areaVector, (std::array<float, 3>{0, 0, -200}));
  EXPECT_FLOAT_EQ(ceiling->planeD, 800.0f);
  EXPECT_EQ(ceiling->normalSign(2), -1);
  // Negating the signs of the floor gives z -1 and keeps the zero fields.
  FaceRecord copy = *floor;
  copy.negateNormalSigns();
  EXPECT_EQ(copy.normalSigns, 0x30u);
}

TEST(FaceTable, EqualXAndYNormalProjectsAlongXAndSmallComponentsHaveNoSign) {
  ObjectList list;
  // A vertical face in the plane x + y = 1 (normal along (1, 1, 0) or opposite).
  addFace(list, {{1, 0, 0}, {0, 1, 0}, {0, 1, 2}, {1, 0, 2}});
  // A face tilted so slightly that its normal's x component is below 0.01.
  addFace(list, {{0, 0, 0}, {1, 0, 0.002}, {1, 1, 0.002}, {0, 1, 0}});
  FaceTable t;
  ASSERT_EQ(buildFaceTable(list, kMaterials, t).count, 2u);
  const FaceRecord& diagonal = t[0];
  EXPECT_EQ(std::fabs(diagonal.areaVector[0]), std::fabs(diagonal.areaVector[1]));
  EXPECT_EQ(diagonal.projAxis, 0);
  EXPECT_EQ(diagonal.normalSign(0), diagonal.normalSign(1));
  EXPECT_NE(diagonal.normalSign(0), 0);
  EXPECT_EQ(diagonal.normalSign(2), 0);

  const FaceRecord& tilted = t[1];
  EXPECT_LT(std::fabs(tilted.areaVector[0]), 0.01f);
  EXPECT_NE(tilted.areaVector[0], 0.0f);
  EXPECT_EQ(tilted.normalSigns, 0x10u);
  EXPECT_EQ(tilted.projAxis, 2);
}

TEST(FaceTable, LeavesOutTinyFacesOtherLayersAndPolylines) {
  ObjectList list;
  // 0.08 x 0.05 = 0.004 m²: area vector 0.008, below 0.01.
  addFace(list, {{0, 0, 0}, {0.08, 0, 0}, {0.08, 0.05, 0}, {0, 0.05, 0}});
  // 0.1 x 0.06 = 0.006 m²: area vector 0.012, kept.
  addFace(list, {{0, 0, 1}, {0.1, 0, 1}, {0.1, 0.06, 1}, {0, 0.06, 1}});
  // Audience area (layer 1).
  addFace(list, {{0, 0, 2}, {5, 0, 2}, {5, 5, 2}}, 0, LAYER_AUDIENCE);
  // An open polyline on the room layer.
  ModelObject* line = addFace(list, {{0, 0, 3}, {5, 0, 3}, {5, 5, 3}});
  line->shape = SHAPE_POLYLINE;
  line->indices.back().code = IDX_LINE;
  FaceTable t;
  ASSERT_EQ(buildFaceTable(list, kMaterials, t).count, 1u);
  EXPECT_FLOAT_EQ(t[0].bounds[4], 1.0f);
  EXPECT_NEAR(t[0].halfNormSq, 0.5 * 0.012 * 0.012, 1e-8);
}

TEST(FaceTable, DeletedMaterialIsResetToZeroInTheModel) {
  ObjectList list;
  ModelObject* a = addFace(list, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}, 2);
  ModelObject* b = addFace(list, {{0, 0, 1}, {1, 0, 1}, {1, 1, 1}}, 3);
  ModelObject* c = addFace(list, {{0, 0, 2}, {1, 0, 2}, {1, 1, 2}}, 700);
  FaceTable t;
  ASSERT_EQ(buildFaceTable(list, kMaterials, t).count, 3u);
  EXPECT_EQ(a->indices[1].ref, 2);  // below the count: kept
  EXPECT_EQ(b->indices[1].ref, 0);  // equal to the count: reset
  EXPECT_EQ(c->indices[1].ref, 0);
  EXPECT_EQ(t[0].materialNumber(), 2);
  EXPECT_EQ(t[1].materialNumber(), 0);
}

TEST(FaceTable, MoreThan16000FacesEmptyTheTableWithAMessage) {
  // Node numbers are 16-bit: two objects of 8000 faces, then one more face.
  ObjectList list;
  list.appendObject(test::makeManyTriangles(8000, SHAPE_SOLID));
  list.appendObject(test::makeManyTriangles(8000, SHAPE_SOLID));
  FaceTable t;
  FaceTableBuild b = buildFaceTable(list, kMaterials, t);
  EXPECT_TRUE(b.ok());
  EXPECT_EQ(b.count, MAX_ROOM_FACES);
  EXPECT_EQ(t.size(), MAX_ROOM_FACES);

  list.appendObject(test::makeManyTriangles(1, SHAPE_SOLID));
  b = buildFaceTable(list, kMaterials, t);
  EXPECT_EQ(b.count, 0u);
  EXPECT_TRUE(t.empty());
  EXPECT_EQ(b.message.text, "Too many room faces");
}

TEST(FaceTable, ReflectionOrderIsLargestFirstThenMinimumZYX) {
  ObjectList list;
  auto square = [&](double x, double y, double z, double s) {
    addFace(list, {{x, y, z}, {x + s, y, z}, {x + s, y + s, z}, {x, y + s, z}});
  };
  square(0, 0, 5, 1);  // small, high
  square(0, 0, 3, 2);  // large, higher
  square(0, 0, 1, 2);  // large, lower: listed before the higher one
  square(3, 0, 1, 1);  // small, z 1, x 3
  square(0, 4, 1, 1);  // small, z 1, y 4
  square(0, 2, 1, 1);  // small, z 1, y 2, x 0
  FaceTable t;
  ASSERT_EQ(buildFaceTable(list, kMaterials, t).count, 6u);
  sortFacesForReflections(t);
  auto key = [&](std::size_t i) {
    return std::array<float, 4>{t[i].halfNormSq, t[i].bounds[4], t[i].bounds[2], t[i].bounds[0]};
  };
  EXPECT_EQ(key(0), (std::array<float, 4>{32, 1, 0, 0}));
  EXPECT_EQ(key(1), (std::array<float, 4>{32, 3, 0, 0}));
  EXPECT_EQ(key(2), (std::array<float, 4>{2, 1, 0, 3}));
  EXPECT_EQ(key(3), (std::array<float, 4>{2, 1, 2, 0}));
  EXPECT_EQ(key(4), (std::array<float, 4>{2, 1, 4, 0}));
  EXPECT_EQ(key(5), (std::array<float, 4>{2, 5, 0, 0}));

  sortFacesByMinimum(t, 0);
  for (std::size_t i = 1; i < t.size(); ++i) EXPECT_LE(t[i - 1].bounds[0], t[i].bounds[0]);
  // Ties keep their previous order: the x = 0 faces stay in reflection order.
  EXPECT_EQ(t[0].bounds[4], 1.0f);
  EXPECT_EQ(t[1].bounds[4], 3.0f);
}

TEST(FaceTest, PointInFaceOnBoxEdgesDependsOnTheCrossingCount) {
  ObjectList list;
  addFace(list, {{0, 0, 2}, {10, 0, 2}, {10, 10, 2}, {0, 10, 2}});
  FaceTable t;
  ASSERT_EQ(buildFaceTable(list, kMaterials, t).count, 1u);
  const FaceRecord& f = t[0];
  struct Case {
    const char* name;
    Vec3d p;
    bool inside;
  };
  const Case cases[] = {
      {"centre", {5, 5, 2}, true},
      {"left edge: the right edge is crossed once", {0, 5, 2}, true},
      {"right edge: no edge lies to the right", {10, 5, 2}, false},
      {"bottom edge: no edge strictly crosses y = 0", {5, 0, 2}, false},
      {"top edge", {5, 10, 2}, false},
      {"vertex", {0, 0, 2}, false},
      {"beyond the box", {10.001, 5, 2}, false},
      {"off the plane is not checked along z", {5, 5, 7}, true},
  };
  for (const Case& c : cases) EXPECT_EQ(pointInFace(f, c.p), c.inside) << c.name;
}

TEST(FaceTest, ConcaveFacesInTheThreeProjections) {
  // An L-shape (notch at the upper right) in each coordinate plane.
  const double l[6][2] = {{0, 0}, {4, 0}, {4, 2}, {2, 2}, {2, 4}, {0, 4}};
  for (int axis = 0; axis < 3; ++axis) {
    const auto pairs = projectedAxes(axis);
    auto at = [&](double a, double b) {
      double c[3] = {1, 1, 1};
      c[pairs[0]] = a;
      c[pairs[1]] = b;
      return Vec3d{c[0], c[1], c[2]};
    };
    std::vector<Vec3d> v;
    for (const auto& p : l) v.push_back(at(p[0], p[1]));
    ObjectList list;
    addFace(list, v);
    FaceTable t;
    ASSERT_EQ(buildFaceTable(list, kMaterials, t).count, 1u);
    ASSERT_EQ(t[0].projAxis, axis);
    EXPECT_TRUE(pointInFace(t[0], at(1, 1))) << axis;
    EXPECT_TRUE(pointInFace(t[0], at(3, 1))) << axis;
    EXPECT_TRUE(pointInFace(t[0], at(1, 3))) << axis;
    EXPECT_FALSE(pointInFace(t[0], at(3, 3))) << axis;  // in the notch
    // Inverting the face does not change which points are inside.
    ASSERT_TRUE(reverseFaceOrder(*list.head(), t[0].startEntry));
    EXPECT_TRUE(pointInFace(t[0], at(3, 1))) << axis;
    EXPECT_FALSE(pointInFace(t[0], at(3, 3))) << axis;
  }
}

TEST(FaceTest, ASecondStartBeforeTheCloseMeansOutside) {
  ObjectList list;
  ModelObject* o = addFace(list, {{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {0, 4, 0}});
  FaceTable t;
  ASSERT_EQ(buildFaceTable(list, kMaterials, t).count, 1u);
  ASSERT_TRUE(pointInFace(t[0], {2, 2, 0}));
  // (0,a) (3,m) (1,b) (0,c) (2,d): the figure is interrupted by a new start.
  o->indices[3].code = IDX_START;
  EXPECT_FALSE(pointInFace(t[0], {2, 2, 0}));
}

TEST(FaceTest, IntersectFacePlane) {
  ObjectList list;
  addFace(list, {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}});
  FaceTable t;
  ASSERT_EQ(buildFaceTable(list, kMaterials, t).count, 1u);
  const FaceRecord& f = t[0];

  auto hit = intersectFacePlane(f, {5, 4, 20}, {0, 0, -3});
  ASSERT_TRUE(hit);
  EXPECT_TRUE(tavtest::near(hit->point, {5, 4, 0}, 1e-9));
  EXPECT_TRUE(hit->inside);

  // Slanted line from (0, 0, 2) along (1, 2, -1): meets z = 0 at (2, 4, 0).
  hit = intersectFacePlane(f, {0, 0, 2}, {1, 2, -1});
  ASSERT_TRUE(hit);
  EXPECT_TRUE(tavtest::near(hit->point, {2, 4, 0}, 1e-12));

  // The point may lie behind the origin.
  hit = intersectFacePlane(f, {5, 5, -5}, {0, 0, -1});
  ASSERT_TRUE(hit);
  EXPECT_DOUBLE_EQ(hit->point.z, 0);

  hit = intersectFacePlane(f, {15, 5, 3}, {0, 0, 1});
  ASSERT_TRUE(hit);
  EXPECT_FALSE(hit->inside);

  EXPECT_FALSE(intersectFacePlane(f, {5, 5, 3}, {0, 0, 0.0009}));  // |D| < 0.001
  EXPECT_TRUE(intersectFacePlane(f, {5, 5, 3}, {0, 0, 0.001}));
  EXPECT_FALSE(intersectFacePlane(f, {5, 5, 3}, {1, 0, 0}));  // parallel to the plane
}

TEST(FaceTest, ReverseFaceOrderKeepsStartAndMaterial) {
  ObjectList list;
  ModelObject* o = addFace(list, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, 2);
  const std::vector<IndexEntry> before = o->indices;
  ASSERT_TRUE(reverseFaceOrder(*o, 0));
  const std::vector<IndexEntry> reversed = {
      {IDX_START, 0}, {IDX_MATERIAL, 2}, {IDX_LINE, 3}, {IDX_LINE, 2}, {IDX_CLOSE, 1}};
  EXPECT_EQ(o->indices, reversed);
  EXPECT_EQ(faceAreaVector(*o, 0).z, -2.0);
  ASSERT_TRUE(reverseFaceOrder(*o, 0));
  EXPECT_EQ(o->indices, before);
  // An unclosed figure is left alone.
  o->indices.back().code = IDX_LINE;
  EXPECT_FALSE(reverseFaceOrder(*o, 0));
}

}  // namespace
}  // namespace tav
