// Zoom all, zoom window, zoom in and out, view selection and turning the 3D
// view, checked against hand calculations on an 800 x 600 view.
#include <gtest/gtest.h>

#include <cmath>

#include "model/project.h"
#include "platform/keys.h"
#include "view/view_render.h"
#include "view/view_zoom.h"
#include "view_test_util.h"

namespace tav {
namespace {

using test::makeObject;
using test::makeView;

TEST(ViewZoom, ZoomAllOnASinglePointGivesAOnePixelBoxAndAFiniteZoom) {
  ObjectList list;
  list.appendObject(makeObject({{3, 4, 5}}, {{IDX_START, 0}}));
  ViewState s = makeView(VIEW_XY, 800, 600, 10);
  ASSERT_TRUE(zoomAll(s, list));
  // Box 1 x 1 pixel = 0.1 x 0.1 m; |h/w| = 1 > 600/800, so fit = 600 / 0.1.
  EXPECT_FLOAT_EQ(s.zoom, 0.95f * 6000.0f);
  EXPECT_FLOAT_EQ(s.offsets[VIEW_XY].h, 3);
  EXPECT_FLOAT_EQ(s.offsets[VIEW_XY].v, 4);
  // Repeating it keeps growing the zoom, but never past the bound.
  for (int i = 0; i < 20; ++i) zoomAll(s, list);
  EXPECT_TRUE(std::isfinite(s.zoom));
  EXPECT_LE(s.zoom, ZOOM_MAXIMUM);
}

TEST(ViewZoom, ZoomAllFitsTheWiderSide) {
  ObjectList list;
  list.appendObject(makeObject({{0, 0, 0}, {20, 10, 0}}, {{IDX_START, 0}, {IDX_LINE, 1}}));
  ViewState s = makeView(VIEW_XY, 800, 600, 1);
  ASSERT_TRUE(zoomAll(s, list));
  // 20 x 10 m, 10/20 < 0.75: fit = 800 / 20 = 40, zoom 38, centre (10, 5).
  EXPECT_FLOAT_EQ(s.zoom, 38.0f);
  EXPECT_FLOAT_EQ(s.offsets[VIEW_XY].h, 10);
  EXPECT_FLOAT_EQ(s.offsets[VIEW_XY].v, 5);
}

TEST(ViewZoom, ZoomAllDoesNothingOnAnEmptyModelAndFallsBackWhenAllIsHidden) {
  ObjectList empty;
  ViewState s = makeView(VIEW_XY, 800, 600, 10);
  EXPECT_FALSE(zoomAll(s, empty));
  EXPECT_FLOAT_EQ(s.zoom, 10);

  // Objects exist but none is drawable: the box is -1..1.
  ObjectList hidden;
  auto o = makeObject({{50, 50, 0}}, {{IDX_START, 0}});
  o->flags = OF_HIDDEN;
  hidden.appendObject(std::move(o));
  EXPECT_FALSE(viewBoundingBox(s, hidden).has_value());
  ASSERT_TRUE(zoomAll(s, hidden));
  EXPECT_FLOAT_EQ(s.zoom, 0.95f * 300.0f);  // 2 x 2 m: 600 / 2
}

TEST(ViewZoom, BoundingBoxSkipsHiddenAndInertObjectsAndBadCoordinates) {
  ObjectList list;
  list.appendObject(makeObject({{1, 2, 3}, {-1, 5, 0}}, {{IDX_START, 0}, {IDX_LINE, 1}}));
  auto inert = makeObject({{100, 100, 100}}, {{IDX_START, 0}});
  inert->flags = 0x20;
  list.appendObject(std::move(inert));
  list.appendObject(makeObject({{NAN, 0, 0}, {INFINITY, 0, 0}}, {{IDX_START, 0}}));
  ViewState s = makeView(VIEW_XZ, 800, 600, 1);
  const auto box = viewBoundingBox(s, list);
  ASSERT_TRUE(box);
  EXPECT_DOUBLE_EQ(box->minH, -1);
  EXPECT_DOUBLE_EQ(box->maxH, 1);
  EXPECT_DOUBLE_EQ(box->minV, 0);  // z in XZ
  EXPECT_DOUBLE_EQ(box->maxV, 3);
}

TEST(ViewZoom, ZoomWindowFromTwoCorners) {
  ViewState s = makeView(VIEW_XY, 800, 600, 10);
  // Corners in any order: 200 x 200 px around (400, 200) = model (0, 10).
  ASSERT_TRUE(zoomWindow(s, 500, 100, 300, 300));
  // 20 x 20 m, 1 > 0.75: fit = 600 / 20 = 30.
  EXPECT_FLOAT_EQ(s.zoom, 0.99f * 30.0f);
  EXPECT_FLOAT_EQ(s.offsets[VIEW_XY].h, 0);
  EXPECT_FLOAT_EQ(s.offsets[VIEW_XY].v, 10);

  // Two clicks on the same pixel give a 2 x 2 pixel window.
  ViewState t = makeView(VIEW_XY, 800, 600, 10);
  ASSERT_TRUE(zoomWindow(t, 400, 300, 400, 300));
  EXPECT_FLOAT_EQ(t.zoom, 0.99f * 3000.0f);  // 0.2 m high: 600 / 0.2
}

TEST(ViewZoom, ZoomInAtAPixelDoublesTheZoomAlmost) {
  ViewState s = makeView(VIEW_XY, 800, 600, 10);
  s.offsets[VIEW_XY] = {1, 1};
  // Window (400 +- 200, 150 +- 150): 40 x 30 m, fit 800 / 40 = 20.
  ASSERT_TRUE(zoomInAt(s, 600, 150));
  EXPECT_FLOAT_EQ(s.zoom, 19.8f);
  // The clicked pixel's model point becomes the centre: 1 + 200/10, 1 + 150/10.
  EXPECT_FLOAT_EQ(s.offsets[VIEW_XY].h, 21);
  EXPECT_FLOAT_EQ(s.offsets[VIEW_XY].v, 16);

  ViewState atLimit = makeView(VIEW_XY, 800, 600, 1000);
  EXPECT_FALSE(zoomInAt(atLimit, 400, 300));
  ViewState justBelow = makeView(VIEW_XY, 800, 600, 999);
  EXPECT_TRUE(zoomInAt(justBelow, 400, 300));
  ViewState in3d = makeView(VIEW_3D, 800, 600, 10);
  EXPECT_FALSE(zoomInAt(in3d, 400, 300));
}

TEST(ViewZoom, ZoomOutHalvesIn2DViewsDownToTheMinimum) {
  ViewState s = makeView(VIEW_YZ, 800, 600, 10);
  ASSERT_TRUE(zoomOut(s));
  EXPECT_FLOAT_EQ(s.zoom, 5);
  s.zoom = 0.001f;
  EXPECT_TRUE(zoomOut(s));
  EXPECT_FLOAT_EQ(s.zoom, 0.0005f);
  EXPECT_FALSE(zoomOut(s));
  ViewState in3d = makeView(VIEW_3D, 800, 600, 10);
  EXPECT_FALSE(zoomOut(in3d));
}

// Expected zoom and centre of a 10 m segment along x in the 3D view at
// alpha (gamma -25°): h spans 10 cos a, v spans 10 cos g sin a.
struct Fit {
  double zoom, h, v;
};
Fit segmentFit(double alphaDeg) {
  const double a = alphaDeg * VIEW_DEGREE, g = -25.0 * VIEW_DEGREE;
  const double w = 10 * std::cos(a), h = 10 * std::cos(g) * std::sin(a);
  const double fit = h / w > 0.75 ? 600 / h : 800 / w;
  return {0.95 * fit, w / 2, h / 2};
}

TEST(ViewZoom, FourRightPressesIn3DTurnBy20DegreesAndRefitEachTime) {
  ObjectList list;
  list.appendObject(makeObject({{0, 0, 0}, {10, 0, 0}}, {{IDX_START, 0}, {IDX_LINE, 1}}));
  ViewState s = makeView(VIEW_XY, 800, 600, 1);
  ASSERT_TRUE(selectView(s, list, VIEW_3D));
  EXPECT_NEAR(s.angles[0], 15 * VIEW_DEGREE, 1e-6);
  EXPECT_NEAR(s.zoom, segmentFit(15).zoom, 1e-3);  // selecting 3D zooms all
  for (int press = 1; press <= 4; ++press) {
    SCOPED_TRACE(press);
    ASSERT_TRUE(turnView(s, list, ArrowKey::Right));
    const Fit f = segmentFit(15 + 5 * press);
    EXPECT_NEAR(s.angles3d[0], (15 + 5 * press) * VIEW_DEGREE, 1e-6);
    EXPECT_NEAR(s.zoom, f.zoom, 1e-3);
    EXPECT_NEAR(s.offsets[VIEW_3D].h, f.h, 1e-5);
    EXPECT_NEAR(s.offsets[VIEW_3D].v, f.v, 1e-5);
  }
  // The matrix follows: R1 = (cos 35°, -sin 35°, 0).
  EXPECT_NEAR(s.matrix[0][1], -std::sin(35 * VIEW_DEGREE), 1e-6);
  // The up and down keys turn gamma; left turns back; a 2D view does not
  // turn.
  turnView(s, list, *arrowKeyOf(KEY_UP));
  EXPECT_NEAR(s.angles3d[2], -30 * VIEW_DEGREE, 1e-6);
  turnView(s, list, *arrowKeyOf(KEY_DOWN));
  turnView(s, list, *arrowKeyOf(KEY_DOWN));
  turnView(s, list, *arrowKeyOf(KEY_LEFT));
  EXPECT_NEAR(s.angles3d[2], -20 * VIEW_DEGREE, 1e-6);
  EXPECT_NEAR(s.angles3d[0], 30 * VIEW_DEGREE, 1e-6);
  ViewState xy = makeView(VIEW_XY, 800, 600, 7);
  EXPECT_FALSE(turnView(xy, list, ArrowKey::Right));
  EXPECT_FALSE(arrowKeyOf(KEY_A).has_value());
}

TEST(ViewZoom, SelectViewKeepsEachViewsOffsets) {
  ObjectList list;
  ViewState s = makeView(VIEW_XY, 800, 600, 1);
  s.offsets[VIEW_XY] = {1, 2};
  s.offsets[VIEW_YZ] = {2, 3};
  ASSERT_TRUE(selectView(s, list, VIEW_YZ));
  EXPECT_EQ(s.mode, VIEW_YZ);
  EXPECT_FLOAT_EQ(screenToModel(s, 400, AXIS_H), 2);
  EXPECT_NEAR(s.angles[0], -90 * VIEW_DEGREE, 1e-6);
  EXPECT_NEAR(s.angles[2], -90 * VIEW_DEGREE, 1e-6);
  EXPECT_FALSE(selectView(s, list, 4));  // the perspective is not a selectable view
  EXPECT_FALSE(selectView(s, list, -1));
  EXPECT_EQ(s.mode, VIEW_YZ);
}

TEST(ViewZoom, NewProjectSelects3DWithZoom5AndDefaultAngles) {
  Project project;
  ViewState s = makeView(VIEW_XZ, 800, 600, 42);
  s.angles3d = {1, 2, 3};
  resetViewForNewProject(s, project.objects);
  EXPECT_EQ(s.mode, VIEW_3D);
  EXPECT_FLOAT_EQ(s.zoom, 5);
  EXPECT_NEAR(s.angles[0], 15 * VIEW_DEGREE, 1e-6);
  EXPECT_NEAR(s.angles[2], -25 * VIEW_DEGREE, 1e-6);

  // A loaded project: wireframe, and its stored view.
  project.settings.view = VIEW_YZ;
  s.hiddenBackfaces = true;
  applyLoadedView(s, project);
  EXPECT_FALSE(s.hiddenBackfaces);
  EXPECT_EQ(s.mode, VIEW_YZ);
  project.settings.view = 77;  // damaged value
  applyLoadedView(s, project);
  EXPECT_EQ(s.mode, VIEW_XY);
}

// Wheel steps about a pixel: the model point under the pixel stays there.
struct WheelCase {
  const char* name;
  int mode;
  float zoom;
  int px, py, delta;
  float expectedZoom;  // 0: nothing happens
};

class WheelZoom : public testing::TestWithParam<WheelCase> {};

TEST_P(WheelZoom, KeepsThePointUnderThePointer) {
  const WheelCase& c = GetParam();
  ViewState s = makeView(c.mode, 800, 600, c.zoom);
  setViewOffset(s, c.mode, AXIS_H, 1.0f);
  setViewOffset(s, c.mode, AXIS_V, -2.0f);
  const double h = screenToModel(s, c.px, AXIS_H), v = screenToModel(s, c.py, AXIS_V);
  EXPECT_EQ(zoomAtPixel(s, c.px, c.py, wheelZoomFactor(c.delta)), c.expectedZoom != 0);
  EXPECT_FLOAT_EQ(s.zoom, c.expectedZoom != 0 ? c.expectedZoom : c.zoom);
  EXPECT_NEAR(screenToModel(s, c.px, AXIS_H), h, 1e-4);
  EXPECT_NEAR(screenToModel(s, c.py, AXIS_V), v, 1e-4);
}

// One notch in: x 1.25; two out: / 1.5625; the range ends at 1000 px/m.
INSTANTIATE_TEST_SUITE_P(
    ViewZoom, WheelZoom,
    testing::Values(WheelCase{"InAboveRightXY", VIEW_XY, 100, 700, 100, 120, 125},
                    WheelCase{"OutBelowLeftXZ", VIEW_XZ, 50, 10, 590, -240, 32},
                    WheelCase{"In3D", VIEW_3D, 20, 123, 456, 120, 25},
                    WheelCase{"StopsAtTheLimit", VIEW_XY, 900, 400, 300, 120, 1000},
                    WheelCase{"BeyondTheLimitNeverJumpsBack", VIEW_YZ, 5000, 400, 300, 120, 0}),
    [](const testing::TestParamInfo<WheelCase>& info) { return std::string(info.param.name); });

TEST(ViewZoom, PanMovesBySharedAxesAndResizeFollowsTheSideThatChangedLess) {
  ViewState s = makeView(VIEW_YZ, 800, 600, 20);
  // 40 px right, 10 px down at 20 px/m: the centre goes 2 m back in y, 0.5 m
  // up in z; XY's y and XZ's z follow.
  ASSERT_TRUE(panByPixels(s, 40, 10));
  EXPECT_FLOAT_EQ(s.offsets[VIEW_XY].v, -2.0f);
  EXPECT_FLOAT_EQ(s.offsets[VIEW_XZ].v, 0.5f);
  EXPECT_FLOAT_EQ(s.offsets[VIEW_XY].h, 0.0f);
  // Width x 1.5, height x 1.2: the zoom follows the height; narrower only:
  // the width.
  ASSERT_TRUE(resizeView(s, 1200, 720));
  EXPECT_FLOAT_EQ(s.zoom, 24.0f);
  ASSERT_TRUE(resizeView(s, 600, 720));
  EXPECT_FLOAT_EQ(s.zoom, 12.0f);
}

}  // namespace
}  // namespace tav
