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

#include "model/object_list.h"
#include "model/project.h"
#include "reflections/face_bvh.h"
#include "reflections/face_table.h"
#include "reflections/room_check.h"

namespace tav {
namespace {

void polygon(ModelObject& o, const std::vector<Vec3d>& v) {
  const auto base = static_cast<std::uint16_t>(o.nodes.size());
  for (const Vec3d& p : v) o.nodes.push_back(toNode(p));
  o.indices.push_back({IDX_START, base});
  o.indices.push_back({IDX_MATERIAL, 0});
  for (std::size_t i = 1; i < v.size(); ++i)
    o.indices.push_back(
        {i + 1 == v.size() ? IDX_CLOSE : IDX_LINE, static_cast<std::uint16_t>(base + i)});
}

// An axis-aligned quad on plane `axis` = c over [a0, a1] x [b0, b1] of the
// two following axes, facing +axis or -axis.
void quad(ModelObject& o, int axis, double c, double a0, double a1, double b0, double b1,
          bool plus) {
  const int p = (axis + 1) % 3, q = (axis + 2) % 3;
  auto at = [&](double a, double b) {
    double v[3];
    v[axis] = c;
    v[p] = a;
    v[q] = b;
    return Vec3d{v[0], v[1], v[2]};
  };
  std::vector<Vec3d> v = {at(a0, b0), at(a1, b0), at(a1, b1), at(a0, b1)};
  if (!plus) v = {v[0], v[3], v[2], v[1]};
  polygon(o, v);
}

// A closed box facing outwards (pillars, seats) or inwards (the hall).
void box(ObjectList& list, const Vec3d& lo, const Vec3d& hi, bool inward) {
  auto o = std::make_unique<ModelObject>();
  o->layer = LAYER_ROOM;
  o->shape = SHAPE_SOLID;
  const double l[3] = {lo.x, lo.y, lo.z}, h[3] = {hi.x, hi.y, hi.z};
  for (int a = 0; a < 3; ++a) {
    const int p = (a + 1) % 3, q = (a + 2) % 3;
    quad(*o, a, l[a], l[p], h[p], l[q], h[q], inward);
    quad(*o, a, h[a], l[p], h[p], l[q], h[q], !inward);
  }
  list.appendObject(std::move(o));
}

// A hall of about `faces` faces: the shell with a coffered ceiling, a
// stepped floor of seat blocks and rows of pillars.
struct Hall {
  Project project;
  FaceTable table;
  FaceBvh bvh;
  double length = 0, width = 0, height = 0;
};

std::unique_ptr<Hall> makeHall(int faces) {
  auto hall = std::make_unique<Hall>();
  const int k = std::max(1, static_cast<int>(std::sqrt(faces / 2.8)));
  hall->length = 20 + 2.0 * k;
  hall->width = 12 + 1.0 * k;
  hall->height = 10;
  const double L = hall->length, W = hall->width, H = hall->height;
  ObjectList& list = hall->project.objects;
  // Walls and floor.
  auto shell = std::make_unique<ModelObject>();
  shell->layer = LAYER_ROOM;
  shell->shape = SHAPE_SOLID;
  quad(*shell, 0, 0, 0, W, 0, H, true);
  quad(*shell, 0, L, 0, W, 0, H, false);
  quad(*shell, 1, 0, 0, H, 0, L, true);
  quad(*shell, 1, W, 0, H, 0, L, false);
  quad(*shell, 2, 0, 0, L, 0, W, true);
  list.appendObject(std::move(shell));
  // Coffered ceiling: k x k panels, objects of at most 4000 faces.
  auto ceiling = std::make_unique<ModelObject>();
  for (int i = 0; i < k; ++i)
    for (int j = 0; j < k; ++j) {
      if (ceiling->indices.size() > 4000 * 6) {
        ceiling->layer = LAYER_ROOM;
        ceiling->shape = SHAPE_SOLID;
        list.appendObject(std::move(ceiling));
        ceiling = std::make_unique<ModelObject>();
      }
      quad(*ceiling, 2, H, L * i / k, L * (i + 1) / k, W * j / k, W * (j + 1) / k, false);
    }
  ceiling->layer = LAYER_ROOM;
  ceiling->shape = SHAPE_SOLID;
  list.appendObject(std::move(ceiling));
  // Seat blocks rising towards the back, and pillars along the side walls.
  const int rows = std::max(1, k / 2), seats = std::max(1, k / 2);
  for (int r = 0; r < rows; ++r)
    for (int s = 0; s < seats; ++s) {
      const double x0 = L * 0.3 + (L * 0.65) * r / rows;
      const double y0 = 1 + (W - 2) * s / seats;
      box(list, {x0, y0, 0}, {x0 + 0.6 * L / rows, y0 + 0.8 * (W - 2) / seats, 0.2 + 0.05 * r},
          false);
    }
  for (int p = 0; p < k; ++p) {
    const double x = 1 + (L - 2) * p / k;
    box(list, {x, 0.2, 0}, {x + 0.4, 0.6, H}, false);
    box(list, {x, W - 0.6, 0}, {x + 0.4, W - 0.2, H}, false);
  }
  buildFaceTable(hall->project, hall->table);
  hall->bvh.build(hall->table);
  return hall;
}

Hall& hallOf(int faces) {
  static std::map<int, std::unique_ptr<Hall>> halls;
  auto& h = halls[faces];
  if (!h) h = makeHall(faces);
  return *h;
}

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
