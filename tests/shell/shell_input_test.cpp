// Point input: tracking with the coordinate snap and the node snap, typed
// points, the option inputs and the units.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "model/history_file.h"
#include "platform/keys.h"
#include "shell/drag_transform.h"
#include "shell/point_snap.h"
#include "shell/typed_point.h"
#include "shell_test_util.h"
#include "support/near.h"

namespace tav::test {
namespace {

// Collects every point given until the input is finished or cancelled.
struct PointCollector {
  std::vector<Node> points;
  std::vector<Node> lasts;
  void operator()(CommandContext& ctx) {
    while (ctx.askPoint("Point :") == InputOutcome::PointGiven) {
      points.push_back(ctx.input().current);
    }
  }
};

TEST(ShellInput, CoordinateSnapTruncatesTowardZero) {
  // Table: value, snap on, distance, result.
  struct Case {
    double v;
    bool on;
    double d;
    double want;
  } cases[] = {
      {1.74, true, 0.5, 1.5},        {-1.74, true, 0.5, -1.5}, {0.49, true, 0.5, 0.0},
      {-0.49, true, 0.5, 0.0},       {2.0, true, 0.5, 2.0},    {1.7449, false, 0.5, 1.744},
      {-1.7449, false, 0.5, -1.744}, {3.7, true, 0.0, 3.7},  // no distance: millimetres
  };
  for (const Case& c : cases) {
    EXPECT_NEAR(snapCoordinate(c.v, c.on, c.d), c.want, 1e-9) << c.v << " " << c.d;
  }
}

TEST(ShellInput, MouseAtPlusMinus174GivesPlusMinus15) {
  // XY view at 100 pixels per metre: pixel 574 is x = 1.74 m, 226 is -1.74.
  ShellSession s;
  PointCollector points;
  s.shell.registry().add(CMD_ROOM_POLYLINE, std::ref(points));
  s.xyView(100.0f);
  s.platform.pushMenu(CMD_ROOM_POLYLINE);
  s.click({574, 300});
  s.click({226, 126});  // y = +1.74
  s.check([&] {
    // The cross-hair jumped to the snapped position.
    EXPECT_EQ(s.shell.input().cursor, (PixelPoint{250, 150}));
    EXPECT_EQ(s.window().panel()->text(PANEL_FIELD_X), "-1.500");
    EXPECT_EQ(s.window().panel()->text(PANEL_FIELD_Y), "1.500");
  });
  s.platform.pushKey(keyF(9));  // snap off: millimetres
  s.click({574, 300});
  s.platform.pushKey(KEY_RETURN);
  s.run();
  ASSERT_EQ(points.points.size(), 3u);
  EXPECT_FLOAT_EQ(points.points[0].x, 1.5f);
  EXPECT_FLOAT_EQ(points.points[0].y, 0.0f);
  EXPECT_FLOAT_EQ(points.points[1].x, -1.5f);
  EXPECT_FLOAT_EQ(points.points[1].y, 1.5f);
  EXPECT_NEAR(points.points[2].x, 1.74, 1e-6);
  // The last point follows the given points.
  EXPECT_FLOAT_EQ(s.shell.input().last.x, points.points[2].x);
}

TEST(ShellInput, NodeSnapTakesTheNearerCandidateWithinTheWidth) {
  // Width 10: a node 12/3 pixels away is not taken, one 8/3 away is, and a
  // second node 2/2 pixels away then wins (the threshold became 3).
  ShellSession s;
  PointCollector points;
  s.shell.registry().add(CMD_ROOM_POLYLINE, std::ref(points));
  s.xyView(64.0f);  // 1 pixel = 1/64 m, exact in float
  s.add(makeLine({0, 0, 0}, {-1, -1, 0}));
  const Node second{10.0f / 64, -5.0f / 64, 0};
  const PixelPoint p1 = s.at(0, 0);
  s.project().settings.cursorSnapOn = false;
  s.project().settings.nodeSnapOn = true;

  // Only the first node there.
  s.platform.pushMenu(CMD_ROOM_POLYLINE);
  s.click({p1.x + 12, p1.y + 3});
  s.click({p1.x + 8, p1.y + 3});
  s.check([&] { s.add(makeLine(second, {2, 2, 0})); });
  const PixelPoint mouse{p1.x + 8, p1.y + 3};
  s.click(mouse);
  s.platform.pushKey(KEY_RETURN);
  s.run();
  EXPECT_EQ(s.shell.pixelOf(second), (PixelPoint{mouse.x + 2, mouse.y + 2}));
  ASSERT_EQ(points.points.size(), 3u);
  EXPECT_NEAR(points.points[0].x, 12.0 / 64, 1e-3);  // the mouse itself, millimetres
  EXPECT_NEAR(points.points[0].y, -3.0 / 64, 1e-3);
  EXPECT_EQ(points.points[1], (Node{0, 0, 0}));
  EXPECT_EQ(points.points[2], second);
  EXPECT_EQ(s.shell.input().cursor, (PixelPoint{mouse.x + 2, mouse.y + 2}));
}

TEST(ShellInput, NodeSnapSearchesOnlyTheSnapLayerAndDrawableObjects) {
  ShellSession s;
  s.xyView(64.0f);
  Project& p = s.project();
  ModelObject* hidden = s.add(makeLine({0, 0, 0}, {1, 0, 0}));
  s.add(makeLine({0, 0, 0}, {0, 1, 0}, LAYER_AUX));
  hidden->flags |= OF_HIDDEN;
  const PixelPoint m = s.at(0, 0);
  EXPECT_FALSE(findSnapNode(s.shell.view(), p.objects, LAYER_ROOM, 10, m, false));
  const auto aux = findSnapNode(s.shell.view(), p.objects, LAYER_AUX, 10, {m.x + 9, m.y}, false);
  ASSERT_TRUE(aux);
  EXPECT_EQ(aux->node, (Node{0, 0, 0}));
  EXPECT_FALSE(findSnapNode(s.shell.view(), p.objects, LAYER_AUX, 10, {m.x + 10, m.y}, false));
}

TEST(ShellInput, TypedPointsAbsoluteRelativeAndPolar) {
  ShellSession s;
  PointCollector points;
  s.shell.registry().add(CMD_ROOM_POLYLINE, std::ref(points));
  s.xyView(100.0f);
  s.platform.pushMenu(CMD_ROOM_POLYLINE);
  s.clickAt(1, 1);
  // Absolute, with a decimal comma; the fields start at the current point.
  s.platform.scriptDialog(
      TITLE_POINT_ABSOLUTE,
      {DialogStep::check([](DialogControls& c) { EXPECT_EQ(c.text(POINT_FIELD_X), "1.000"); }),
       DialogStep::setText(POINT_FIELD_X, "2,5"), DialogStep::setText(POINT_FIELD_Y, "-1"),
       DialogStep::setText(POINT_FIELD_Z, "3"), DialogStep::click(DLG_OK)});
  s.platform.pushKey(KEY_A);
  // Relative to the last point.
  s.platform.scriptDialog(TITLE_POINT_RELATIVE,
                          {DialogStep::setText(POINT_FIELD_X, "1"), DialogStep::click(DLG_OK)});
  s.platform.pushKey(KEY_R);
  // Cancel gives no point.
  s.platform.scriptDialog(TITLE_POINT_RELATIVE, {DialogStep::click(DLG_CANCEL)});
  s.platform.pushKey(KEY_R);
  // Polar: 270 degrees is used as -90.
  s.platform.scriptDialog(TITLE_POINT_POLAR, {DialogStep::setText(POLAR_FIELD_DISTANCE, "-2"),
                                              DialogStep::setText(POLAR_FIELD_ANGLE, "270"),
                                              DialogStep::click(DLG_OK)});
  s.platform.pushKey(KEY_P);
  s.platform.pushKey(KEY_RETURN);
  s.run();
  ASSERT_EQ(points.points.size(), 4u);
  EXPECT_EQ(points.points[1], (Node{2.5f, -1, 3}));
  EXPECT_EQ(points.points[2], (Node{3.5f, -1, 3}));
  EXPECT_NEAR(points.points[3].x, 3.5, 1e-5);
  EXPECT_NEAR(points.points[3].y, -3.0, 1e-5);
  EXPECT_FLOAT_EQ(points.points[3].z, 3.0f);
  // The cross-hair moved to the typed point.
  EXPECT_EQ(s.shell.input().cursor, s.at(3.5f, -3.0f));
}

TEST(ShellInput, PolarAngleAndPlaneOfTheView) {
  const double pi = std::numbers::pi;
  EXPECT_NEAR(polarAngle(270), -pi / 2, 1e-12);
  EXPECT_NEAR(polarAngle(-270), pi / 2, 1e-12);
  EXPECT_NEAR(polarAngle(180), pi, 1e-12);
  EXPECT_NEAR(polarAngle(540), pi, 1e-12);  // once only
  Units metres;
  const Node yz = polarOffset(VIEW_YZ, 2, 90, metres);
  EXPECT_TRUE(tavtest::near(yz, {0, 0, 2}, 1e-6));
  const Node xz = polarOffset(VIEW_XZ, 2, 0, metres);
  EXPECT_EQ(xz, (Node{2, 0, 0}));
  Units feet{true};
  const Node f = polarOffset(VIEW_3D, 3.28084, 0, feet);
  EXPECT_NEAR(f.x, 1.0, 1e-6);
}

TEST(ShellInput, MirrorAndMoveTransforms) {
  // Across the line through (1, 0) along +y in the XY view: x -> 2 - x.
  EXPECT_EQ(mirrorInViewPlane(VIEW_XY, {3, 5, 7}, {1, 0, 0}, {1, 2, 0}), (Node{-1, 5, 7}));
  // Across the diagonal y = z in the YZ view: y and z swap.
  EXPECT_EQ(mirrorInViewPlane(VIEW_YZ, {9, 1, 4}, {0, 0, 0}, {0, 1, 1}), (Node{9, 4, 1}));
  // A line too short: unchanged.
  EXPECT_EQ(mirrorInViewPlane(VIEW_XZ, {3, 5, 7}, {1, 0, 0}, {1.0005f, 0, 0}), (Node{3, 5, 7}));
  EXPECT_EQ(dragMoveNode({1, 2, 3}, {1, 1, 1}, {2, 3, 4}), (Node{2, 4, 6}));
}

TEST(ShellInput, OptionInputsCheckTheirRanges) {
  ShellSession s;
  for (const char* a : {"0.25", "2000", "abc"}) {
    s.platform.answerInputLine(std::string(a));
    s.platform.pushMenu(CMD_COORD_SNAP_DISTANCE);
  }
  s.platform.answerInputLine(std::string("12"));
  s.platform.pushMenu(CMD_NODE_SNAP_WIDTH);
  s.platform.answerInputLine(std::string("101"));
  s.platform.pushMenu(CMD_NODE_SNAP_WIDTH);
  s.platform.answerInputLine(std::string("2"));
  s.platform.pushMenu(CMD_CIRCLE_SEGMENTS);
  s.platform.answerInputLine(std::string("72"));
  s.platform.pushMenu(CMD_CIRCLE_SEGMENTS);
  s.platform.answerInputLine(std::string("0.05"));
  s.platform.pushMenu(CMD_GRID_SIZE);
  s.platform.answerInputLine(std::nullopt);  // Cancel
  s.platform.pushMenu(CMD_GRID_SIZE);
  s.platform.pushMenu(CMD_UNITS_FEET);  // feet: the snap distance is entered in feet
  s.platform.answerInputLine(std::string("1"));
  s.platform.pushMenu(CMD_COORD_SNAP_DISTANCE);
  s.run();
  const ProjectSettings& st = s.project().settings;
  EXPECT_NEAR(st.cursorSnap, 1 / 3.28084, 1e-6);
  EXPECT_FLOAT_EQ(st.nodeSnapWidth, 12.0f);
  EXPECT_EQ(s.shell.session().circleSegments, 72);
  EXPECT_FLOAT_EQ(st.gridSize, 1.0f);
  const auto& in = s.platform.inputLines();
  ASSERT_EQ(in.size(), 10u);
  EXPECT_EQ(in[0].prompt, "Set Cursor Snap ( 0 .. 1000 ):");
  EXPECT_EQ(in[0].text, "0.500");
  EXPECT_EQ(in[3].prompt, "Node Snap Width (1 - 100):");
  EXPECT_EQ(in[5].prompt, "Circle Resolution (3 - 360):");
  EXPECT_EQ(in[7].prompt, "Grid size(0.1 - 100) :");
  EXPECT_EQ(in[9].text, "0.82");  // 0.25 m shown in feet
  int invalid = 0;
  for (const MessageRecord& m : s.platform.messages()) invalid += m.text == "Invalid entry !";
  EXPECT_EQ(invalid, 5);  // 2000, abc, 101, 2, 0.05
  // The units went to the history file.
  EXPECT_TRUE(loadHistory(s.dir.file("HISTORY.TVX")).feet);
}

TEST(ShellInput, CommentAndLayerToggles) {
  ShellSession s;
  s.add(makeSquare(0, 0, 1, 0, LAYER_AUX));
  s.platform.answerInputLine(std::string("Hall A"));
  s.platform.pushPanelClick(PANEL_COMMENT);
  // AUX drawing starts off; on, then off again.
  s.platform.pushMenu(CMD_TOGGLE_AUX);
  s.check([&] {
    EXPECT_EQ(s.project().objects.head()->flags & OF_HIDDEN, 0u);
    EXPECT_TRUE(s.window().menuItemChecked(CMD_TOGGLE_AUX));
  });
  s.platform.pushMenu(CMD_TOGGLE_AUX);
  s.platform.pushMenu(CMD_TOGGLE_GRID);
  s.run();
  EXPECT_EQ(s.shell.session().comment, "Hall A");
  EXPECT_EQ(s.platform.inputLines().at(0).prompt, "Comment (80 chars max.):");
  EXPECT_EQ(s.platform.inputLines().at(0).maxLength, 80);
  EXPECT_NE(s.project().objects.head()->flags & OF_HIDDEN, 0u);
  EXPECT_FALSE(s.window().menuItemChecked(CMD_TOGGLE_AUX));
  EXPECT_TRUE(s.window().menuItemChecked(CMD_TOGGLE_GRID));
  EXPECT_FALSE(s.shell.view().grid.empty());
}

TEST(ShellInput, PanelButtonsActAsKeys) {
  ShellSession s;
  s.add(makeSquare(0, 0, 10));
  s.platform.pushPanelClick(PANEL_3D);  // 3D
  s.check([&] {
    EXPECT_EQ(s.shell.view().mode, VIEW_3D);
    EXPECT_TRUE(s.window().panel()->checked(PANEL_3D));
    EXPECT_FALSE(s.window().panel()->checked(PANEL_XY));
  });
  s.platform.pushPanelClick(PANEL_HIDDEN);  // hidden backfaces
  s.platform.pushPanelClick(PANEL_YZ);      // YZ
  s.platform.pushKey(keyF(7));
  s.check([&] { EXPECT_GT(s.shell.view().zoom, 5.0f); });
  s.platform.pushPanelClick(PANEL_ZOOM_OUT);  // zoom out halves
  s.run();
  EXPECT_EQ(s.shell.view().mode, VIEW_YZ);
  EXPECT_TRUE(s.shell.view().hiddenBackfaces);
  EXPECT_TRUE(s.window().menuItemChecked(CMD_HIDDEN_BACKFACES));
  EXPECT_TRUE(s.window().panel()->checked(PANEL_HIDDEN));
}

}  // namespace
}  // namespace tav::test

