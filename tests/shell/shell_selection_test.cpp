// Selecting objects (picking and windows, groups as one unit), nodes and faces.
#include <gtest/gtest.h>

#include "platform/keys.h"
#include "shell/pick_geometry.h"
#include "shell_test_util.h"

namespace tav::test {
namespace {

// A command that selects objects and records the count and the selected set.
struct ObjectSelection {
  std::vector<int> counts;
  std::vector<std::vector<const ModelObject*>> selected;
  void operator()(CommandContext& ctx) {
    counts.push_back(ctx.selectObjects());
    std::vector<const ModelObject*> now;
    for (const ModelObject& o : ctx.project().objects) {
      if (o.isSelected()) now.push_back(&o);
    }
    selected.push_back(now);
    deselectAll(ctx.project());
  }
};

// XY view at 100 pixels per metre: square A from (1, 1) to (1.5, 1.5) and a
// long line B at y = 1.2 from x = -3 to 3.
struct Scene : ShellSession {
  ModelObject* a;
  ModelObject* b;
  ObjectSelection selection;
  Scene() {
    xyView(100.0f);
    a = add(makeSquare(1, 1, 0.5f));
    b = add(makeLine({-3, 1.2f, 0}, {3, 1.2f, 0}));
    shell.registry().add(CMD_ROOM_DELETE, std::ref(selection));
  }
};

TEST(ShellSelection, WindowsPickingEnterAndEscape) {
  Scene s;
  // A click on empty space starts a window; the second corner lies to the
  // left and above: only A lies entirely inside, B merely crosses.
  s.platform.pushMenu(CMD_ROOM_DELETE);
  s.clickAt(2, 0.5f);
  s.clickAt(0.5f, 2);
  s.platform.pushKey(KEY_RETURN);
  // Rightwards and downwards: everything touching.
  s.platform.pushMenu(CMD_ROOM_DELETE);
  s.clickAt(0.5f, 2);
  s.clickAt(2, 0.5f);
  s.platform.pushKey(KEY_RETURN);
  s.platform.pushMenu(CMD_ROOM_DELETE);
  s.platform.pushKey(KEY_RETURN);  // nothing selected: count 0
  s.platform.pushMenu(CMD_ROOM_DELETE);
  s.clickAt(1.2f, 1.2f + 0.02f);  // 2 pixels off B, inside A but not on its edges
  s.clickAt(1.5f, 1.3f);          // A's right edge
  s.platform.pushKey(KEY_RETURN);
  s.platform.pushMenu(CMD_ROOM_DELETE);
  s.clickAt(1.5f, 1.3f);
  s.platform.pushKey(KEY_ESCAPE);  // cancel deselects
  s.run();
  ASSERT_EQ(s.selection.counts, (std::vector<int>{1, 2, 0, 2, 0}));
  EXPECT_EQ(s.selection.selected[0], (std::vector<const ModelObject*>{s.a}));
  EXPECT_EQ(s.selection.selected[1], (std::vector<const ModelObject*>{s.a, s.b}));
  EXPECT_FALSE(s.a->isSelected());
}

TEST(ShellSelection, AGroupIsSelectedAsOneUnitOnTheCurrentLayerOnly) {
  ShellSession s;
  ObjectSelection selection;
  s.shell.registry().add(CMD_ROOM_DELETE, std::ref(selection));
  s.shell.registry().add(CMD_AUDIENCE_DELETE, std::ref(selection));
  s.xyView(100.0f);
  s.add(makeMarker(SHAPE_GROUP_BEGIN));
  ModelObject* first = s.add(makeSquare(0, 0, 0.5f));
  s.add(makeSquare(2, 2, 0.5f));
  s.add(makeMarker(SHAPE_GROUP_END));
  ModelObject* audience = s.add(makeSquare(0, 0, 0.5f, 0, LAYER_AUDIENCE));
  s.platform.pushMenu(CMD_ROOM_DELETE);
  s.clickAt(0, 0.25f);  // one member hit: the whole group
  s.platform.pushKey(KEY_RETURN);
  s.platform.pushMenu(CMD_AUDIENCE_DELETE);
  s.clickAt(0, 0.25f);  // the same place on the audience layer
  s.platform.pushKey(KEY_RETURN);
  s.run();
  ASSERT_EQ(selection.counts, (std::vector<int>{4, 1}));
  EXPECT_EQ(selection.selected[0][1], first);
  EXPECT_EQ(selection.selected[1], (std::vector<const ModelObject*>{audience}));
}

TEST(ShellSelection, NodesAreCollectedOnceEach) {
  ShellSession s;
  std::vector<SelectedNode> nodes;
  std::size_t count = 99;
  s.shell.registry().add(CMD_ROOM_MOVE_NODES, [&](CommandContext& ctx) {
    count = ctx.selectNodes();
    nodes = ctx.nodeList();
  });
  s.xyView(100.0f);
  ModelObject* sq = s.add(makeSquare(0, 0, 1));
  s.platform.pushMenu(CMD_ROOM_MOVE_NODES);
  s.clickAt(0, 0);
  s.clickAt(0.02f, 0.01f);  // the same node again
  s.clickAt(1, 1);
  s.clickAt(3, 3);  // nothing
  s.platform.pushKey(KEY_RETURN);
  s.run();
  EXPECT_EQ(count, 2u);
  EXPECT_EQ(nodes, (std::vector<SelectedNode>{{sq, 0}, {sq, 2}}));
  EXPECT_TRUE(sq->isSelected());
}

TEST(ShellSelection, RepeatedClicksMoveThroughTheFacesUnderTheCursor) {
  // A box's floor and ceiling lie on each other in the XY view. With the
  // random source always 0 the order is ceiling, floor: a fresh click keeps
  // the last hit, a further click at the same place moves on.
  ShellSession s;
  s.shell.setRandomSource([](std::uint32_t) { return 0u; });
  std::vector<std::optional<FaceSelection>> picked;
  s.shell.registry().add(CMD_ROOM_INVERT_FACE,
                         [&](CommandContext& ctx) { picked.push_back(ctx.selectFace()); });
  s.xyView(100.0f);
  auto box = makeObject({}, {}, LAYER_ROOM, SHAPE_SOLID);
  appendPolygon(*box, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}});
  appendPolygon(*box, {{0, 0, 1}, {0, 1, 1}, {1, 1, 1}, {1, 0, 1}});
  ModelObject* o = s.add(std::move(box));
  // A twisted face whose two lobes cancel out: its pixel outline encloses
  // no area, and with hidden backfaces it still counts as a front face.
  s.add(makeFace({{3, 0, 0}, {4, 1, 0}, {4, 0, 0}, {3, 1, 0}}));
  for (int clicks : {1, 2, 3}) {
    s.platform.pushMenu(CMD_ROOM_INVERT_FACE);
    for (int i = 0; i < clicks; ++i) s.clickAt(0.5f, 0.5f);
    s.platform.pushKey(KEY_RETURN);
  }
  // Hidden backfaces: the ceiling runs clockwise seen from above and is
  // left out, so every click gives the floor.
  s.platform.pushKey(keyF(8));
  s.platform.pushMenu(CMD_ROOM_INVERT_FACE);
  s.clickAt(0.5f, 0.5f);
  s.clickAt(0.5f, 0.5f);
  s.platform.pushKey(KEY_RETURN);
  for (double x : {3.2, 3.8}) {  // either lobe of the twisted face
    s.menu(CMD_ROOM_INVERT_FACE);
    s.clickAt(x, 0.5);
    s.enter();
  }
  s.run();
  ASSERT_EQ(picked.size(), 6u);
  const std::size_t floor = 0, ceiling = 5;
  ASSERT_TRUE(picked[0] && picked[1] && picked[2] && picked[3] && picked[4] && picked[5]);
  EXPECT_EQ(picked[0]->object, o);
  EXPECT_EQ(picked[0]->startEntry, floor);
  EXPECT_EQ(picked[1]->startEntry, ceiling);
  EXPECT_EQ(picked[2]->startEntry, floor);
  EXPECT_EQ(picked[3]->startEntry, floor);
}

TEST(ShellSelection, PickGeometry) {
  const PickBox box = pickBoxAround({10, 10}, 4);
  EXPECT_TRUE(box.contains({6, 14}));
  EXPECT_FALSE(box.contains({5, 10}));
  EXPECT_TRUE(segmentTouchesBox({0, 10}, {20, 10}, box));                       // passes through
  EXPECT_TRUE(segmentTouchesBox({0, 0}, {20, 20}, box));                        // diagonal
  EXPECT_FALSE(segmentTouchesBox({0, 0}, {20, 0}, box));                        // above
  EXPECT_FALSE(segmentTouchesBox({0, 30}, {30, 0}, pickBoxAround({5, 5}, 4)));  // beside
  EXPECT_TRUE(segmentTouchesBox({14, 0}, {14, 30}, box));                       // along the edge
  const PixelPoint tri[] = {{0, 0}, {10, 0}, {0, 10}};
  EXPECT_TRUE(polygonContains(tri, {2, 2}));
  EXPECT_FALSE(polygonContains(tri, {8, 8}));
  EXPECT_EQ(pickBoxBetween({5, 1}, {2, 9}).left, 2);
}

}  // namespace
}  // namespace tav::test
