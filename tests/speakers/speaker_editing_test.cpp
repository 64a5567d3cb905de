// Limits, typed angles, copies and mirror images of loudspeakers, the
// aim-point lines and the coverage contours.
#include "speakers/speaker_editing.h"

#include <gtest/gtest.h>

#include <cmath>

#include "model/le_io.h"
#include "model/project.h"
#include "speakers/coverage_contours.h"
#include "speakers/speaker_aim_points.h"
#include "speakers/speaker_drawing.h"
#include "speakers/speaker_shape.h"
#include "support/model_builders.h"
#include "support/near.h"

namespace tav {
namespace {

constexpr double PI = 3.141592653589793;

TEST(SpeakerEditing, LimitsAndTypedAngles) {
  EXPECT_FALSE(checkSpeakerLimit(4999, 1));
  auto m = checkSpeakerLimit(5000, 1);
  ASSERT_TRUE(m);
  EXPECT_EQ(m->text, "Maximum amount of speakers is 5000");
  EXPECT_EQ(m->caption, "Sorry!");
  EXPECT_FALSE(checkMirrorLimit(4990, 9));
  ASSERT_TRUE(checkMirrorLimit(4990, 10));
  EXPECT_EQ(checkMirrorLimit(4990, 10)->text, "Insufficient Memory");
  EXPECT_EQ(checkMirrorLimit(4990, 11)->text, "Maximum amount of speakers is 5000");

  ModelObject big;
  big.nodes.resize(87300);  // 48 + 1 047 600 bytes
  ModelObject small;
  small.nodes.resize(100);
  const ModelObject* one[] = {&big};
  const ModelObject* two[] = {&big, &small};
  EXPECT_TRUE(fitsCopyBuffer(one));
  EXPECT_FALSE(fitsCopyBuffer(two));

  EXPECT_NEAR(dialogDegreesToRadians(270), -PI / 2, 1e-9);
  EXPECT_NEAR(dialogDegreesToRadians(-190), 170 * PI / 180, 1e-9);
  EXPECT_NEAR(dialogDegreesToRadians(540), PI, 1e-9) << "one correction only";
  EXPECT_NEAR(dialogDegreesToRadians(180), PI, 1e-9);
  EXPECT_NEAR(radiansToDialogDegrees(PI / 2), 90, 1e-7);
  EXPECT_TRUE(dialogAngleAcceptable(-540));
  EXPECT_FALSE(dialogAngleAcceptable(540.5));
  EXPECT_EQ(commasToPoints("-1,5,"), "-1.5.");
}

TEST(SpeakerEditing, CopiesClearNameAndGroupAndKeepTheRest) {
  PlacedSpeaker s = newPlacedSpeaker({1, 2, 3});
  setFixedString(s.name, "LEFT");
  setFixedString(s.group, "MAIN");
  s.horizontal = 0.5f;
  s.switchedOn = 0;
  s.eqGain.fill(-6);
  const PlacedSpeaker c = copiedSpeaker(s, {1, -2, 0.5});
  EXPECT_EQ(c.position, (Node{2, 0, 3.5f}));
  PlacedSpeaker expected = s;
  expected.name[0] = expected.group[0] = '\0';
  expected.position = c.position;
  EXPECT_EQ(c, expected);
}

TEST(SpeakerEditing, MirrorPositionsAndMirroredCopies) {
  // Across the y axis in plan: x changes sign.
  using tavtest::near;
  EXPECT_TRUE(near(mirrorSpeakerPosition({3, 2, 1}, {0, 0, 0}, {0, 5, 0}, MirrorPlane::XY),
                   {-3, 2, 1}, 1e-12));
  // Across the diagonal of the x-z plane: x and z swap.
  EXPECT_TRUE(near(mirrorSpeakerPosition({3, 7, 1}, {0, 0, 0}, {1, 0, 1}, MirrorPlane::XZ),
                   {1, 7, 3}, 1e-12));
  // In the y-z plane, a horizontal line at z = 2: z mirrored to 4 - z.
  EXPECT_TRUE(near(mirrorSpeakerPosition({9, 1, 5}, {0, 0, 2}, {0, 3, 2}, MirrorPlane::YZ),
                   {9, 1, -1}, 1e-12));
  // Identical points: unchanged.
  EXPECT_EQ(mirrorSpeakerPosition({3, 2, 1}, {1, 1, 1}, {1, 1, 1.5}, MirrorPlane::XY),
            (Vec3d{3, 2, 1}));

  // A loudspeaker aimed 30 deg left of +x, mirrored across the y axis: it
  // then aims 30 deg right of -x, at the mirrored position, faces reversed.
  PlacedSpeaker s = newPlacedSpeaker({3, 2, 1});
  setFixedString(s.name, "A");
  s.horizontal = static_cast<float>(PI / 6);
  ModelObject copy;
  speakerDrawingGeometry(s, defaultSpeakerShape(), copy);
  for (Node& n : copy.nodes) n.x = -n.x;  // what the shared mirror does to the nodes
  const std::vector<IndexEntry> before = copy.indices;
  finishMirroredSpeaker(copy, s, {0, 0, 0}, {0, 5, 0}, MirrorPlane::XY);
  auto r = speakerOf(copy);
  ASSERT_TRUE(r);
  EXPECT_NEAR(r->position.x, -3, 1e-6);
  EXPECT_NEAR(r->horizontal, PI - PI / 6, 1e-5);
  EXPECT_NEAR(r->rotation, 0, 1e-5);
  // The circle (36 entries, no material): start kept, the rest reversed.
  EXPECT_EQ(copy.indices[1], (IndexEntry{IDX_LINE, 35}));
  EXPECT_EQ(copy.indices[35], (IndexEntry{IDX_CLOSE, 1}));
  // A box face (start, material, line, line, close): material kept.
  EXPECT_EQ(copy.indices[37], before[37]);
  EXPECT_EQ(copy.indices[40], (IndexEntry{IDX_CLOSE, before[38].ref}));
  // Reversing twice restores the faces.
  reverseAllFaces(copy);
  EXPECT_EQ(copy.indices, before);
}

// A room face in the plane x = at, spanning y0..y1 and z -5..5.
void addWall(Project& project, float at, float y0, float y1) {
  project.objects.appendObject(
      test::makeFace({{at, y0, -5}, {at, y1, -5}, {at, y1, 5}, {at, y0, 5}}));
}

TEST(SpeakerAimPoints, LinesRunToTheNearestFaceAhead) {
  Project project;
  addWall(project, 10, -5, 5);
  addWall(project, 5, 0.5f, 5);
  auto place = [&](Vec3d at, double h, double v, bool on) {
    PlacedSpeaker s = newPlacedSpeaker(at);
    s.horizontal = static_cast<float>(h);
    s.vertical = static_cast<float>(v);
    s.switchedOn = on ? 1 : 0;
    buildSpeakerDrawing(project, s, nullptr);
    return s;
  };
  place({0, 0, 0}, 0, 0, true);        // far wall at (10, 0, 0)
  place({0, 1, 0}, 0, 0.1, true);      // the near wall first
  place({0, 0, 0}, PI, 0, true);       // faces away: nothing ahead
  place({0, 0, 0}, 0, 0, false);       // switched off
  place({2, -4, 0}, PI / 2, 0, true);  // x component below 0.1 set to 0: parallel to the walls

  ModelObject* lines = rebuildAimPoints(project, false);
  ASSERT_NE(lines, nullptr);
  EXPECT_EQ(lines->flags, OF_HIDDEN);
  ASSERT_EQ(lines->nodeCount(), 4u);
  // Loudspeakers are inserted at the head: the list runs last-placed first.
  EXPECT_EQ(lines->nodes[0], (Node{0, 1, 0}));
  EXPECT_NEAR(lines->nodes[1].x, 5, 1e-5);
  EXPECT_NEAR(lines->nodes[1].z, 5 * std::tan(0.1f), 1e-4);
  EXPECT_EQ(lines->nodes[2], (Node{0, 0, 0}));
  EXPECT_NEAR(lines->nodes[3].x, 10, 1e-5);
  const std::vector<IndexEntry> entries = {{0, 0}, {1, 1}, {0, 2}, {1, 3}};
  EXPECT_EQ(lines->indices, entries);

  EXPECT_EQ(rebuildAimPoints(project, true)->flags, 0u);
  EXPECT_EQ(project.objects.countOnLayer(LAYER_AIM_LINES), 1u) << "the old lines were replaced";
}

TEST(CoverageContours, AnglesWhereTheLevelFallsBelowTheFrontMaximum) {
  DirectivityGrid g;
  g.codes.fill(225);
  for (int r = 0; r < 17; ++r)
    g.at(r, 0) = static_cast<std::uint8_t>(225 - 3 * r);  // -0.6 dB a row
  for (int r = 4; r < 37; ++r) g.at(r, 1) = r == 4 ? 205 : 180;
  const CoverageContours c = coverageContours(g);
  const double deg = PI / 180;
  EXPECT_NEAR(c.angle[0][0], 25 * deg, 1e-12);  // row 5 at exactly -3 dB
  EXPECT_NEAR(c.angle[1][0], 50 * deg, 1e-12);
  EXPECT_NEAR(c.angle[2][0], 75 * deg, 1e-12);
  EXPECT_NEAR(c.angle[0][1], 20 * deg * 3 / 4, 1e-12);  // row 4 at -4 dB
  EXPECT_NEAR(c.angle[1][1], 25 * deg * 6 / 9, 1e-12);  // row 5 at -9 dB
  EXPECT_NEAR(c.angle[2][1], 25 * deg, 1e-12);
  // A flat column never falls: pi/2, then kept increasing by 0.0175.
  EXPECT_DOUBLE_EQ(c.angle[0][40], PI / 2);
  EXPECT_DOUBLE_EQ(c.angle[1][40], PI / 2 + 0.0175);
  EXPECT_DOUBLE_EQ(c.angle[2][40], PI / 2 + 0.035);

  // A louder cell in the front half raises the reference of every column.
  g.at(18, 30) = 240;
  const CoverageContours louder = coverageContours(g);
  EXPECT_NEAR(louder.angle[0][40], 0, 1e-12) << "row 0 is already 3 dB down";

  EXPECT_TRUE(tavtest::near(contourPoint(18, PI / 2, 0), {0, -10, 0.1}, 1e-9));
}

}  // namespace
}  // namespace tav
