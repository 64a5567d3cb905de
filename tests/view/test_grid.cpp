// The generated grid: its box, its lines on the floor and two walls, and
// the limits that keep it finite.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

#include "model/project.h"
#include "view/grid.h"
#include "view_test_util.h"

namespace tav {
namespace {

using test::makeObject;

TEST(Grid, EmptyModelSpansMinus100To100) {
  Project project;
  project.layers[LAYER_GRID].visible = 1;
  project.settings.gridSize = 10;
  ViewState s;
  rebuildGrid(s, project);
  const GridBox box = gridBox(project.objects, 10);
  EXPECT_THAT(box.min, testing::ElementsAre(-100, -100, -100));
  EXPECT_THAT(box.max, testing::ElementsAre(100, 100, 100));
  // 21 positions per axis: floor 21 + 21, wall x = xmin 21 + 20 (z above
  // zmin), wall y = ymax 20 + 20.
  EXPECT_EQ(s.grid.countObjects(), 123u);
  const ModelObject& line = *s.grid.head();
  EXPECT_EQ(line.layer, LAYER_GRID);
  EXPECT_EQ(line.colour, 5u);
  // Straight along one axis: exactly one coordinate differs.
  for (const ModelObject& o : s.grid) {
    ASSERT_EQ(o.nodeCount(), 2u);
    const Node& a = o.nodes[0];
    const Node& b = o.nodes[1];
    EXPECT_EQ((a.x != b.x) + (a.y != b.y) + (a.z != b.z), 1);
  }
  // Grid off: the old lines go.
  project.layers[LAYER_GRID].visible = 0;
  rebuildGrid(s, project);
  EXPECT_TRUE(s.grid.empty());
}

TEST(Grid, BoxIsWidenedToGridLinesWithASpareLine) {
  Project project;
  project.objects.appendObject(
      makeObject({{0.3f, 1.2f, 0}, {4.7f, 2.5f, 3}}, {{IDX_START, 0}, {IDX_LINE, 1}}));
  // Loudspeaker shapes do not count.
  project.objects.appendObject(
      makeObject({{500, 500, 500}}, {{IDX_START, 0}}, SHAPE_SOLID, LAYER_SPEAKER_SHAPES));
  // Hidden objects of the model still count.
  auto hidden = makeObject({{0.5f, 1.5f, -0.5f}}, {{IDX_START, 0}});
  hidden->flags = OF_HIDDEN;
  project.objects.appendObject(std::move(hidden));
  const GridBox b = gridBox(project.objects, 1.0);
  // x: floor(0.3) - 1 = -1, ceil(4.7) + 1 = 6; y: 0 .. 4;
  // z: floor(-0.5) - 1 = -2, ceil(3) + 1 = 4.
  EXPECT_THAT(b.min, testing::ElementsAre(-1, 0, -2));
  EXPECT_THAT(b.max, testing::ElementsAre(6, 4, 4));

  project.layers[LAYER_GRID].visible = 1;
  project.settings.gridSize = 1;
  ViewState s;
  rebuildGrid(s, project);
  // 8 x positions, 5 y positions, 7 z positions: floor 8 + 5, wall x 5 + 6,
  // wall y 6 + 7.
  EXPECT_EQ(s.grid.countObjects(), 37u);
  // A floor line along y at x = 2.
  bool found = false;
  for (const ModelObject& o : s.grid) {
    const Node& a = o.nodes[0];
    const Node& c = o.nodes[1];
    if (a.x == 2 && c.x == 2 && a.z == -2 && c.z == -2 && a.y == 0 && c.y == 4) found = true;
  }
  EXPECT_TRUE(found);
}

TEST(Grid, FineGridOverAHugeModelStaysBounded) {
  Project project;
  project.objects.appendObject(
      makeObject({{-1.0e6f, 0, 0}, {1.0e6f, 1, NAN}, {0, 2, 1}}, {{IDX_START, 0}, {IDX_LINE, 2}}));
  const GridBox b = gridBox(project.objects, 0.1);
  EXPECT_GT(b.spacing, 0.1);
  // The spacing stays a power-of-ten multiple of the grid size.
  const double ratio = std::log10(b.spacing / 0.1);
  EXPECT_NEAR(ratio, std::round(ratio), 1e-9);
  EXPECT_LE((b.max[0] - b.min[0]) / b.spacing, GRID_MAX_STEPS + 0.5);
  // The node with a NaN coordinate is left out of the box.
  EXPECT_LE(b.max[2], 1 + 2 * b.spacing);
  // A size that is not a positive number counts as 1 m.
  EXPECT_DOUBLE_EQ(gridBox(ObjectList{}, -3).spacing, 1);
  EXPECT_DOUBLE_EQ(gridBox(ObjectList{}, NAN).spacing, 1);
}

}  // namespace
}  // namespace tav
