// Circles, rectangles and polygons on the view axes; groups; audience areas
// raised over room faces.
#include <gtest/gtest.h>

#include <cmath>

#include "edit/audience_faces.h"
#include "edit/figure_builders.h"
#include "edit/object_groups.h"
#include "model/project_settings.h"
#include "support/near.h"

namespace tav {
namespace {

TEST(FigureBuilders, CircleRunsClockwiseFromTheHorizontalAxis) {
  auto c = buildCircle({0, 0, 2}, 1.0, 4, VIEW_XY, 7, 14);
  ASSERT_TRUE(c);
  ASSERT_EQ(c->nodeCount(), 4u);
  const Vec3d want[] = {{1, 0, 2}, {0, -1, 2}, {-1, 0, 2}, {0, 1, 2}};
  for (int k = 0; k < 4; ++k) EXPECT_TRUE(tavtest::near(c->nodes[k], want[k])) << k;
  const std::vector<IndexEntry> entries{
      {IDX_START, 0}, {IDX_MATERIAL, 0}, {IDX_LINE, 1}, {IDX_LINE, 2}, {IDX_CLOSE, 3}};
  EXPECT_EQ(c->indices, entries);
  EXPECT_EQ(c->shape, SHAPE_FACE);
  // In the XZ view the circle lies in y = const with u = x, w = z.
  auto xz = buildCircle({1, 5, 1}, 2.0, 36, VIEW_XZ, 0, 0);
  for (const Node& n : xz->nodes) {
    EXPECT_FLOAT_EQ(n.y, 5.0f);
    EXPECT_NEAR(std::hypot(n.x - 1.0, n.z - 1.0), 2.0, 1e-5);
  }
  EXPECT_NEAR(circleRadius({0, 0, 0}, {3, 9, 4}, VIEW_YZ), std::hypot(9.0, 4.0), 1e-12);
}

TEST(FigureBuilders, RectangleInEveryViewAndPolygons) {
  auto yz = buildRectangle({5, 0, 0}, {7, 2, 3}, VIEW_YZ, 0, 0);
  const std::vector<Node> yzNodes{{5, 0, 0}, {5, 0, 3}, {5, 2, 3}, {5, 2, 0}};
  EXPECT_EQ(yz->nodes, yzNodes);
  auto xy = buildRectangle({0, 0, 1}, {10, 5, 9}, VIEW_XY, 0, 0);
  const std::vector<Node> xyNodes{{0, 0, 1}, {0, 5, 1}, {10, 5, 1}, {10, 0, 1}};
  EXPECT_EQ(xy->nodes, xyNodes);

  // A last vertex given on top of the first one is dropped by compaction.
  auto poly = buildPolygon(std::vector<Vec3d>{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 0, 0}}, 1, 21);
  EXPECT_EQ(poly->nodeCount(), 3u);
  EXPECT_EQ(poly->indices.back(), (IndexEntry{IDX_CLOSE, 2}));
  EXPECT_EQ(poly->flags, OF_CREATED);
  EXPECT_FALSE(buildPolygon(std::vector<Vec3d>{{0, 0, 0}}, 1, 21));
  auto line = buildPolyline(std::vector<Vec3d>{{0, 0, 0}, {1, 0, 0}, {1, 0, 0}, {1, 1, 0}}, 7, 14);
  EXPECT_EQ(line->nodeCount(), 3u);
  EXPECT_EQ(line->shape, SHAPE_POLYLINE);
}

// The list as a string: B and E for group markers, the others by their
// number in `objs`.
std::string layout(const ObjectList& list, ModelObject* const (&objs)[6]) {
  std::string out;
  for (const ModelObject& o : list) {
    if (o.shape == SHAPE_GROUP_BEGIN || o.shape == SHAPE_GROUP_END) {
      out += o.shape == SHAPE_GROUP_BEGIN ? 'B' : 'E';
      continue;
    }
    for (int i = 0; i < 6; ++i)
      if (objs[i] == &o) out += static_cast<char>('0' + i);
  }
  return out;
}

TEST(Groups, GroupOfThreeMovesToTheHeadBetweenMarkersAndNests) {
  ObjectList list;
  ModelObject* objs[6];
  for (int i = 0; i < 6; ++i) {
    auto o = std::make_unique<ModelObject>();
    o->shape = SHAPE_FACE;
    o->layer = i == 1 ? 0 : 2;
    o->flags = i == 1 || i == 3 || i == 4 ? OF_SELECTED : 0;
    objs[i] = list.appendObject(std::move(o));
  }
  ASSERT_TRUE(buildGroup(list, 2));
  // Head: begin marker on the first member's layer, the members in list
  // order, end marker on the current layer.
  EXPECT_EQ(layout(list, objs), "B134E025");
  EXPECT_EQ(list.objectAt(0)->layer, 0u);
  EXPECT_EQ(list.objectAt(4)->layer, 2u);
  EXPECT_EQ(groupEnd(list.objectAt(0)), list.objectAt(4));

  // Nested: the group (selected as one unit, markers included) and one more
  // object make an outer group.
  for (ModelObject& o : list) o.flags = 0;
  for (long i = 0; i <= 4; ++i) list.objectAt(i)->flags = OF_SELECTED;
  objs[5]->flags |= OF_SELECTED;
  ASSERT_TRUE(buildGroup(list, 2));
  EXPECT_EQ(layout(list, objs), "BB134E5E02");
  EXPECT_EQ(groupEnd(list.objectAt(0)), list.objectAt(7));

  // Split takes the outer group apart first, then the inner one.
  ASSERT_TRUE(splitGroup(list));
  EXPECT_EQ(layout(list, objs), "B134E502");
  ASSERT_TRUE(splitGroup(list));
  EXPECT_EQ(layout(list, objs), "134502");
  EXPECT_FALSE(splitGroup(list));

  // One selected object makes no group.
  for (ModelObject& o : list) o.flags = 0;
  objs[2]->flags = OF_SELECTED;
  EXPECT_FALSE(buildGroup(list, 0));
  EXPECT_EQ(list.countObjects(), 6u);
}

TEST(AudienceAreas, RaisedVerticallyOnASlopedFace) {
  // A 10 x 20 floor rising 1 m per 4 m in y, material 5, behind a polyline.
  ModelObject face;
  face.shape = SHAPE_SOLID;
  face.nodes = {{9, 9, 9}, {0, 0, 0}, {0, 20, 5}, {10, 20, 5}, {10, 0, 0}};
  face.indices = {{IDX_START, 0},    {IDX_MATERIAL, 0}, {IDX_LINE, 1}, {IDX_START, 1},
                  {IDX_MATERIAL, 5}, {IDX_LINE, 2},     {IDX_LINE, 3}, {IDX_CLOSE, 4}};
  auto area = buildAudienceArea(face, 3, 1.2);
  ASSERT_TRUE(area);
  EXPECT_EQ(area->layer, LAYER_AUDIENCE);
  EXPECT_EQ(area->colour, 21u);
  const std::vector<IndexEntry> entries{
      {IDX_START, 0}, {IDX_MATERIAL, 0}, {IDX_LINE, 1}, {IDX_LINE, 2}, {IDX_CLOSE, 3}};
  EXPECT_EQ(area->indices, entries);
  ASSERT_EQ(area->nodeCount(), 4u);
  for (std::uint32_t k = 0; k < 4; ++k) {
    const Node& src = face.nodes[k + 1];
    EXPECT_TRUE(tavtest::near(area->nodes[k], {src.x, src.y, src.z + 1.2f}, 1e-5));
  }
  EXPECT_FALSE(buildAudienceArea(face, 0, 1.2));  // an open figure
  EXPECT_FALSE(buildAudienceArea(face, 4, 1.2));  // not a start entry
}

TEST(AudienceAreas, HeightInput) {
  const Units metres, feet{true};
  EXPECT_EQ(parseAudienceHeight("0", metres), 0.0);
  EXPECT_EQ(parseAudienceHeight("10", metres), 10.0);
  EXPECT_EQ(parseAudienceHeight(" 1,2 ", metres), 1.2);
  EXPECT_FALSE(parseAudienceHeight("10.5", metres));
  EXPECT_FALSE(parseAudienceHeight("-0.1", metres));
  EXPECT_FALSE(parseAudienceHeight("abc", metres));
  EXPECT_FALSE(parseAudienceHeight("", metres));
  EXPECT_FALSE(parseAudienceHeight("1.2m", metres));
  EXPECT_NEAR(*parseAudienceHeight("4", feet), 1.219, 5e-4);
  EXPECT_FALSE(parseAudienceHeight("12", feet));  // the range is in the entered unit
}

}  // namespace
}  // namespace tav
