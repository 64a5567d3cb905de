#include "mapping/level_time.h"

#include <tbb/blocked_range.h>
#include <tbb/enumerable_thread_specific.h>
#include <tbb/parallel_for.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

#include "model/project.h"
#include "speakers/placed_speaker.h"

namespace tav {

namespace {

// Points per task: small enough to balance, large enough to keep the
// scheduling cost below the work of the points.
constexpr std::size_t POINT_GRAIN = 16;

void storePoint(const PointScratch& s, MapPoint& p) {
  for (int b = 0; b < BAND_COUNT; ++b) {
    const ContributionList& list = s.lists[b];
    const float x = list.sum;
    if (x > 1.0f) {
      p.energy[b] = x;
      p.t0[b] = static_cast<float>(1000.0 * list.t0);
    } else {
      p.energy[b] = 1.0f;
      p.t0[b] = MAP_NO_ARRIVAL_MS;
    }
  }
}

}  // namespace

CalculationStatus computeMapPoints(const PointCalculation& calc, std::vector<MapPoint>& points,
                                   const CalculationProgress& progress) {
  const std::size_t count = points.size();
  tbb::enumerable_thread_specific<PointScratch> scratch;
  std::atomic<bool> cancel{false};
  std::atomic<std::size_t> done{0};
  auto work = [&] {
    tbb::parallel_for(tbb::blocked_range<std::size_t>(0, count, POINT_GRAIN),
                      [&](const tbb::blocked_range<std::size_t>& r) {
                        PointScratch& s = scratch.local();
                        for (std::size_t i = r.begin(); i != r.end(); ++i) {
                          if (cancel.load(std::memory_order_relaxed)) return;
                          MapPoint& p = points[i];
                          computePoint(calc, Vec3d{p.x, p.y, p.z}, s);
                          storePoint(s, p);
                        }
                        done.fetch_add(r.size(), std::memory_order_relaxed);
                      });
  };
  if (!progress) {
    work();
    return CalculationStatus::Completed;
  }

  // A Cancel given before the start (the progress window's first update)
  // computes nothing.
  if (progress(0.0)) return CalculationStatus::Cancelled;
  // The workers run beside the calling thread, which reports the progress
  // and passes Cancel on.
  std::mutex mutex;
  std::condition_variable finished;
  bool ready = false;
  std::exception_ptr failure;
  std::thread worker([&] {
    try {
      work();
    } catch (...) {
      failure = std::current_exception();
    }
    std::lock_guard<std::mutex> lock(mutex);
    ready = true;
    finished.notify_one();
  });
  {
    std::unique_lock<std::mutex> lock(mutex);
    while (!ready) {
      if (finished.wait_for(lock, std::chrono::milliseconds(PROGRESS_INTERVAL_MS),
                            [&] { return ready; }))
        break;
      lock.unlock();
      const double percent =
          count ? 100.0 * static_cast<double>(done.load()) / static_cast<double>(count) : 100.0;
      if (!cancel.load() && progress(percent)) cancel.store(true);
      lock.lock();
    }
  }
  worker.join();
  if (failure) std::rethrow_exception(failure);
  return cancel.load() ? CalculationStatus::Cancelled : CalculationStatus::Completed;
}

bool hasLoudspeakerObjects(const Project& project) {
  for (const ModelObject& o : project.objects)
    if (isLoudspeakerObject(o)) return true;
  return false;
}

LevelTimeRun prepareLevelTime(Project& project, CalculationOptions& options) {
  LevelTimeRun run;
  if (!hasLoudspeakerObjects(project)) {
    run.status = LevelTimeStatus::NoLoudspeakers;
    return run;
  }
  run.speakers = buildActiveSpeakerTable(project);
  if (run.speakers.empty()) {
    run.status = LevelTimeStatus::NoActiveSpeakers;
    run.message.text = MSG_NO_SPEAKERS_TO_PROCESS;
    return run;
  }
  run.areas = buildAudienceAreaTable(project.objects);
  if (run.areas.empty()) {
    run.status = LevelTimeStatus::NoAudienceArea;
    return run;
  }
  const auto spacing = chooseGridSize(audienceSurface(project.objects), options.gridIndex);
  if (!spacing) {
    run.status = LevelTimeStatus::GridTooFine;
    run.message.text = MSG_GRID_TOO_FINE;
    return run;
  }
  run.spacing = *spacing;
  run.points.reserve(MAX_MAP_POINTS);
  layGrid(run.areas, run.spacing, run.points);

  const FaceTableBuild built = buildFaceTable(project, run.faces);
  if (!built.ok()) run.message = built.message;
  run.includeRoom = built.count > 0 ? static_cast<std::int16_t>(options.includeRoom & 3) : 0;
  if (run.includeRoom) run.hierarchy.build(run.faces);
  run.phase = phaseRelationFromSetting(options.phaseRelation);
  return run;
}

CalculationStatus computeLevelTime(LevelTimeRun& run, const Project& project,
                                   const CalculationProgress& progress, FaceSearch search) {
  const PointCalculation calc =
      preparePointCalculation(run.speakers, &run.faces, &run.hierarchy, project.materials,
                              run.includeRoom, run.phase, search);
  return computeMapPoints(calc, run.points, progress);
}

LevelMap levelMapOf(LevelTimeRun&& run) {
  LevelMap map;
  map.areas = std::move(run.areas.entries);
  map.phaseRelation = static_cast<std::int16_t>(run.phase);
  map.halfGrid = static_cast<float>(run.spacing / 2.0);
  map.bandCounts = run.speakers.bandCounts;
  map.points = std::move(run.points);
  map.bounds = boundsFromPoints(map.points);
  return map;
}

void installLevelMap(Project& project, LevelMap map) {
  if (project.levelMap && project.levelMap->points.size() == map.points.size())
    map.singlePoints = std::move(project.levelMap->singlePoints);
  project.levelMap = std::move(map);
  project.storedMapBlock.clear();
}

}  // namespace tav
