// A whole run without the window: the loudspeaker table and its band counts,
// why a run cannot start, parallel against serial and the hierarchy and
// filtered searches against the plain loop on a random hall. Cancel is the
// session's.
#include "mapping/level_time.h"

#include <gtest/gtest.h>
#include <tbb/global_control.h>

#include "mapping_fixtures.h"

namespace tav {
namespace {

using maptest::SpeakerSpec;

TEST(LevelTime, SpeakerTableKeepsSwitchedOnSpeakersWithAnActiveBandInListOrder) {
  Project project;
  SpeakerSpec low{{0, 0, 0}};
  low.bands = 0x01;  // 125 Hz only: no broadband count
  SpeakerSpec off{{1, 0, 0}};
  SpeakerSpec quiet{{2, 0, 0}};
  quiet.factor = 1000;  // not above 1000 anywhere
  SpeakerSpec mid{{3, 0, 0}};
  mid.bands = 0x44;  // 500 and 8000 Hz
  maptest::addSpeakerObject(project, low);
  PlacedSpeaker s = *speakerOf(*maptest::addSpeakerObject(project, off));
  s.switchedOn = 0;
  storeSpeaker(*project.objects.tail(), s);
  maptest::addSpeakerObject(project, quiet);
  ModelObject* last = maptest::addSpeakerObject(project, mid);

  const ActiveSpeakerTable t = buildActiveSpeakerTable(project);
  ASSERT_EQ(t.size(), 2u);
  EXPECT_EQ(t[1].object, last);
  EXPECT_EQ(t.bandCounts, (BandCounts{1, 0, 1, 0, 0, 0, 1, 1}));

  // The cluster rule: |F| > 1.0 takes the quiet one; only selected ones.
  ActiveSpeakerRule cluster;
  cluster.bandThreshold = 1.0;
  EXPECT_EQ(buildActiveSpeakerTable(project, cluster).size(), 3u);
  cluster.selectedOnly = true;
  last->flags |= OF_SELECTED;
  EXPECT_EQ(buildActiveSpeakerTable(project, cluster).size(), 1u);
}

TEST(LevelTime, RunsThatCannotStartSayWhy) {
  Project project;
  CalculationOptions options;
  EXPECT_EQ(prepareLevelTime(project, options).status, LevelTimeStatus::NoLoudspeakers);
  SpeakerSpec quiet{{0, 0, 5}};
  quiet.factor = 10;
  maptest::addSpeakerObject(project, quiet);
  LevelTimeRun run = prepareLevelTime(project, options);
  EXPECT_EQ(run.status, LevelTimeStatus::NoActiveSpeakers);
  EXPECT_EQ(run.message.text, "No speakers to process");
  maptest::addSpeakerObject(project, SpeakerSpec{{0, 0, 5}});
  EXPECT_EQ(prepareLevelTime(project, options).status, LevelTimeStatus::NoAudienceArea);
  // 10 000 m² at 0.25 m runs at 0.5 m and keeps 0.5 m.
  maptest::addAudienceRect(project, 0, 0, 100, 100, 1.2);
  options.gridIndex = 0;
  run = prepareLevelTime(project, options);
  EXPECT_EQ(run.status, LevelTimeStatus::Ready);
  EXPECT_EQ(options.gridIndex, 1);
  EXPECT_EQ(run.points.size(), 200u * 200u);
  EXPECT_EQ(run.includeRoom, 0);  // no room faces
  // 13 000² m² need more than 64 000 points even at 50 m.
  maptest::addAudienceRect(project, 0, 0, 13000, 13000, 1.2);
  run = prepareLevelTime(project, options);
  EXPECT_EQ(run.status, LevelTimeStatus::GridTooFine);
  EXPECT_EQ(run.message.text, "Insufficient memory for grid size. Please select larger grid");
}

LevelMap runHall(unsigned seed, FaceSearch search, int threads) {
  Project project;
  maptest::addRandomHall(project, seed, 3);
  CalculationOptions options;
  options.gridIndex = 2;  // 1 m
  options.includeRoom = INCLUDE_SHADING | INCLUDE_REFLECTION;
  options.phaseRelation = 2;
  LevelTimeRun run = prepareLevelTime(project, options);
  EXPECT_EQ(run.status, LevelTimeStatus::Ready);
  tbb::global_control limit(tbb::global_control::max_allowed_parallelism,
                            static_cast<std::size_t>(threads));
  EXPECT_EQ(computeLevelTime(run, project, {}, search), CalculationStatus::Completed);
  return levelMapOf(std::move(run));
}

TEST(LevelTime, ParallelRunEqualsSerialAndEveryFaceSearchByteForByte) {
  const LevelMap serial = runHall(11, FaceSearch::Plain, 1);
  ASSERT_GT(serial.points.size(), 200u);
  EXPECT_EQ(serial.bandCounts, (BandCounts{3, 3, 2, 2, 2, 2, 2, 1}));
  EXPECT_EQ(runHall(11, FaceSearch::Hierarchy, 4), serial);
  EXPECT_EQ(runHall(11, FaceSearch::PlainFiltered, 2), serial);
}

TEST(LevelTime, SeatsNothingReachesStoreOneAndNoArrival) {
  // The only loudspeaker stands behind a wall that hides the whole area.
  Project project;
  maptest::addSpeakerObject(project, SpeakerSpec{{0, 0, 2}});
  maptest::addFace(project.objects, {{1, -10, -10}, {1, 10, -10}, {1, 10, 10}, {1, -10, 10}});
  maptest::addAudienceRect(project, 2, -1, 4, 1, 1.2);
  CalculationOptions options;
  options.gridIndex = 2;  // 1 m
  options.includeRoom = INCLUDE_SHADING;
  LevelTimeRun run = prepareLevelTime(project, options);
  ASSERT_EQ(computeLevelTime(run, project, {}), CalculationStatus::Completed);
  ASSERT_EQ(run.points.size(), 4u);
  for (const MapPoint& p : run.points) {
    EXPECT_EQ(p.energy[3], 1.0f);
    EXPECT_EQ(p.t0[3], MAP_NO_ARRIVAL_MS);
  }
}

}  // namespace
}  // namespace tav
