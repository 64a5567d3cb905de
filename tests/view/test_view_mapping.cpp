// Pixel mappings of the views, shared offsets of the 2D views and panning.
#include <gtest/gtest.h>

#include <cmath>

#include "view/eye_view.h"
#include "view/view_render.h"
#include "view/view_state.h"
#include "view_test_util.h"

namespace tav {
namespace {

using test::makeView;

struct MappingCase {
  const char* name;
  int mode;
  float zoom;
  ViewOffset offset;
  Node node;
  int px, py;
  double depth = 0;  // along the line of sight, towards the viewer
};

// 800 x 600 view: the origin is (400, 300).
const MappingCase MAPPING_CASES[] = {
    // h = x, v = y: (400 - 2*10) + 5*10 = 430; (3*10 + 300) - 7*10 = 260.
    {"xy", VIEW_XY, 10, {2, 3}, {5, 7, 100}, 430, 260, 100},
    // h = y, v = z; x is the depth.
    {"yz", VIEW_YZ, 10, {2, 3}, {100, 5, 7}, 430, 260, 100},
    // h = x, v = z; y is the depth, the viewer on the -y side.
    {"xz", VIEW_XZ, 10, {2, 3}, {5, 100, 7}, 430, 260, -100},
    // 400 + 2.5 = 402.5 truncates to 402.
    {"xy fraction", VIEW_XY, 10, {0, 0}, {0.25f, 0, 0}, 402, 300},
    // 400 - 400.5 = -0.5 and 300 - 300.75 = -0.75 truncate toward zero to 0.
    {"xy toward zero", VIEW_XY, 1, {0, 0}, {-400.5f, 300.75f, 0}, 0, 0},
    // -0.5 - 1 = -1.5 truncates to -1, not -2.
    {"xy negative", VIEW_XY, 1, {0, 0}, {-401.5f, 0, 0}, -1, 300},
    // Far-off points stop at +-32767.
    {"xy clamp", VIEW_XY, 10, {0, 0}, {1.0e6f, 1.0e6f, 0}, 32767, -32767},
    {"yz clamp", VIEW_YZ, 10, {0, 0}, {0, -1.0e6f, -1.0e6f}, -32767, 32767},
};

TEST(ViewMapping, ModelToPixelInEveryView) {
  for (const MappingCase& c : MAPPING_CASES) {
    SCOPED_TRACE(c.name);
    ViewState s = makeView(c.mode, 800, 600, c.zoom);
    s.offsets[c.mode] = c.offset;
    const ScreenPoint p = projectNode(s, c.node);
    EXPECT_EQ(p.x, c.px);
    EXPECT_EQ(p.y, c.py);
    EXPECT_DOUBLE_EQ(p.depth, c.depth);
  }
}

TEST(ViewMapping, PixelToModelInverts2DViews) {
  for (int mode : {VIEW_XY, VIEW_YZ, VIEW_XZ}) {
    SCOPED_TRACE(mode);
    ViewState s = makeView(mode, 800, 600, 10);
    s.offsets[mode] = {2, 3};
    // 2 + (430 - 400) / 10 = 5; 3 - (260 - 300) / 10 = 7.
    EXPECT_DOUBLE_EQ(screenToModel(s, 430, AXIS_H), 5.0);
    EXPECT_DOUBLE_EQ(screenToModel(s, 260, AXIS_V), 7.0);
    // The centre shows the offsets.
    EXPECT_DOUBLE_EQ(screenToModel(s, 400, AXIS_H), 2.0);
    EXPECT_DOUBLE_EQ(screenToModel(s, 300, AXIS_V), 3.0);
  }
}

TEST(ViewMapping, ThreeDViewUsesTheTurnedPlane) {
  ViewState s = makeView(VIEW_3D, 800, 600, 100);
  // Default angles alpha 15°, gamma -25°: node (1, 0, 0) gives
  // h = cos 15° = 0.965926, v = cos(-25°) sin 15° = 0.234570,
  // depth = sin(-25°) sin 15° = -0.109382.
  const ViewPlanePoint q = toViewPlane(s, {1, 0, 0});
  EXPECT_NEAR(q.h, 0.965926, 1e-6);
  EXPECT_NEAR(q.v, 0.234570, 1e-6);
  EXPECT_NEAR(q.depth, -0.109382, 1e-6);
  const ScreenPoint p = projectNode(s, {1, 0, 0});
  EXPECT_EQ(p.x, 496);  // 400 + 96.59
  EXPECT_EQ(p.y, 276);  // 300 - 23.46
  // Node (0, 0, 1): v = -sin(-25°) = 0.422618.
  EXPECT_NEAR(toViewPlane(s, {0, 0, 1}).v, 0.422618, 1e-6);
  EXPECT_NEAR(toViewPlane(s, {0, 0, 1}).h, 0.0, 1e-12);
}

TEST(ViewMapping, PendingShiftsAddUpAndMoveTheSharedOffsetsAtTheRedraw) {
  ViewState s = makeView(VIEW_XY, 800, 600, 4);
  s.offsets = {ViewOffset{1, 2}, ViewOffset{3, 4}, ViewOffset{5, 6}, ViewOffset{7, 8}};
  addScrollShift(s, ScrollAxis::Horizontal, ScrollAction::LineBack, 0);  // +8 px
  addScrollShift(s, ScrollAxis::Horizontal, ScrollAction::LineBack, 0);
  EXPECT_EQ(s.shiftX, 16);
  EXPECT_FLOAT_EQ(s.offsets[VIEW_XY].h, 1);
  prepareView(s, 800, 600);
  EXPECT_EQ(s.shiftX, 0);
  // offsetH -= 16 / 4: XY's x and XZ's x, not YZ's y.
  EXPECT_FLOAT_EQ(s.offsets[VIEW_XY].h, -3);
  EXPECT_FLOAT_EQ(s.offsets[VIEW_XZ].h, -3);
  EXPECT_FLOAT_EQ(s.offsets[VIEW_YZ].h, 3);
  // Line down: -8 px, offsetV += -8 / 4: XY's y is YZ's horizontal.
  addScrollShift(s, ScrollAxis::Vertical, ScrollAction::LineForward, 0);
  prepareView(s, 800, 600);
  EXPECT_FLOAT_EQ(s.offsets[VIEW_XY].v, 0);
  EXPECT_FLOAT_EQ(s.offsets[VIEW_YZ].h, 0);
  EXPECT_FLOAT_EQ(s.offsets[VIEW_XZ].v, 6);
}

TEST(ViewMapping, SharedAxesWorkBothWays) {
  ViewState s;
  setViewOffset(s, VIEW_YZ, AXIS_V, 9);  // YZ's z is XZ's z
  EXPECT_FLOAT_EQ(s.offsets[VIEW_XZ].v, 9);
  EXPECT_FLOAT_EQ(s.offsets[VIEW_XY].v, 0);
  setViewOffset(s, VIEW_XZ, AXIS_H, 4);  // XZ's x is XY's x
  EXPECT_FLOAT_EQ(s.offsets[VIEW_XY].h, 4);
  setViewOffset(s, VIEW_YZ, AXIS_H, -3);  // YZ's y is XY's y
  EXPECT_FLOAT_EQ(s.offsets[VIEW_XY].v, -3);
  setViewOffset(s, VIEW_3D, AXIS_H, 11);  // the 3D pair is its own
  EXPECT_FLOAT_EQ(s.offsets[VIEW_XY].h, 4);
  EXPECT_FLOAT_EQ(s.offsets[VIEW_XZ].h, 4);
}

// Scroll bar actions on an 800 x 600 view: the parallel views take a
// pending shift in pixels, the perspective view turns its eye instead
// (degrees from its start at -90, -90).
struct ScrollCase {
  const char* name;
  bool perspective;
  ScrollAxis axis;
  ScrollAction action;
  int pos;
  int shiftX, shiftY;
  double dAlpha = 0, dGamma = 0;
};

class ScrollBars : public testing::TestWithParam<ScrollCase> {};

TEST_P(ScrollBars, ShiftOrTurnByTheirSteps) {
  const ScrollCase& c = GetParam();
  ViewState s = makeView(VIEW_XY, 800, 600, 1);
  if (c.perspective) enterPerspective(s, {0, 0, 0});
  scrollView(s, {c.axis, c.action, c.pos});
  EXPECT_EQ(s.shiftX, c.shiftX);
  EXPECT_EQ(s.shiftY, c.shiftY);
  if (!c.perspective) return;
  EXPECT_NEAR(s.perspectiveAngles[0], (-90 + c.dAlpha) * VIEW_DEGREE, 1e-5);
  EXPECT_NEAR(s.perspectiveAngles[2], (-90 + c.dGamma) * VIEW_DEGREE, 1e-5);
}

using AX = ScrollAxis;
using SA = ScrollAction;
INSTANTIATE_TEST_SUITE_P(
    ViewMapping, ScrollBars,
    testing::Values(
        ScrollCase{"LineRight", false, AX::Horizontal, SA::LineForward, 0, -8, 0},
        ScrollCase{"PageLeft", false, AX::Horizontal, SA::PageBack, 0, 400, 0},
        ScrollCase{"PageRight", false, AX::Horizontal, SA::PageForward, 0, -400, 0},
        ScrollCase{"ThumbAt25", false, AX::Horizontal, SA::Thumb, 25, -200, 0},
        ScrollCase{"ThumbClampedAtMinus50", false, AX::Horizontal, SA::Thumb, -50, 400, 0},
        ScrollCase{"LineUp", false, AX::Vertical, SA::LineBack, 0, 0, 8},
        ScrollCase{"PageUp", false, AX::Vertical, SA::PageBack, 0, 0, 300},
        ScrollCase{"VerticalThumbAt10", false, AX::Vertical, SA::Thumb, 10, 0, -60},
        ScrollCase{"EyeLineLeft", true, AX::Horizontal, SA::LineBack, 0, 0, 0, -5, 0},
        ScrollCase{"EyePageRight", true, AX::Horizontal, SA::PageForward, 0, 0, 0, 50, 0},
        ScrollCase{"EyeThumbAt7", true, AX::Horizontal, SA::Thumb, 7, 0, 0, 35, 0},
        ScrollCase{"EyeLineUp", true, AX::Vertical, SA::LineBack, 0, 0, 0, 0, 5},
        ScrollCase{"EyePageDown", true, AX::Vertical, SA::PageForward, 0, 0, 0, 0, -50},
        ScrollCase{"EyeThumbAt3", true, AX::Vertical, SA::Thumb, 3, 0, 0, 0, -15}),
    [](const testing::TestParamInfo<ScrollCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tav
