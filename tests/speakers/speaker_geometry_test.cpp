// Drawings of placed loudspeakers, angles read back from them, aiming,
// turning and tilting (alignment: the aiming session).
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "speakers/directivity.h"
#include "speakers/speaker_aiming.h"
#include "speakers/speaker_drawing.h"
#include "speakers/speaker_shape.h"
#include "support/near.h"

namespace tav {
namespace {

constexpr double PI = 3.141592653589793;

using tavtest::near;

// Difference of two angles brought into -pi..pi.
double angleDiff(double a, double b) { return std::remainder(a - b, 2 * PI); }

TEST(SpeakerDrawing, DrawingAndFrameAgreeForRandomAngles) {
  // Property: the frame of a loudspeaker maps its drawn direction nodes onto
  // the local +x and +z axes, and the angles read back from the drawing are
  // the angles it was built with.
  std::mt19937 rng(12345);
  std::uniform_real_distribution<double> angle(-PI, PI), coord(-20, 20);
  const SpeakerType type = resetSpeakerType();
  int checked = 0;
  for (int i = 0; i < 2000; ++i) {
    PlacedSpeaker s = newPlacedSpeaker({coord(rng), coord(rng), coord(rng)});
    s.horizontal = static_cast<float>(angle(rng));
    s.vertical = static_cast<float>(angle(rng) / 2);
    s.rotation = static_cast<float>(angle(rng));
    // The frame leaves out angles up to 0.01 rad that the drawing applies.
    if (std::fabs(s.horizontal) <= 0.01 || std::fabs(s.vertical) <= 0.01 ||
        std::fabs(s.rotation) <= 0.01)
      continue;
    ++checked;
    ModelObject o;
    speakerDrawingGeometry(s, defaultSpeakerShape(), o);
    const std::size_t n = o.nodes.size();
    const SpeakerFrame f = makeSpeakerFrame(s, type);
    EXPECT_TRUE(near(toSpeakerFrame(f, toVec(o.nodes[n - 2])), {1, 0, 0}, 2e-5)) << "aim";
    EXPECT_TRUE(near(toSpeakerFrame(f, toVec(o.nodes[n - 1])), {0, 0, 1}, 2e-5)) << "up";
    const double h = s.horizontal, v = s.vertical;
    EXPECT_TRUE(near(toVec(o.nodes[n - 2]) - s.pos(),
                     {std::cos(h) * std::cos(v), std::sin(h) * std::cos(v), std::sin(v)}, 2e-5))
        << "main axis";
    if (std::fabs(v) < 1.5) {
      const SpeakerAngles a = anglesFromDirectionNodes(o, s);
      EXPECT_NEAR(angleDiff(a.horizontal, h), 0, 1e-3);
      EXPECT_NEAR(a.vertical, v, 1e-3);
      EXPECT_NEAR(angleDiff(a.rotation, s.rotation), 0, 1e-3);
    }
  }
  EXPECT_GT(checked, 1800);
}

TEST(SpeakerDrawing, AnglesFromNodesOfALevelLoudspeakerAndDegenerateAxes) {
  // Level (left out of the random angles above): the angles come back.
  PlacedSpeaker s = newPlacedSpeaker({1, 1, 1});
  s.horizontal = 2.0f;
  s.rotation = 0.7f;
  ModelObject o;
  speakerDrawingGeometry(s, defaultSpeakerShape(), o);
  const SpeakerAngles a = anglesFromDirectionNodes(o, s);
  EXPECT_NEAR(a.rotation, 0.7, 1e-5);
  EXPECT_NEAR(a.horizontal, 2.0, 1e-5);

  // Pointing straight down: h from the sign rule, v = -pi/2.
  s = newPlacedSpeaker({0, 0, 0});
  s.vertical = static_cast<float>(-PI / 2);
  speakerDrawingGeometry(s, defaultSpeakerShape(), o);
  const SpeakerAngles down = anglesFromDirectionNodes(o, s);
  EXPECT_NEAR(down.vertical, -PI / 2, 1e-6);
  EXPECT_NEAR(down.horizontal, -PI / 2, 1e-6);
}

TEST(SpeakerAiming, AimUpLevelAndBehind) {
  const Vec3d s{1, 2, 3};
  AimAngles up = aimAngles(s, {1, 2, 10});
  EXPECT_DOUBLE_EQ(up.horizontal, PI / 2);
  EXPECT_NEAR(up.vertical, PI / 2, 1e-9);
  EXPECT_DOUBLE_EQ(aimAngles(s, {-4, 2, 3}).horizontal, PI);
  EXPECT_DOUBLE_EQ(aimAngles(s, {1.0005, -5, 0}).horizontal, -PI / 2);

  // Aimed at a target, the frame puts the target on the main axis.
  const SpeakerType type = resetSpeakerType();
  PlacedSpeaker p = newPlacedSpeaker(s);
  p.rotation = 0.3f;
  for (const Vec3d t : {Vec3d{10, -4, 0}, Vec3d{-3, 8, 9}, Vec3d{1, 2, -7}, Vec3d{6, 2.5, 3.2}}) {
    aimAtTarget(p, t);
    const Vec3d local = toSpeakerFrame(makeSpeakerFrame(p, type), t);
    EXPECT_NEAR(local.y, 0, 1e-4 * local.x);
    EXPECT_NEAR(local.z, 0, 1e-4 * local.x);
    EXPECT_NEAR(local.x, length(t - s), 1e-4 * local.x);
  }
}

TEST(SpeakerAiming, TurningAnArray) {
  PlacedSpeaker s = newPlacedSpeaker({1, 0, 0});
  ModelObject drawing;
  speakerDrawingGeometry(s, defaultSpeakerShape(), drawing);
  turnSpeaker(s, &drawing, {0, 0, 0}, arrayAngle(90));
  EXPECT_TRUE(near(s.pos(), {0, 1, 0}, 1e-6));
  EXPECT_NEAR(s.horizontal, PI / 2, 1e-6);
  // The drawing turned with it: its aim node lies one unit along +y.
  EXPECT_TRUE(near(toVec(drawing.nodes[drawing.nodes.size() - 2]), {0, 2, 0}, 1e-5));

  EXPECT_NEAR(wrapArrayAngle(-4.0), -4.0 + 6.283185308, 1e-12);
  EXPECT_EQ(wrapArrayAngle(3.0), 3.0);
  EXPECT_NEAR(wrapArrayAngle(10.0), 10.0 - 6.283185308, 1e-12) << "one correction only";
}

TEST(SpeakerAiming, TiltingAnArray) {
  // Aimed along +x, in front of a base point on its axis: rises by 10 deg.
  PlacedSpeaker s = newPlacedSpeaker({2, 0, 1});
  tiltSpeaker(s, {0, 0, 1}, arrayAngle(10));
  const double a = 10 * PI / 180;
  EXPECT_TRUE(near(s.pos(), {2 * std::cos(a), 0, 1 + 2 * std::sin(a)}, 1e-6));
  EXPECT_NEAR(s.vertical, a, 1e-6);

  // Aimed along +y: moves in the vertical plane through the base along y.
  PlacedSpeaker t = newPlacedSpeaker({5, 3, 0});
  t.horizontal = static_cast<float>(PI / 2);
  tiltSpeaker(t, {5, 0, 0}, arrayAngle(10));
  EXPECT_TRUE(near(t.pos(), {5, 3 * std::cos(a), 3 * std::sin(a)}, 1e-5));

  // Behind the base point the loudspeaker goes down.
  PlacedSpeaker u = newPlacedSpeaker({-2, 0, 0});
  tiltSpeaker(u, {0, 0, 0}, arrayAngle(10));
  EXPECT_LT(u.position.z, 0);
}

}  // namespace
}  // namespace tav
