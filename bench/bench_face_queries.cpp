// Face queries on generated halls of growing size: the hierarchy against the
// plain loop over all faces (scan lines, nearest face along a ray, faces
// overlapping a segment's box), and the whole room check. The "speedup"
// counter of a hierarchy benchmark is the plain loop's time for the same
// queries divided by the hierarchy's.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <map>
#include <memory>
#include <random>
#include <vector>

#include "bench_rooms.h"
#include "model/object_list.h"
#include "model/project.h"
#include "reflections/face_bvh.h"
#include "reflections/face_table.h"
#include "reflections/room_check.h"

namespace tav {
namespace {

using bench::Hall;
using bench::hallOf;

struct Ray {
  Vec3d origin, direction;
};

std::vector<Ray> rays(const Hall& h, int n) {
  std::mt19937 rng(5);
  std::uniform_real_distribution<double> u(0.05, 0.95), d(-1, 1);
  std::vector<Ray> out;
  for (int i = 0; i < n; ++i) {
    Vec3d dir{d(rng), d(rng), d(rng)};
    dir = dir * (1000.0 / length(dir));
    out.push_back({{u(rng) * h.length, u(rng) * h.width, 1.2 + u(rng) * 5}, dir});
  }
  return out;
}

template <typename F>
double secondsOf(F&& f) {
  const auto t0 = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// Scan lines along x over the hall's (y, z) grid at 0.25 m, as the room check shoots them.
template <bool UseHierarchy>
void scanLines(benchmark::State& state) {
  Hall& h = hallOf(static_cast<int>(state.range(0)));
  std::vector<RoomScanHit> hits;
  auto run = [&](const FaceBvh* bvh) {
    std::size_t total = 0;
    for (double y = 0.05; y < h.width; y += 0.25)
      for (double z = 0.05; z < h.height; z += 0.25) {
        scanAxis(h.table, bvh, 0, y, z, -1000, hits);
        total += hits.size();
      }
    return total;
  };
  const double loop = UseHierarchy ? secondsOf([&] { benchmark::DoNotOptimize(run(nullptr)); }) : 0;
  std::size_t lines = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(run(UseHierarchy ? &h.bvh : nullptr));
    lines += static_cast<std::size_t>(std::ceil(h.width / 0.25) * std::ceil(h.height / 0.25));
  }
  state.counters["faces"] = static_cast<double>(h.table.size());
  state.counters["lines/s"] =
      benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kIsRate);
  if (UseHierarchy) {
    const double mine = secondsOf([&] { benchmark::DoNotOptimize(run(&h.bvh)); });
    state.counters["speedup"] = loop / mine;
  }
}

template <bool UseHierarchy>
void nearestFace(benchmark::State& state) {
  Hall& h = hallOf(static_cast<int>(state.range(0)));
  const std::vector<Ray> rs = rays(h, 2000);
  auto loopQuery = [&](const Ray& r) {
    const Vec3d e = r.origin + r.direction;
    const Vec3d lo{std::min(r.origin.x, e.x), std::min(r.origin.y, e.y), std::min(r.origin.z, e.z)};
    const Vec3d hi{std::max(r.origin.x, e.x), std::max(r.origin.y, e.y), std::max(r.origin.z, e.z)};
    std::optional<RayFaceHit> best;
    double bestSq = 1e300;
    for (std::uint32_t i = 0; i < h.table.size(); ++i) {
      const auto hit = rayFaceTest(h.table, i, r.origin, r.direction, lo, hi);
      if (hit && hit->distanceSq < bestSq) {
        best = hit;
        bestSq = hit->distanceSq;
      }
    }
    return best;
  };
  auto run = [&](bool hierarchy) {
    std::size_t found = 0;
    for (const Ray& r : rs)
      found +=
          (hierarchy ? h.bvh.nearestFaceAlongRay(h.table, r.origin, r.direction) : loopQuery(r))
              .has_value();
    return found;
  };
  const double loop = UseHierarchy ? secondsOf([&] { benchmark::DoNotOptimize(run(false)); }) : 0;
  for (auto _ : state) benchmark::DoNotOptimize(run(UseHierarchy));
  state.counters["faces"] = static_cast<double>(h.table.size());
  state.counters["rays/s"] = benchmark::Counter(static_cast<double>(state.iterations() * rs.size()),
                                                benchmark::Counter::kIsRate);
  if (UseHierarchy) state.counters["speedup"] = loop / secondsOf([&] { run(true); });
}

// Faces whose boxes overlap the box of a short segment (blocking tests).
template <bool UseHierarchy>
void segmentBoxes(benchmark::State& state) {
  Hall& h = hallOf(static_cast<int>(state.range(0)));
  std::vector<Ray> rs = rays(h, 4000);
  for (Ray& r : rs) r.direction = r.direction * 0.005;  // 5 m segments
  std::vector<std::uint32_t> out;
  auto run = [&](bool hierarchy) {
    std::size_t total = 0;
    for (const Ray& r : rs) {
      const Vec3d e = r.origin + r.direction;
      const Vec3d lo{std::min(r.origin.x, e.x), std::min(r.origin.y, e.y),
                     std::min(r.origin.z, e.z)};
      const Vec3d hi{std::max(r.origin.x, e.x), std::max(r.origin.y, e.y),
                     std::max(r.origin.z, e.z)};
      if (hierarchy) {
        h.bvh.facesOverlappingBox(lo, hi, BoxOverlap::Strict, out);
        total += out.size();
      } else {
        for (std::uint32_t i = 0; i < h.table.size(); ++i)
          total += boxesOverlap(faceBox(h.table[i]), lo, hi, BoxOverlap::Strict);
      }
    }
    return total;
  };
  const double loop = UseHierarchy ? secondsOf([&] { benchmark::DoNotOptimize(run(false)); }) : 0;
  for (auto _ : state) benchmark::DoNotOptimize(run(UseHierarchy));
  state.counters["faces"] = static_cast<double>(h.table.size());
  state.counters["segments/s"] = benchmark::Counter(
      static_cast<double>(state.iterations() * rs.size()), benchmark::Counter::kIsRate);
  if (UseHierarchy) state.counters["speedup"] = loop / secondsOf([&] { run(true); });
}

void buildHierarchy(benchmark::State& state) {
  Hall& h = hallOf(static_cast<int>(state.range(0)));
  FaceBvh bvh;
  for (auto _ : state) {
    bvh.build(h.table);
    benchmark::DoNotOptimize(bvh.nodeCount());
  }
  state.counters["faces"] = static_cast<double>(h.table.size());
}

// The whole check (three scans at 0.1 m, in parallel) on a fresh copy of
// the hall's faces each time, since the check may invert faces.
void roomCheck(benchmark::State& state) {
  Hall& h = hallOf(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    Project p;
    for (const ModelObject& o : h.project.objects)
      p.objects.appendObject(ObjectList::copyObject(o));
    state.ResumeTiming();
    benchmark::DoNotOptimize(runRoomCheck(p).inverted);
  }
  state.counters["faces"] = static_cast<double>(h.table.size());
}

#define HALL_SIZES ->Arg(100)->Arg(1000)->Arg(4000)->Arg(16000)->Unit(benchmark::kMillisecond)
BENCHMARK(scanLines<false>) HALL_SIZES;
BENCHMARK(scanLines<true>) HALL_SIZES;
BENCHMARK(nearestFace<false>)->Arg(1200) HALL_SIZES;
BENCHMARK(nearestFace<true>)->Arg(1200) HALL_SIZES;
BENCHMARK(segmentBoxes<false>) HALL_SIZES;
BENCHMARK(segmentBoxes<true>) HALL_SIZES;
BENCHMARK(buildHierarchy) HALL_SIZES;
BENCHMARK(roomCheck)->Arg(100)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tav

BENCHMARK_MAIN();
