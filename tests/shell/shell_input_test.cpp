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

// XY view at 64 pixels per metre (1 pixel = 1/64 m, exact in float), node
// snap width 10. Room nodes: A at the origin, B 10 pixels right and 5 down
// of it, a hidden one 20 pixels left; an AUX node 20 pixels above A.
struct NodeSnapCase {
  const char* name;
  std::uint32_t layer;
  PixelPoint fromA;            // the mouse, in pixels from A
  std::optional<Node> wanted;  // the node snapped to
};

constexpr Node NODE_A{0, 0, 0}, NODE_B{10.0f / 64, -5.0f / 64, 0}, NODE_AUX{0, 20.0f / 64, 0};

const NodeSnapCase NODE_SNAP_CASES[] = {
    {"ExactWidthIsOutside", LAYER_ROOM, {-10, 0}, std::nullopt},
    {"JustInsideTheWidth", LAYER_ROOM, {-9, 0}, NODE_A},
    {"HiddenObjectsAreLeftOut", LAYER_ROOM, {-20, 0}, std::nullopt},
    // A is 8 / 3 pixels away: the threshold becomes 3, and B at 2 / 2 wins.
    {"LaterNodeNearerOnBothAxesWins", LAYER_ROOM, {8, 3}, NODE_B},
    // A is 7 / 2 away: B at 3 / 3 is not below the new threshold 2.
    {"LaterNodeMustBeatTheNearerAxis", LAYER_ROOM, {7, 2}, NODE_A},
    {"OtherLayersAreLeftOut", LAYER_ROOM, {0, -20}, std::nullopt},
    {"TheGivenLayerOnly", LAYER_AUX, {0, -20}, NODE_AUX},
};

TEST(ShellInput, NodeSnapTakesTheNearestCandidateWithinTheWidth) {
  ShellSession s;
  s.view2D(VIEW_XY, 64.0f);
  s.add(makeLine(NODE_A, {-1, -1, 0}));
  s.add(makeLine(NODE_B, {2, 2, 0}));
  s.add(makeLine({-20.0f / 64, 0, 0}, {-1, 0, 0}))->flags |= OF_HIDDEN;
  s.add(makeLine(NODE_AUX, {0, 1, 0}, LAYER_AUX));
  const PixelPoint a = s.at(0, 0);
  for (const NodeSnapCase& c : NODE_SNAP_CASES) {
    SCOPED_TRACE(c.name);
    const PixelPoint mouse{a.x + c.fromA.x, a.y + c.fromA.y};
    const auto found = findSnapNode(s.shell.view(), s.project().objects, c.layer, 10, mouse, false);
    EXPECT_EQ(found ? std::optional<Node>(found->node) : std::nullopt, c.wanted);
  }
}

TEST(ShellInput, MouseSnapsToTheGridOrToANodeAndMovesTheCrossHair) {
  // XY view at 100 pixels per metre: pixel 226 is x = -1.74, row 126 y = 1.74.
  ShellSession s;
  PointCollector points;
  s.shell.registry().add(CMD_ROOM_POLYLINE, std::ref(points));
  s.xyView(100.0f);
  s.add(makeLine(NODE_B, {2, 2, 0}));
  s.menu(CMD_ROOM_POLYLINE);
  s.click({226, 126});
  s.check([&] {
    EXPECT_EQ(s.shell.input().cursor, (PixelPoint{250, 150}));
    EXPECT_EQ(s.window().panel()->text(PANEL_FIELD_X), "-1.500");
    EXPECT_EQ(s.window().panel()->text(PANEL_FIELD_Y), "1.500");
  });
  s.platform.pushKey(keyF(9));   // coordinate snap off: millimetres
  s.platform.pushKey(keyF(11));  // node snap on, no node near: the mouse itself
  s.click({574, 300});
  const PixelPoint b = s.at(NODE_B.x, NODE_B.y);
  s.click({b.x + 3, b.y - 2});
  s.enter();
  s.run();
  ASSERT_EQ(points.points.size(), 3u);
  EXPECT_TRUE(tavtest::near(points.points[0], {-1.5, 1.5, 0}));
  EXPECT_NEAR(points.points[1].x, 1.74, 1e-6);
  EXPECT_EQ(points.points[2], NODE_B);
  EXPECT_EQ(s.shell.input().cursor, b);
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
  // Polar: 270 degrees is used as -90.
  s.platform.scriptDialog(TITLE_POINT_POLAR, {DialogStep::setText(POLAR_FIELD_DISTANCE, "-2"),
                                              DialogStep::setText(POLAR_FIELD_ANGLE, "270"),
                                              DialogStep::click(DLG_OK)});
  s.platform.pushKey(KEY_P);
  s.enter();
  s.run();
  ASSERT_EQ(points.points.size(), 4u);
  EXPECT_EQ(points.points[1], (Node{2.5f, -1, 3}));
  EXPECT_EQ(points.points[2], (Node{3.5f, -1, 3}));
  EXPECT_TRUE(tavtest::near(points.points[3], {3.5, -3, 3}, 1e-5));
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
  // A negative distance counts as its size: 270 degrees is straight down.
  EXPECT_TRUE(tavtest::near(polarOffset(VIEW_XY, -2, 270, metres), {0, -2, 0}, 1e-6));
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
  for (const char* a : {"0.25", "2000"}) {
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
  ASSERT_EQ(in.size(), 8u);
  EXPECT_EQ(in[0].prompt, "Set Cursor Snap ( 0 .. 1000 ):");
  EXPECT_EQ(in[0].text, "0.500");
  EXPECT_EQ(in[2].prompt, "Node Snap Width (1 - 100):");
  EXPECT_EQ(in[4].prompt, "Circle Resolution (3 - 360):");
  EXPECT_EQ(in[6].prompt, "Grid size(0.1 - 100) :");
  EXPECT_EQ(in[7].text, "0.82");  // 0.25 m shown in feet
  int invalid = 0;
  for (const MessageRecord& m : s.platform.messages()) invalid += m.text == "Invalid entry !";
  EXPECT_EQ(invalid, 4);  // 2000, 101, 2, 0.05
  // The units went to the history file.
  EXPECT_TRUE(loadHistory(s.dir.file("HISTORY.TVX")).feet);
}

TEST(ShellInput, ZoomInByWindowLoopAndEyePoint) {
  ShellSession s;
  s.add(makeSquare(0, 0, 1));
  s.xyView(100.0f);
  // F6 while idle runs like a command: each click zooms to the window of
  // half the view's size around it (factor 0.99), centred on the click.
  s.platform.pushKey(keyF(6));
  s.click({500, 300});  // x = 1 m
  s.check([&] {
    EXPECT_NEAR(s.shell.view().zoom, 198.0f, 1e-3);
    EXPECT_NEAR(s.shell.view().offsets[VIEW_XY].h, 1.0, 1e-6);
  });
  s.platform.pushKey(KEY_ESCAPE);
  s.platform.pushKey(keyF(5));  // halves the zoom: 99
  // 606: the eye point of the perspective view; the coordinate snap goes off.
  s.platform.pushCommand(CMD_EYE_POINT);
  s.platform.pushClick({700, 300});  // zoom 99: x = 1 + 300 / 99, snapped to 0.5 m
  s.run();
  EXPECT_EQ(s.shell.view().mode, VIEW_PERSPECTIVE);
  EXPECT_TRUE(tavtest::near(s.shell.view().eye, {4, 0, s.shell.view().eye.z}));
  EXPECT_FALSE(s.project().settings.cursorSnapOn);
}

}  // namespace
}  // namespace tav::test
