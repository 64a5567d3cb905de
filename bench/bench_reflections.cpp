// The reflection search on the rooms users compare it on: a 10.67 x 7.5 x
// 3.5 m box of 6 polygons at orders 8 to 11, an L-shaped room of 8 faces at
// orders 7 to 9 and a generated hall of about 2000 faces at order 3, on one
// thread and on all; and the ray step's segment rate. One line per case:
//   reflections room=box faces=6 order=10 paths=P seconds_one_thread=...
//   seconds_all_threads=...
//   rays room=... faces=F rays=R segments=S segments_per_second_one_thread=...
#include <tbb/global_control.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "bench_rooms.h"
#include "reflections/path_search.h"

namespace tav {
namespace {

struct CountingSink : PathSink {
  std::size_t bytes = 0;
  bool records(std::span<const std::uint8_t> b) override {
    bytes += b.size();
    return true;
  }
};

// Fastest of a few runs, so one preempted run does not count.
double seconds(const std::function<void()>& f, int runs) {
  double best = 1e300;
  for (int i = 0; i < runs; ++i) {
    const auto t0 = std::chrono::steady_clock::now();
    f();
    best = std::min(best,
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
  }
  return best;
}

struct Room {
  const char* name;
  Project project;
  FaceTable table;
  Vec3d source, target;
};

void addPolygon(ObjectList& list, const std::vector<Vec3d>& v) {
  auto o = std::make_unique<ModelObject>();
  o->layer = LAYER_ROOM;
  o->shape = SHAPE_FACE;
  bench::polygon(*o, v);
  list.appendObject(std::move(o));
}

std::unique_ptr<Room> boxRoom() {
  auto r = std::make_unique<Room>();
  r->name = "box";
  bench::box(r->project.objects, {0, 0, 0}, {10.67, 7.5, 3.5}, true);
  r->source = {2.3, 1.7, 1.2};
  r->target = {7.9, 5.1, 1.6};
  return r;
}

// Two boxes joined: the plan (0,0) (8,0) (8,4) (4,4) (4,7) (0,7), 3 m high.
std::unique_ptr<Room> lRoom() {
  auto r = std::make_unique<Room>();
  r->name = "lroom";
  const std::vector<std::array<double, 2>> plan = {{0, 0}, {8, 0}, {8, 4}, {4, 4}, {4, 7}, {0, 7}};
  std::vector<Vec3d> floor, ceiling;
  for (const auto& p : plan) floor.push_back({p[0], p[1], 0});
  for (auto it = plan.rbegin(); it != plan.rend(); ++it) ceiling.push_back({(*it)[0], (*it)[1], 3});
  addPolygon(r->project.objects, floor);
  addPolygon(r->project.objects, ceiling);
  for (std::size_t i = 0; i < plan.size(); ++i) {
    const auto& a = plan[i];
    const auto& b = plan[(i + 1) % plan.size()];
    addPolygon(r->project.objects,
               {{a[0], a[1], 0}, {a[0], a[1], 3}, {b[0], b[1], 3}, {b[0], b[1], 0}});
  }
  r->source = {6.5, 1.5, 1.8};
  r->target = {1.5, 5.5, 1.2};
  return r;
}

std::unique_ptr<Room> hallRoom() {
  auto r = std::make_unique<Room>();
  r->name = "hall";
  auto h = bench::makeHall(2000);
  for (const ModelObject& o : h->project.objects)
    r->project.objects.appendObject(ObjectList::copyObject(o));
  r->source = {1.5, h->width * 0.43, 2.5};
  r->target = {h->length * 0.71, h->width * 0.62, 3.1};
  return r;
}

void prepare(Room& r) {
  buildFaceTable(r.project, r.table);
  sortFacesForReflections(r.table);
}

void searchCase(Room& r, int order) {
  const std::vector<Vec3d> sources{r.source};
  const OrderSplit split = splitOrders(r.table.size(), order);
  std::size_t paths = 0;
  auto run = [&] {
    CountingSink sink;
    paths = searchPaths(r.table, sources, r.target, split, sink).paths;
  };
  const int runs = r.table.size() > 100 ? 1 : 5;
  double one = 0;
  {
    tbb::global_control single(tbb::global_control::max_allowed_parallelism, 1);
    one = seconds(run, runs);
  }
  const double all = seconds(run, runs);
  std::printf(
      "reflections room=%s faces=%zu order=%d paths=%zu seconds_one_thread=%.6f "
      "seconds_all_threads=%.6f\n",
      r.name, r.table.size(), order, paths, one, all);
  std::fflush(stdout);
}

// The search's 61198 rays to order 10 from the source (images to order 1),
// one thread: segments are the ray steps that ended on a face.
void rayCase(Room& r) {
  const std::vector<Vec3d> sources{r.source};
  const OrderSplit split{10, 1, 2};
  SearchOutcome out;
  tbb::global_control single(tbb::global_control::max_allowed_parallelism, 1);
  const double s = seconds(
      [&] {
        CountingSink sink;
        out = searchPaths(r.table, sources, r.target, split, sink);
      },
      1);
  std::printf("rays room=%s faces=%zu rays=%zu segments=%llu segments_per_second_one_thread=%.0f\n",
              r.name, r.table.size(), SEARCH_RAY_COUNT,
              static_cast<unsigned long long>(out.freePath.count),
              static_cast<double>(out.freePath.count) / s);
  std::fflush(stdout);
}

}  // namespace
}  // namespace tav

int main() {
  using namespace tav;
  auto box = boxRoom();
  auto l = lRoom();
  auto hall = hallRoom();
  for (Room* r : {box.get(), l.get(), hall.get()}) prepare(*r);
  for (int order = 8; order <= 11; ++order) searchCase(*box, order);
  for (int order = 7; order <= 9; ++order) searchCase(*l, order);
  searchCase(*hall, 3);
  for (Room* r : {box.get(), l.get(), hall.get()}) rayCase(*r);
  return 0;
}
