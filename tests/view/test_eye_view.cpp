// The perspective view: fisheye projection, near-plane cutting, facing,
// depth keys and sorting, turning limits and the information block.
#include <gtest/gtest.h>

#include <cmath>

#include "model/model_object.h"
#include "view/eye_view.h"
#include "view_test_util.h"

namespace tav {
namespace {

using test::makeFace;

// 800 x 600 view, eye at the origin, default angles: looking along +x with
// +z up, so +y lies to the left. Scale = 800 / 1.5708 pixels per radian.
ViewState eyeView(Node eye = {0, 0, 0}) {
  ViewState s;
  setViewSize(s, 800, 600);
  enterPerspective(s, eye);
  return s;
}

TEST(Perspective, DefaultAnglesLookAlongXAndOnlyPointsAheadAreInFront) {
  const EyePoint e = toEye(eyeView(), {10, 2, 3});
  EXPECT_NEAR(e.u, -2, 1e-6);  // +y is to the left
  EXPECT_NEAR(e.v, 3, 1e-6);
  EXPECT_NEAR(e.w, 10, 1e-6);

  const ScreenPoint p = projectPerspective(eyeView({1, 2, 3}), {50, 2, 3});
  EXPECT_EQ(p.x, 400);
  EXPECT_EQ(p.y, 300);
  EXPECT_TRUE(p.front);
  EXPECT_NEAR(p.depth, 49, 1e-6);

  const ViewState s = eyeView();
  EXPECT_FALSE(projectPerspective(s, {-1, 0, 0}).front);
  EXPECT_TRUE(projectPerspective(s, {0.001f, 5, 0}).front);
  EXPECT_FALSE(projectPerspective(s, {-0.001f, 5, 0}).front);
}

TEST(Perspective, FisheyeMappingIsAngleTrue) {
  // Distance from the centre = 800 / 1.5708 px per radian x the angle off the
  // axis, whatever the range: 30° right (towards -y) at 10 m and at 100 m:
  // 400 + 509.30 x 0.523599 = 666.67.
  const ViewState s = eyeView();
  const float c30 = static_cast<float>(std::cos(30 * VIEW_DEGREE));
  double px = 0, py = 0;
  for (float r : {10.0f, 100.0f}) {
    fisheyePixel(s, toEye(s, {r * c30, -r / 2, 0}), px, py);
    EXPECT_NEAR(px, 666.67, 0.01) << r;
    EXPECT_NEAR(py, 300, 0.01) << r;
  }
  // 45° up: 300 - 509.30 x 0.785398 = -100; on the near plane 90° to the
  // left: 400 - 800 = -400.
  fisheyePixel(s, toEye(s, {5, 0, 5}), px, py);
  EXPECT_NEAR(py, -100, 0.01);
  fisheyePixel(s, toEye(s, {0, 7, 0}), px, py);
  EXPECT_NEAR(px, -400, 0.01);
}

TEST(Perspective, NearPlaneCutsEdgesAtWZero) {
  // Triangle with one vertex behind the eye: (0,0,2), (2,0,2), (0,0,-2).
  const std::vector<EyePoint> cut = clipToNearPlane({{0, 0, 2}, {2, 0, 2}, {0, 0, -2}});
  ASSERT_EQ(cut.size(), 4u);
  EXPECT_DOUBLE_EQ(cut[2].u, 1);  // middle of the edge (2,0,2)-(0,0,-2)
  EXPECT_DOUBLE_EQ(cut[2].w, 0);
  EXPECT_DOUBLE_EQ(cut[3].u, 0);
  EXPECT_DOUBLE_EQ(cut[3].w, 0);
  EXPECT_TRUE(clipToNearPlane({{0, 0, -1}, {1, 0, -1}, {0, 1, -3}}).empty());
  EXPECT_EQ(clipToNearPlane({{0, 0, 1}, {1, 0, 1}, {0, 1, 3}}).size(), 3u);
  EXPECT_EQ(clipToNearPlane({{0, 0, 0}, {1, 0, 1}, {0, 1, 3}}).size(), 3u) << "w = 0 is in front";
}

// A square across the view at x = d, 2 m wide; its vertices run
// counter-clockwise as seen from an eye on the -x side, so its front side
// faces that eye.
std::unique_ptr<ModelObject> squareFacingEye(float d, std::uint32_t layer = LAYER_ROOM) {
  return makeFace({{d, 1, -1}, {d, -1, -1}, {d, -1, 1}, {d, 1, 1}}, layer);
}

TEST(Perspective, OnlyDrawableFacesTurnedToTheEyeOffLayer1AndInFrontAndInView) {
  const ViewState s = eyeView();
  struct Case {
    const char* name;
    std::uint32_t layer;
    bool reversed;
    std::uint32_t flags, shape;
    float distance;
    std::size_t taken;
  };
  // Loudspeakers and AUX drawing take the opposite orientation.
  const Case cases[] = {
      {"facing", LAYER_ROOM, false, 0, SHAPE_FACE, 10, 1},
      {"turned away", LAYER_ROOM, true, 0, SHAPE_FACE, 10, 0},
      {"aux facing", LAYER_AUX, false, 0, SHAPE_FACE, 10, 0},
      {"aux turned away", LAYER_AUX, true, 0, SHAPE_FACE, 10, 1},
      {"audience", LAYER_AUDIENCE, false, 0, SHAPE_FACE, 10, 0},
      {"hidden", LAYER_ROOM, false, OF_HIDDEN, SHAPE_FACE, 10, 0},
      {"polyline", LAYER_ROOM, false, 0, SHAPE_POLYLINE, 10, 0},
      {"behind", LAYER_ROOM, true, 0, SHAPE_FACE, -10, 0},
  };
  for (const Case& c : cases) {
    auto o = squareFacingEye(c.distance, c.layer);
    if (c.reversed) test::reverseFace(*o);
    o->flags = c.flags;
    o->shape = c.shape;
    EXPECT_EQ(collectPerspectiveFaces(s, o.get(), o.get()).size(), c.taken) << c.name;
  }
  // About 80° to the right: more than 700 px from the centre, wholly right
  // of an 800 px view.
  const float c = static_cast<float>(std::cos(80 * VIEW_DEGREE)) * 10,
              r = static_cast<float>(std::sin(80 * VIEW_DEGREE)) * 10;
  auto right = makeFace({{c + 0.1f, -r, -0.1f},
                         {c - 0.1f, -r - 0.1f, -0.1f},
                         {c - 0.1f, -r - 0.1f, 0.1f},
                         {c + 0.1f, -r, 0.1f}});
  EXPECT_TRUE(collectPerspectiveFaces(s, right.get(), right.get()).empty());
}

TEST(Perspective, FaceCrossingTheNearPlaneIsCutAndKeysUseVerticesInFront) {
  const ViewState s = eyeView();
  // A floor strip from x = -5 to x = 20 under the eye, seen from above
  // (counter-clockwise from +z, front side up towards the eye).
  auto floor = makeFace({{-5, -2, -1}, {20, -2, -1}, {20, 2, -1}, {-5, 2, -1}});
  const auto faces = collectPerspectiveFaces(s, floor.get(), floor.get());
  ASSERT_EQ(faces.size(), 1u);
  EXPECT_EQ(faces[0].outline.size(), 4u);  // two vertices in front, two cut points
  EXPECT_EQ(faces[0].depthMax, 20000);
  EXPECT_EQ(faces[0].depthMin, 20000);
  for (const ScreenPoint& p : faces[0].outline) EXPECT_TRUE(p.front);
}

TEST(Perspective, HiddenBackfaceModeSortsFarFirst) {
  ObjectList list;
  list.appendObject(squareFacingEye(10));
  list.appendObject(squareFacingEye(30));
  list.appendObject(
      makeFace({{20, 1, -1}, {19, -1, -1}, {19, -1, 1}, {20, 1, 1}}));  // keys 20000/19000
  list.appendObject(
      makeFace({{20, 1, -1}, {18, -1, -1}, {18, -1, 1}, {20, 1, 1}}));  // keys 20000/18000
  ViewState s = eyeView();
  const auto listOrder = collectPerspectiveFaces(s, list.head(), nullptr);
  ASSERT_EQ(listOrder.size(), 4u);
  EXPECT_EQ(listOrder[0].depthMax, 10000);
  EXPECT_EQ(listOrder[1].depthMax, 30000);
  s.hiddenBackfaces = true;
  const auto sorted = collectPerspectiveFaces(s, list.head(), nullptr);
  ASSERT_EQ(sorted.size(), 4u);
  EXPECT_EQ(sorted[0].depthMax, 30000);
  EXPECT_EQ(sorted[1].depthMin, 19000);  // tie on 20000: larger smallest key first
  EXPECT_EQ(sorted[2].depthMin, 18000);
  EXPECT_EQ(sorted[3].depthMax, 10000);
}

TEST(Perspective, AtMost4096FacesAreTaken) {
  auto solid = std::make_unique<ModelObject>();
  solid->shape = SHAPE_SOLID;
  for (int i = 0; i < 4100; ++i) {
    const auto n = static_cast<std::uint16_t>(solid->nodes.size());
    const float d = 10.0f + i * 0.001f;
    for (Node p : {Node{d, 1, -1}, Node{d, -1, -1}, Node{d, -1, 1}}) solid->nodes.push_back(p);
    solid->indices.push_back({IDX_START, n});
    solid->indices.push_back({IDX_LINE, static_cast<std::uint16_t>(n + 1)});
    solid->indices.push_back({IDX_CLOSE, static_cast<std::uint16_t>(n + 2)});
  }
  const ViewState s = eyeView();
  EXPECT_EQ(collectPerspectiveFaces(s, solid.get(), solid.get()).size(), PERSPECTIVE_MAX_FACES);
}

TEST(Perspective, TurningKeepsAlphaAndGammaInTheirRanges) {
  ViewState s = eyeView();
  turnPerspective(s, 2, 0);  // -90 + 10
  EXPECT_NEAR(s.perspectiveAngles[0], -80 * VIEW_DEGREE, 1e-6);
  EXPECT_NEAR(s.angles[0], -80 * VIEW_DEGREE, 1e-6);  // the matrix follows
  turnPerspective(s, -39, 0);                         // -80 - 195 = -275 -> 85
  EXPECT_NEAR(s.perspectiveAngles[0], 85 * VIEW_DEGREE, 1e-5);
  turnPerspective(s, 1, 0);  // 90 stays
  EXPECT_NEAR(s.perspectiveAngles[0], 90 * VIEW_DEGREE, 1e-5);
  turnPerspective(s, 1, 0);  // 95 -> -265
  EXPECT_NEAR(s.perspectiveAngles[0], -265 * VIEW_DEGREE, 1e-5);
  turnPerspective(s, 0, 20);  // -90 + 100 -> 0
  EXPECT_NEAR(s.perspectiveAngles[2], 0, 1e-6);
  turnPerspective(s, 0, -50);
  EXPECT_NEAR(s.perspectiveAngles[2], -180 * VIEW_DEGREE, 1e-6);
  // The aiming step of 1°: a page is 10 steps.
  ViewState aim = eyeView();
  aim.turnStep = static_cast<float>(1 * VIEW_DEGREE);
  scrollPerspective(aim, ScrollAxis::Horizontal, ScrollAction::PageForward, 0);
  EXPECT_NEAR(aim.perspectiveAngles[0], -80 * VIEW_DEGREE, 1e-5);
}

TEST(Perspective, InformationBlockLines) {
  ViewState s = eyeView({1.5f, -2, 3.25f});
  EXPECT_EQ(perspectiveInfoLines(s),
            (std::vector<std::string>{"X: 1.500", "Y: -2.000", "Z: 3.250", "Hor.   0\u00B0",
                                      "Ver.   0\u00B0"}));
  turnPerspective(s, 2, -3);  // alpha -80°, gamma -105°
  EXPECT_EQ(perspectiveInfoLines(s, 1000.0),
            (std::vector<std::string>{"1000 Hz", "X: 1.500", "Y: -2.000", "Z: 3.250",
                                      "Hor. -10\u00B0", "Ver. -15\u00B0"}));
  EXPECT_EQ(perspectiveInfoLines(s, 125.0)[0], " 125 Hz");
}

}  // namespace
}  // namespace tav
