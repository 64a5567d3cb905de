// Split Face with 0, 1, 2 and more crossings, Insert Nodes, Delete Face.
#include "edit/face_edit.h"

#include <gtest/gtest.h>

#include <cmath>

#include "edit/figure_builders.h"
#include "edit/figures.h"
#include "edit/solid_ops.h"
#include "model/project_settings.h"

namespace tav {
namespace {

// The 10 x 10 square (0,0) (0,10) (10,10) (10,0), sloped: z = x / 2.
std::unique_ptr<ModelObject> slopedSquare() {
  auto o = buildRectangle({0, 0, 0}, {10, 10, 0}, VIEW_XY, 0, 0);
  for (Node& n : o->nodes) n.z = n.x / 2;
  o->indices[1].ref = 9;  // a material, dropped by the split
  return o;
}

std::vector<Vec3d> vertexPoints(const ModelObject& o, const Figure& f) {
  std::vector<Vec3d> out;
  for (auto v : f.vertices) out.push_back(toVec(o.nodes[v]));
  return out;
}

TEST(SplitFace, ZeroOneOrManyCrossingsChangeNothing) {
  auto o = slopedSquare();
  const ModelObject before = *o;
  // Misses the square.
  EXPECT_EQ(splitFace(*o, 0, {12, -1, 0}, {12, 11, 0}, VIEW_XY), SplitOutcome::NoIntersection);
  // Starts inside, leaves through the top edge only.
  EXPECT_EQ(splitFace(*o, 0, {4, 5, 0}, {4, 11, 0}, VIEW_XY), SplitOutcome::OneIntersection);
  // Not a face start.
  EXPECT_EQ(splitFace(*o, 1, {4, -1, 0}, {4, 11, 0}, VIEW_XY), SplitOutcome::NotAFace);
  EXPECT_EQ(o->nodes, before.nodes);
  EXPECT_EQ(o->indices, before.indices);

  // A U-shaped face crossed by a horizontal line four times.
  std::vector<Vec3d> u{{0, 0, 0}, {0, 3, 0}, {1, 3, 0}, {1, 1, 0},
                       {2, 1, 0}, {2, 3, 0}, {3, 3, 0}, {3, 0, 0}};
  auto shape = buildPolygon(u, 0, 0);
  const auto entries = shape->indices;
  EXPECT_EQ(splitFace(*shape, 0, {-1, 2, 0}, {4, 2, 0}, VIEW_XY),
            SplitOutcome::TooManyIntersections);
  EXPECT_EQ(shape->indices, entries);
}

TEST(SplitFace, TwoCrossingsMakeTwoFacesInVertexOrder) {
  auto o = slopedSquare();
  const Vec3d normal = faceAreaVector(*o, 0);
  ASSERT_EQ(splitFace(*o, 0, {4, -1, 0}, {4, 11, 0}, VIEW_XY), SplitOutcome::Split);
  EXPECT_EQ(o->shape, SHAPE_SOLID);
  const auto figures = figuresOf(*o);
  ASSERT_EQ(figures.size(), 2u);
  // First: start vertex .. start of the first crossed edge (0,10), N1, N2.
  // The new nodes take the sloped face's height at x = 4: z = 2.
  const std::vector<Vec3d> first{{0, 0, 0}, {0, 10, 0}, {4, 10, 2}, {4, 0, 2}};
  const std::vector<Vec3d> second{{4, 10, 2}, {10, 10, 5}, {10, 0, 5}, {4, 0, 2}};
  EXPECT_EQ(vertexPoints(*o, figures[0]), first);
  EXPECT_EQ(vertexPoints(*o, figures[1]), second);
  for (const Figure& f : figures) {
    EXPECT_TRUE(f.closed);
    EXPECT_EQ(f.material, 0);
    // Same side to the front as the face they came from.
    EXPECT_GT(dot(faceAreaVector(*o, f.firstEntry), normal), 0.0);
  }
  EXPECT_EQ(o->nodeCount(), 6u);
}

// Lines through the corners of the square (0,0) (0,10) (10,10) (10,0): a
// vertex belongs to the edge that starts there, never to the one ending there,
// so a line through a corner crosses the outline once at that corner.
struct VertexSplit {
  const char* name;
  Vec3d p1, p2;
  SplitOutcome outcome;
  std::vector<Vec3d> first, second;
};

void PrintTo(const VertexSplit& c, std::ostream* os) { *os << c.name; }

class SplitThroughVertex : public ::testing::TestWithParam<VertexSplit> {};

TEST_P(SplitThroughVertex, CountsTheCornerOnce) {
  const VertexSplit& c = GetParam();
  auto o = buildRectangle({0, 0, 0}, {10, 10, 0}, VIEW_XY, 0, 0);
  ASSERT_EQ(splitFace(*o, 0, c.p1, c.p2, VIEW_XY), c.outcome);
  const auto figures = figuresOf(*o);
  if (c.outcome != SplitOutcome::Split) {
    EXPECT_EQ(figures.size(), 1u);
    return;
  }
  ASSERT_EQ(figures.size(), 2u);
  EXPECT_EQ(vertexPoints(*o, figures[0]), c.first);
  EXPECT_EQ(vertexPoints(*o, figures[1]), c.second);
}

INSTANTIATE_TEST_SUITE_P(
    Corners, SplitThroughVertex,
    ::testing::Values(
        VertexSplit{"DiagonalThroughTwoCorners",
                    {-1, -1, 0},
                    {11, 11, 0},
                    SplitOutcome::Split,
                    {{0, 0, 0}, {10, 10, 0}, {10, 0, 0}},
                    {{0, 0, 0}, {0, 10, 0}, {10, 10, 0}}},
        VertexSplit{"CornerToTheMiddleOfAnEdge",
                    {-2, -1, 0},
                    {12, 6, 0},
                    SplitOutcome::Split,
                    {{0, 0, 0}, {10, 5, 0}, {10, 0, 0}},
                    {{0, 0, 0}, {0, 10, 0}, {10, 10, 0}, {10, 5, 0}}},
        VertexSplit{"TouchingOneCornerFromOutside",
                    {5, 15, 0},
                    {15, 5, 0},
                    SplitOutcome::OneIntersection,
                    {},
                    {}},
        VertexSplit{"AlongAnEdge", {0, -5, 0}, {0, 15, 0}, SplitOutcome::OneIntersection, {}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SplitFace, CrossingInTheYZViewInterpolatesX) {
  // A face in the plane x = y: crossings found on (y, z), x follows the edge.
  auto o = buildPolygon(std::vector<Vec3d>{{0, 0, 0}, {4, 4, 0}, {4, 4, 4}, {0, 0, 4}}, 0, 0);
  ASSERT_EQ(splitFace(*o, 0, {0, 1, -1}, {0, 1, 5}, VIEW_YZ), SplitOutcome::Split);
  for (const Node& n : o->nodes) EXPECT_FLOAT_EQ(n.x, n.y);
}

TEST(InsertNodes, EveryCrossedEdgeGetsANodeIncludingTheClosingEdge) {
  auto o = slopedSquare();
  // Vertical line x = 4 crosses the top edge and the closing edge (10,0)->(0,0).
  InsertNodesResult r = insertNodes(*o, {4, -1, 0}, {4, 11, 0}, VIEW_XY);
  EXPECT_EQ(r.inserted, 2u);
  EXPECT_FALSE(r.tooBig);
  const auto figures = figuresOf(*o);
  ASSERT_EQ(figures.size(), 1u);
  const std::vector<Vec3d> want{{0, 0, 0},   {0, 10, 0}, {4, 10, 2},
                                {10, 10, 5}, {10, 0, 5}, {4, 0, 2}};
  EXPECT_EQ(vertexPoints(*o, figures[0]), want);
  EXPECT_EQ(figures[0].material, 9);  // the face keeps its material
  // A line crossing nothing changes nothing.
  const auto entries = o->indices;
  EXPECT_EQ(insertNodes(*o, {20, 0, 0}, {20, 5, 0}, VIEW_XY).inserted, 0u);
  EXPECT_EQ(o->indices, entries);
  // An open polyline: only its own edges.
  auto line = buildPolyline(std::vector<Vec3d>{{0, 0, 0}, {2, 0, 0}, {2, 2, 0}}, 7, 14);
  EXPECT_EQ(insertNodes(*line, {0.5, -1, 0}, {3, 1.5, 0}, VIEW_XY).inserted, 2u);
  EXPECT_EQ(line->nodeCount(), 5u);
  EXPECT_EQ(countClosedFaces(*line), 0u);
}

TEST(DeleteFace, RemovesOneFaceAndDropsItsNodes) {
  auto rect = buildRectangle({0, 0, 0}, {2, 2, 0}, VIEW_XY, 0, 0);
  auto box = std::move(extrudeObject(*rect, {0, 0, 2}).object);
  auto starts = faceStarts(*box);
  ASSERT_EQ(starts.size(), 6u);
  EXPECT_EQ(deleteFace(*box, starts[0] + 1), DeleteFaceOutcome::NotAFace);
  ASSERT_EQ(deleteFace(*box, starts[0]), DeleteFaceOutcome::Removed);
  EXPECT_EQ(countClosedFaces(*box), 5u);
  EXPECT_EQ(box->shape, SHAPE_SOLID);
  EXPECT_EQ(box->nodeCount(), 8u);  // every corner still in use

  // Two faces sharing an edge: deleting one leaves a face of 4 nodes.
  auto a = buildRectangle({0, 0, 0}, {1, 1, 0}, VIEW_XY, 0, 0);
  auto b = buildRectangle({1, 0, 0}, {2, 1, 0}, VIEW_XY, 0, 0);
  const ModelObject* two[] = {a.get(), b.get()};
  auto solid = std::move(assembleFaces(two, 0, 0).object);
  ASSERT_EQ(deleteFace(*solid, faceStarts(*solid)[0]), DeleteFaceOutcome::Removed);
  EXPECT_EQ(solid->shape, SHAPE_FACE);
  EXPECT_EQ(solid->nodeCount(), 4u);
  for (const IndexEntry& e : solid->indices) {
    if (e.code != IDX_MATERIAL) {
      EXPECT_LT(e.ref, 4u);
    }
  }
  EXPECT_EQ(deleteFace(*solid, 0), DeleteFaceOutcome::ObjectEmpty);
}

}  // namespace
}  // namespace tav
