// Linking, sorting and evaluating paths, against hand calculations.
#include <gtest/gtest.h>

#include <cmath>

#include "model/object_list.h"
#include "reflections/reflection_paths.h"
#include "reflections/reflection_run.h"
#include "reflections/search_rooms.h"

namespace tav {
namespace {

ModelObject* addPath(ObjectList& list, float time, float energy, std::size_t reflections = 0) {
  PathRecord r;
  r.entries.resize(reflections + 2);
  for (std::size_t i = 0; i < r.entries.size(); ++i)
    r.entries[i] = {static_cast<std::int16_t>(i), {float(i), 0, 0}};
  r.entries.front().id = PATH_ID_SOURCE;
  r.entries.back().id = PATH_ID_TARGET;
  auto o = makeReflectionPath(r);
  std::array<float, BAND_COUNT> e;
  e.fill(energy);
  writePathTimeAndEnergy(*o, time, e);
  return list.appendObject(std::move(o));
}

TEST(ReflectionPaths, ObjectCarriesTheRecordAndItsDataBlock) {
  PathRecord r;
  r.target = {1, 2, 3};
  r.entries = {
      {PATH_ID_SOURCE, {0, 0, 0}}, {4, {1, 0, 0}}, {9, {1, 1, 0}}, {PATH_ID_TARGET, {1, 2, 3}}};
  const auto o = makeReflectionPath(r);
  // Block: time, 7 energies, 28 zero bytes, n = 2 at 60, ids from 62.
  std::vector<std::uint8_t> want(70, 0);
  want[60] = 2;
  const std::int16_t ids[] = {-2, 4, 9, -1};
  for (int i = 0; i < 4; ++i) {
    want[62 + 2 * i] = static_cast<std::uint8_t>(ids[i] & 0xFF);
    want[63 + 2 * i] = static_cast<std::uint8_t>((ids[i] >> 8) & 0xFF);
  }
  EXPECT_EQ(o->data, want);
  EXPECT_EQ(o->layer, LAYER_RAYS);
  EXPECT_EQ(o->indices,
            (std::vector<IndexEntry>{{IDX_START, 0}, {IDX_LINE, 1}, {IDX_LINE, 2}, {IDX_LINE, 3}}));
  EXPECT_TRUE(isReflectionPath(*o));
  o->nodes.pop_back();
  EXPECT_FALSE(isReflectionPath(*o));
}

TEST(ReflectionPaths, SortFollowsTheInsertionRule) {
  // 5, 3a, 3b, 7, 4: 3a goes first (not later than every path so far), 3b
  // goes before it, 7 last, 4 before 5.
  ObjectList list;
  test::addFace(list, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}});
  const float times[] = {5, 3, 3, 7, 4};
  std::vector<ModelObject*> p;
  for (float t : times) p.push_back(addPath(list, t, 10));
  sortPathsByTime(list);
  std::vector<ModelObject*> order;
  for (ModelObject& o : list) order.push_back(&o);
  ASSERT_EQ(order.size(), 6u);
  EXPECT_EQ(order, (std::vector<ModelObject*>{p[2], p[1], p[4], p[0], p[3], order[5]}));
  EXPECT_EQ(order[5]->layer, LAYER_ROOM);
}

TEST(ReflectionPaths, EvaluationAgainstHandValues) {
  // 10 ms at 1000 and 20 ms at 100 in every band: reference at 10 ms, 30 dB;
  // both early (20 < 10 + 35): Ld = 10 log 1100 = 30.41 dB. Both fall
  // beyond 1024 widths of 10/1024 ms from zero, so into bin 1023.
  ObjectList list;
  addPath(list, 10, 1000);
  addPath(list, 20, 100);
  auto stats = std::make_unique<ReflectionStats>();
  stats->meanFreePath = 2;
  stats->rt.fill(1.0f);
  RoomDrive drive{100, {}};
  drive.power.fill(1e6);
  evaluatePaths(list, drive, *stats);
  EXPECT_FLOAT_EQ(stats->tMin, 10);
  EXPECT_FLOAT_EQ(stats->tMax, 20);
  EXPECT_FLOAT_EQ(stats->binWidth, 10.0f / 1024);
  EXPECT_FLOAT_EQ(stats->maxLevel, 30);
  for (int b = 0; b <= BROADBAND; ++b) {
    EXPECT_FLOAT_EQ(stats->refTime[b], 10) << b;
    EXPECT_FLOAT_EQ(stats->refLevel[b], 30) << b;
    EXPECT_NEAR(stats->early[b], 10 * std::log10(1100.0), 1e-4) << b;
    // (1e6 - 1100) · 4 · 1 / (0.161 · 100) = 248171.4
    EXPECT_NEAR(stats->reverberant[b], 10 * std::log10(248171.4), 1e-3) << b;
    EXPECT_FLOAT_EQ(stats->histogram[b][1023], 1100) << b;
  }
  // Ld - Lr = -23.54 dB: Alcons 0.6406 · 1 · 248171 / 1100 = 144.5, shown as 100.
  EXPECT_DOUBLE_EQ(alcons(*stats, BROADBAND), 100.0);
  stats->reverberant[3] = 20;
  EXPECT_NEAR(alcons(*stats, 3), 0.6406 * 100 / 1100, 1e-6);
}

