// Extrude, Rotate, Dismantle and Assemble: closed solids, outward faces and
// shared nodes.
#include "edit/solid_ops.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <numbers>
#include <utility>

#include "edit/edit_geometry.h"
#include "edit/figure_builders.h"
#include "edit/figures.h"
#include "model/project_settings.h"
#include "support/edit_objects.h"

namespace tav {
namespace {

// Every edge of every closed face, counted per direction: a closed solid
// whose faces all point the same way uses each edge once in each direction.
bool closedAndConsistent(const ModelObject& o) {
  std::map<std::pair<std::uint32_t, std::uint32_t>, int> edges;
  for (const Figure& f : figuresOf(o)) {
    if (!f.closed) return false;
    for (std::size_t i = 0; i < f.vertices.size(); ++i)
      ++edges[{f.vertices[i], f.vertices[(i + 1) % f.vertices.size()]}];
  }
  for (const auto& [e, n] : edges) {
    if (n != 1) return false;
    auto back = edges.find({e.second, e.first});
    if (back == edges.end() || back->second != 1) return false;
  }
  return !edges.empty();
}

Vec3d centroid(const ModelObject& o, const Figure& f) {
  Vec3d c;
  for (auto v : f.vertices) c += toVec(o.nodes[v]);
  return c * (1.0 / f.vertices.size());
}

TEST(Extrude, RectangleBecomesAClosedBoxWithOutwardFaces) {
  // Both drawing directions: the result must face outwards either way.
  for (bool inverted : {false, true}) {
    auto rect = buildRectangle({0, 0, 0}, {10, 5, 0}, VIEW_XY, 0, 3);
    rect->flags = OF_SELECTED | OF_CREATED;
    rect->indices[1].ref = 7;  // material of the floor
    if (inverted) invertAllFaces(*rect);
    SolidResult r = extrudeObject(*rect, {0, 0, 3});
    ASSERT_EQ(r.status, SolidBuild::Built);
    const ModelObject& box = *r.object;
    EXPECT_EQ(box.flags, OF_CREATED);  // deselected
    EXPECT_EQ(box.nodeCount(), 8u);
    EXPECT_TRUE(closedAndConsistent(box));
    EXPECT_NEAR(signedVolume(box), 150.0, 1e-6);
    const Vec3d centre{5, 2.5, 1.5};
    int floorMaterials = 0;
    for (const Figure& f : figuresOf(box)) {
      const Vec3d n = faceAreaVector(box, f.firstEntry);
      EXPECT_GT(dot(n, centroid(box, f) - centre), 0.0);
      if (f.material == 7) ++floorMaterials;
    }
    EXPECT_EQ(floorMaterials, 2);  // bottom and its copy on top
  }
}

TEST(Extrude, PolylineGivesSideFacesOnlyAndLimitsAreKept) {
  std::vector<Vec3d> pts{{0, 0, 0}, {4, 0, 0}, {4, 3, 0}};
  auto line = buildPolyline(pts, 7, 14);
  SolidResult r = extrudeObject(*line, {0, 0, 2});
  ASSERT_EQ(r.status, SolidBuild::Built);
  EXPECT_EQ(countClosedFaces(*r.object), 2u);  // two walls, no floor or top
  EXPECT_EQ(r.object->nodeCount(), 6u);
  EXPECT_EQ(r.object->layer, 7u);

  // Solids and texts are left alone.
  ModelObject text = *line;
  text.shape = SHAPE_TEXT;
  EXPECT_EQ(extrudeObject(text, {0, 0, 1}).status, SolidBuild::Skipped);
  ModelObject solid = *r.object;
  EXPECT_EQ(extrudeObject(solid, {0, 0, 1}).status, SolidBuild::Skipped);

  // 2 x 2701 nodes exceed 5 400; 8 x 4096 entries exceed 32 760.
  auto big = test::longPolyline(2701, 0, 1);
  EXPECT_EQ(extrudeObject(*big, {0, 0, 1}).status, SolidBuild::TooBig);
  big->nodes.resize(2700);
  big->indices.resize(2700);
  EXPECT_EQ(extrudeObject(*big, {0, 0, 1}).status, SolidBuild::Built);
  ModelObject many = *line;
  many.indices.resize(4096, IndexEntry{IDX_LINE, 2});
  EXPECT_EQ(extrudeObject(many, {0, 0, 1}).status, SolidBuild::TooBig);
}

// A 1 x 1 square in the XZ plane from x = 1 to 2, turned about z.
std::unique_ptr<ModelObject> profile() {
  return buildRectangle({1, 0, 0}, {2, 0, 1}, VIEW_XZ, 0, 0);
}

TEST(Rotate, TypedThreeSixtyClosesTheRingWithoutEndFaces) {
  auto p = profile();
  SolidResult r = rotateObject(*p, {0, 0, 0}, VIEW_XY, 360.0, 36, isFullTurnText("360"));
  ASSERT_EQ(r.status, SolidBuild::Built);
  const ModelObject& ring = *r.object;
  EXPECT_EQ(ring.nodeCount(), 4u * 36u);  // the last profile merged with the first
  EXPECT_EQ(countClosedFaces(ring), 4u * 36u);
  EXPECT_TRUE(closedAndConsistent(ring));
  // A 36-sided ring of a unit square at mean radius 1.5: 36 sin(10°) / (π/18) of
  // the round ring's 2π × 1.5.
  const double expected = 1.5 * 36 * std::sin(2 * std::numbers::pi / 36);
  EXPECT_NEAR(signedVolume(ring), expected, 1e-3);
}

TEST(Rotate, ThreeSixtyAsANumberKeepsStartAndEndFaces) {
  auto p = profile();
  EXPECT_FALSE(isFullTurnText("360.0"));
  SolidResult r = rotateObject(*p, {0, 0, 0}, VIEW_XY, 360.0, 36, isFullTurnText("360.0"));
  ASSERT_EQ(r.status, SolidBuild::Built);
  const ModelObject& ring = *r.object;
  EXPECT_EQ(ring.nodeCount(), 4u * 36u);
  EXPECT_EQ(countClosedFaces(ring), 4u * 36u + 2u);
  // The start face and the reversed end face lie on each other: same nodes,
  // opposite area vectors.
  const auto figures = figuresOf(ring);
  const Figure& start = figures.front();
  const Figure& end = figures.back();
  auto sorted = [](std::vector<std::uint32_t> v) {
    std::sort(v.begin(), v.end());
    return v;
  };
  EXPECT_EQ(sorted(start.vertices), sorted(end.vertices));
  const Vec3d a = faceAreaVector(ring, start.firstEntry), b = faceAreaVector(ring, end.firstEntry);
  EXPECT_NEAR(length(a + b), 0.0, 1e-5);
  EXPECT_NEAR(length(a), 2.0, 1e-5);
}

TEST(Rotate, QuarterTurnInTheXZViewAndLimits) {
  // A square in the XY plane turned by 90 about the y axis through the origin
  // (XZ view): an open quarter ring with both end faces, all outwards.
  auto square = buildRectangle({1, 0, 0}, {2, 1, 0}, VIEW_XY, 0, 0);
  SolidResult r = rotateObject(*square, {0, 0, 0}, VIEW_XZ, 90.0, 9, false);
  ASSERT_EQ(r.status, SolidBuild::Built);
  EXPECT_EQ(r.object->nodeCount(), 40u);
  EXPECT_EQ(countClosedFaces(*r.object), 38u);
  EXPECT_TRUE(closedAndConsistent(*r.object));
  EXPECT_GT(signedVolume(*r.object), 0.0);
  // The last profile stands in the YZ... plane x = 0, z from 1 to 2.
  for (std::uint32_t k = 36; k < 40; ++k) {
    EXPECT_NEAR(r.object->nodes[k].x, 0.0, 1e-5);
    EXPECT_GE(r.object->nodes[k].z, 1.0 - 1e-5);
  }
  // 4 nodes x (1349 + 1) segments = 5 400 fits; one more does not.
  EXPECT_EQ(rotateObject(*square, {}, VIEW_XY, 90.0, 1349, false).status, SolidBuild::Built);
  EXPECT_EQ(rotateObject(*square, {}, VIEW_XY, 90.0, 1350, false).status, SolidBuild::TooBig);
  EXPECT_EQ(rotateObject(*square, {}, VIEW_XY, 90.0, 0, false).status, SolidBuild::Skipped);
}

TEST(DismantleAssemble, BoxFallsApartAndTwoSquaresShareAnEdge) {
  auto rect = buildRectangle({0, 0, 0}, {2, 2, 0}, VIEW_XY, 7, 14);
  SolidResult box = extrudeObject(*rect, {0, 0, 2});
  auto parts = dismantleSolid(*box.object);
  ASSERT_EQ(parts.size(), 6u);
  for (const auto& part : parts) EXPECT_EQ(part->nodeCount(), 4u);
  // Reassembled: the shared corners become one node each again.
  std::vector<const ModelObject*> faces;
  for (const auto& p : parts) faces.push_back(p.get());
  AssembleResult again = assembleFaces(faces, 7, 14);
  ASSERT_TRUE(again.object);
  EXPECT_EQ(again.merged, 6u);
  EXPECT_EQ(again.object->nodeCount(), 8u);
  EXPECT_TRUE(closedAndConsistent(*again.object));

  auto a = buildRectangle({0, 0, 0}, {1, 1, 0}, VIEW_XY, 0, 0);
  auto b = buildRectangle({1, 0, 0}, {2, 1, 0}, VIEW_XY, 0, 0);
  const ModelObject* two[] = {a.get(), b.get()};
  AssembleResult joined = assembleFaces(two, 0, 0);
  ASSERT_TRUE(joined.object);
  EXPECT_EQ(joined.object->nodeCount(), 6u);

  // 1.5 mm apart is shared, 2.5 mm apart is not.
  auto c = buildRectangle({1.0015, 0, 0}, {2, 1, 0}, VIEW_XY, 0, 0);
  const ModelObject* near[] = {a.get(), c.get()};
  EXPECT_EQ(assembleFaces(near, 0, 0).object->nodeCount(), 6u);
  auto d = buildRectangle({1.0025, 0, 0}, {2, 1, 0}, VIEW_XY, 0, 0);
  const ModelObject* far[] = {a.get(), d.get()};
  EXPECT_EQ(assembleFaces(far, 0, 0).object->nodeCount(), 8u);

  EXPECT_FALSE(assembleFaces(std::span<const ModelObject* const>{}, 0, 0).object);
}

}  // namespace
}  // namespace tav
