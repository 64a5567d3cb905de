// The room check on boxes: closed, one wall turned outward, one wall missing,
// a tiny hole; messages, inversions in the model and threads. Cancel is the
// command's.
#include "reflections/room_check.h"

#include <gtest/gtest.h>
#include <tbb/task_arena.h>

#include "model/project.h"
#include "reflections/face_table.h"
#include "support/model_builders.h"
#include "support/near.h"

namespace tav {
namespace {

using test::addBox;
using test::BoxOptions;

// The area vector's component along `axis` of the face lying flat at `at`
// on that axis.
float faceNormalAt(Project& p, int axis, float at) {
  FaceTable t;
  buildFaceTable(p, t);
  for (const FaceRecord& f : t.records)
    if (f.boundsMin(axis) == at && f.boundsMax(axis) == at) return f.areaVector[axis];
  return 0;
}

TEST(RoomCheck, ScanLineOrdersCoincidentFacesNegativeFirst) {
  // Two coincident walls at x = 5, the one facing +x first in the table.
  Project p;
  test::addFace(p.objects, {{5, 0, 0}, {5, 4, 0}, {5, 4, 4}, {5, 0, 4}});
  test::addFace(p.objects, {{5, 0, 0}, {5, 0, 4}, {5, 4, 4}, {5, 4, 0}});
  test::addFace(p.objects, {{7, 0, 0}, {7, 0, 4}, {7, 4, 4}, {7, 4, 0}});
  FaceTable t;
  ASSERT_EQ(buildFaceTable(p, t).count, 3u);
  ASSERT_EQ(t[0].normalSign(0), 1);
  std::vector<RoomScanHit> hits;
  scanAxis(t, nullptr, 0, 2.05, 2.05, -1000, hits);
  ASSERT_EQ(hits.size(), 3u);
  EXPECT_EQ(hits[0].face, 1u);
  EXPECT_FLOAT_EQ(hits[0].coordinate, 4.999f);
  EXPECT_EQ(hits[1].face, 0u);
  EXPECT_FLOAT_EQ(hits[1].coordinate, 5.001f);
  EXPECT_EQ(hits[2].face, 2u);
  // Lines along y and z run parallel to the walls and never count them;
  // a line outside the walls' boxes misses them.
  scanAxis(t, nullptr, 1, 5, 2.05, -1000, hits);
  EXPECT_TRUE(hits.empty());
  scanAxis(t, nullptr, 0, 4.05, 2.05, -1000, hits);
  EXPECT_TRUE(hits.empty());
}

TEST(RoomCheck, ClosedBoxHasNoErrors) {
  Project p;
  addBox(p.objects, {0, 0, 0}, {10, 10, 10});
  std::vector<std::int16_t> views;
  RoomCheckCallbacks cb;
  cb.viewChanged = [&](std::int16_t v) { views.push_back(v); };
  const RoomCheckResult r = runRoomCheck(p, cb);
  EXPECT_EQ(r.message.text, "No errors found");
  EXPECT_EQ(r.message.caption, "Rock \u00B4n\u00B4 Roll !");
  EXPECT_FALSE(p.modified);
  // 100 x 100 lines per axis, each entering and leaving once.
  for (const RoomScanCounts& s : r.scans) {
    EXPECT_EQ(s.lines, 10000);
    EXPECT_EQ(s.linesWithHits, 10000);
    EXPECT_EQ(s.totalHits, 20000);
  }
  EXPECT_NEAR(r.scannedArea, 300.0, 1e-9);
  EXPECT_EQ(views, (std::vector<std::int16_t>{VIEW_YZ, VIEW_XZ, VIEW_XY}));
}

TEST(RoomCheck, OneWallTurnedOutwardIsInverted) {
  Project p;
  BoxOptions opt;
  opt.outward = {test::WALL_YHI};
  opt.materials[test::WALL_YHI] = 0;
  addBox(p.objects, {0, 0, 0}, {10, 10, 10}, opt);
  ASSERT_GT(faceNormalAt(p, 1, 10), 0);  // facing out of the room

  const RoomCheckResult r = runRoomCheck(p);
  EXPECT_EQ(r.inverted, 1);
  EXPECT_EQ(r.message.text, "1Faces auto-inverted ");
  EXPECT_TRUE(p.modified);
  EXPECT_LT(faceNormalAt(p, 1, 10), 0);  // now facing in

  const RoomCheckResult again = runRoomCheck(p);
  EXPECT_EQ(again.message.text, "No errors found");
}

TEST(RoomCheck, OneWallMissingReportsItsPlaneAndATinyHoleTheErrorPercentage) {
  Project p;
  BoxOptions opt;
  opt.missing = {test::WALL_XHI};
  addBox(p.objects, {0, 0, 0}, {10, 10, 10}, opt);
  RoomCheckResult r = runRoomCheck(p);
  // Every x line leaks: 10000 of 30000 lines with hits.
  EXPECT_EQ(r.scans[0].leakingLines, 10000);
  ASSERT_TRUE(r.errorPercent);
  EXPECT_NEAR(*r.errorPercent, 100.0 / 3.0, 1e-5);
  EXPECT_EQ(r.message.text, "YZ -Error");
  EXPECT_EQ(r.message.caption, "Missing faces !");
  EXPECT_EQ(r.flagLabels(), std::vector<std::string>{"YZ"});
  // The markers: where each leaking line meets the remaining x = 0 wall;
  // only the first 5460 are kept.
  EXPECT_EQ(r.errorLines, 10000);
  ASSERT_EQ(r.errorPoints.size(), MAX_ROOM_ERROR_POINTS);
  EXPECT_TRUE(tavtest::near(r.errorPoints[0], {0.0, 0.05, 0.05}, 1e-6));

  // The x = 10 wall in four pieces around a 0.2 x 0.2 hole at y, z in [5, 5.2]:
  // the lines at 5.05 and 5.15 pass through it, 4 of 30000.
  auto wall = [&](double y0, double y1, double z0, double z1) {
    test::addFace(p.objects, {{10, y0, z0}, {10, y0, z1}, {10, y1, z1}, {10, y1, z0}});
  };
  wall(0, 10, 0, 5);
  wall(0, 10, 5.2, 10);
  wall(0, 5, 5, 5.2);
  wall(5.2, 10, 5, 5.2);
  ASSERT_LT(faceNormalAt(p, 0, 10), 0);
  r = runRoomCheck(p);
  EXPECT_EQ(r.scans[0].leakingLines, 4);
  ASSERT_TRUE(r.errorPercent);
  EXPECT_NEAR(*r.errorPercent, 400.0 / 30000.0 + 1e-6, 1e-9);
  EXPECT_EQ(r.message.text, "Fehler = 0.013 %");
  EXPECT_EQ(r.message.caption, "Rock \u00B4n\u00B4 Roll !");
  ASSERT_EQ(r.errorPoints.size(), 4u);
  EXPECT_NEAR(r.errorPoints[0].y, 5.05, 1e-5);
  EXPECT_NEAR(r.errorPoints[0].z, 5.05, 1e-5);
}

TEST(RoomCheck, MissingFloorAndWallWithAnOutwardFaceListsAllPlanes) {
  Project p;
  BoxOptions opt;
  opt.missing = {test::FLOOR, test::WALL_YLO};
  opt.outward = {test::WALL_XLO};
  addBox(p.objects, {0, 0, 0}, {10, 10, 10}, opt);
  const RoomCheckResult r = runRoomCheck(p);
  // The x lines still see both x walls and turn the outward one.
  EXPECT_EQ(r.message.text, "1Faces auto-inverted XY XZ -Error");
}

TEST(RoomCheck, AxisWithoutAnyHitIsFlagged) {
  // Only a floor and a ceiling: no x or y line ever crosses a face.
  Project p;
  BoxOptions opt;
  opt.missing = {test::WALL_XLO, test::WALL_XHI, test::WALL_YLO, test::WALL_YHI};
  addBox(p.objects, {0, 0, 0}, {4, 4, 3}, opt);
  const RoomCheckResult r = runRoomCheck(p);
  EXPECT_EQ(r.scans[0].linesWithHits, 0);
  EXPECT_EQ(r.scans[1].linesWithHits, 0);
  EXPECT_EQ(r.flagLabels(), (std::vector<std::string>{"XZ", "YZ"}));
  // No leaking line: the share is 0 and the message the percentage.
  EXPECT_EQ(r.message.text, "Fehler = 0.000 %");
}

TEST(RoomCheck, OneFaceIsNoRoom) {
  Project p;
  test::addFace(p.objects, {{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {0, 4, 0}});
  const RoomCheckResult r = runRoomCheck(p);
  EXPECT_EQ(r.status, RoomCheckStatus::NoBoundaries);
  EXPECT_EQ(r.message.text, "No room boundaries to process");
}

TEST(RoomCheck, DamagedCoordinatesAreRefusedInsteadOfScannedForDays) {
  for (float far : {1e9f, 3e38f}) {
    Project p;
    addBox(p.objects, {0, 0, 0}, {10, 10, 10});
    ModelObject* o = test::addFace(p.objects, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}});
    o->nodes[1].x = far;
    const RoomCheckResult r = runRoomCheck(p);
    EXPECT_EQ(r.status, RoomCheckStatus::TooLarge) << far;
    EXPECT_EQ(r.message.text, "Room too large for the room check");
  }
}

// The scan lines run in parallel; one thread must give the same result and
// the same model, including the order in which faces were inverted.
TEST(RoomCheck, OneThreadGivesTheSameResult) {
  auto build = [](Project& p) {
    BoxOptions opt;
    opt.outward = {test::WALL_XLO, test::CEILING};
    opt.missing = {test::WALL_YHI};
    addBox(p.objects, {0, 0, 0}, {30, 12, 8}, opt);
    BoxOptions inner;
    inner.outward = {test::FLOOR};
    inner.solid = false;
    addBox(p.objects, {4, 3, 1}, {9.33, 7.71, 3.2}, inner);
  };
  Project a, b;
  build(a);
  build(b);
  const RoomCheckResult many = runRoomCheck(a);
  RoomCheckResult one;
  tbb::task_arena arena(1);
  arena.execute([&] { one = runRoomCheck(b); });
  EXPECT_EQ(many.message.text, one.message.text);
  EXPECT_EQ(many.inverted, one.inverted);
  EXPECT_GT(many.inverted, 0);
  EXPECT_EQ(many.errorLines, one.errorLines);
  EXPECT_EQ(many.errorPoints, one.errorPoints);
  for (auto i = a.objects.begin(), j = b.objects.begin(); i != a.objects.end(); ++i, ++j)
    EXPECT_EQ(i->indices, j->indices);
}

}  // namespace
}  // namespace tav