TEST(ReflectionPaths, ZeroBinWidthAndNoMeanFreePath) {
  // All paths at one time: width 0, every path in bin 1023. Without a mean
  // free path the reverberant levels are 1.0 and their weighted sum 7 · 0.143.
  ObjectList list;
  addPath(list, 12, 50);
  addPath(list, 12, 50);
  auto stats = std::make_unique<ReflectionStats>();
  evaluatePaths(list, RoomDrive{}, *stats);
  EXPECT_EQ(stats->binWidth, 0.0f);
  EXPECT_FLOAT_EQ(stats->histogram[0][1023], 100);
  EXPECT_FLOAT_EQ(stats->histogram[BROADBAND][1023], 100);
  EXPECT_FLOAT_EQ(stats->reverberant[2], 1.0f);
  EXPECT_NEAR(stats->reverberant[BROADBAND], 10 * std::log10(7 * 0.143), 1e-5);
}

TEST(ReflectionPaths, LinkingGivesTimesEnergiesAndStatistics) {
  // One loudspeaker 5 m from the target in a box of absorption 0.2: the
  // direct path has E = 0.9995^5 · 1e6 / 25 at 1000 Hz and arrives after
  // 2 + 5000 / 343 ms; a path whose source lies 0.2 m off is unassigned.
  Project p;
  p.materials.slots.push_back(test::makeMaterial("W", test::uniformAlpha(0.2f)));
  test::BoxOptions box;
  box.materials.fill(1);
  test::addBox(p.objects, {0, 0, 0}, {10, 8, 4}, box);
  test::addOmniSpeaker(p, {2, 3, 1.5}, 1e6, 2);
  RaySearchRequest request;
  request.target = {7, 3, 1.5};
  request.maxOrder = 1;
  const RaySearchRun run = runRaySearch(p, request);
  ASSERT_TRUE(run.message.empty()) << run.message.text;
  ASSERT_EQ(run.pathsRead, 7u);
  PathRecord stray;
  stray.entries = {{PATH_ID_SOURCE, {2.2f, 3, 1.5f}}, {PATH_ID_TARGET, {7, 3, 1.5f}}};
  p.objects.insertAtHead(makeReflectionPath(stray));
  RayResults r = openRayResults(p, run.meanFreePath);
  EXPECT_EQ(r.link.kept, 7u);
  EXPECT_EQ(r.link.unassigned, 1u);
  EXPECT_EQ(r.link.reflections, 6u);
  ASSERT_EQ(r.link.messages.back().text, "1 paths left unassigned");
  const auto paths = reflectionPaths(p.objects);
  ASSERT_EQ(paths.size(), 7u);
  const PathData direct = *readPathData(*paths.front());
  EXPECT_EQ(direct.ids.front(), 0);
  EXPECT_FLOAT_EQ(direct.time, 2 + 5000.0f / 343);
  EXPECT_NEAR(direct.energy[3], std::pow(0.9995, 5) * 1e6 / 25, 0.5);
  // Every reflection absorbs 0.2: the mean absorption is 0.2 in each band,
  // RT = 6 ln10 · mfp · a^mfp / (343 · -ln 0.8).
  const ReflectionStats& s = *r.stats;
  EXPECT_NEAR(s.meanAbsorption[4], 0.2, 1e-6);
  EXPECT_NEAR(s.rt[0], 6 * std::log(10.0) * run.meanFreePath / (343 * -std::log(0.8)), 1e-4);
  // The mean free path of a 10 x 8 x 4 box is near 4V/S = 2.92 m.
  EXPECT_NEAR(run.meanFreePath, 4 * 320.0 / 304, 0.6);
}

}  // namespace
}  // namespace tav