namespace tav::test {
namespace {

TEST(ShellInput, ZoomInByWindowLoopAndEyePoint) {
  ShellSession s;
  s.add(makeSquare(0, 0, 1));
  s.xyView(100.0f);
  // F6 while idle runs like a command: each click zooms to the window of
  // half the view's size around it (factor 0.99), centred on the click.
  s.platform.pushKey(keyF(6));
  s.check([&] {
    EXPECT_EQ(s.shell.activeCommand(), 601);
    EXPECT_FALSE(s.window().topMenuEnabled(0));
  });
  s.click({500, 300});  // x = 1 m
  s.check([&] {
    EXPECT_NEAR(s.shell.view().zoom, 198.0f, 1e-3);
    EXPECT_NEAR(s.shell.view().offsets[VIEW_XY].h, 1.0, 1e-6);
  });
  s.platform.pushKey(KEY_ESCAPE);
  s.platform.pushKey(keyF(5));
  s.check([&] {
    EXPECT_EQ(s.shell.activeCommand(), 0);
    EXPECT_NEAR(s.shell.view().zoom, 99.0f, 1e-3);
  });
  // 606: the eye point of the perspective view; the coordinate snap goes off.
  s.platform.pushCommand(CMD_EYE_POINT);
  s.platform.pushClick({700, 300});  // zoom 99: x = 1 + 300 / 99, snapped to 0.5 m
  s.run();
  EXPECT_EQ(s.shell.view().mode, VIEW_PERSPECTIVE);
  EXPECT_FLOAT_EQ(s.shell.view().eye.x, 4.0f);
  EXPECT_FLOAT_EQ(s.shell.view().eye.y, 0.0f);
  EXPECT_FALSE(s.project().settings.cursorSnapOn);
}

}  // namespace
}  // namespace tav::test
