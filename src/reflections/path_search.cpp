#include "reflections/path_search.h"

#include <tbb/parallel_for.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <memory>
#include <optional>

#include "reflections/face_bvh.h"
#include "reflections/image_windows.h"
#include "reflections/path_record.h"

namespace tav {

OrderSplit splitOrders(std::size_t faces, int maxOrder) {
  OrderSplit s;
  s.maxOrder = std::clamp(maxOrder, MIN_REFLECTION_ORDER, MAX_REFLECTION_ORDER);
  if (s.maxOrder == 1) {
    s.imageOrder = 1;
    s.rayStart = 0;
    return s;
  }
  s.imageOrder = s.rayStart = s.maxOrder;
  const double base = faces > 0 ? static_cast<double>(faces - 1) : 0.0;
  for (int k = 3; k <= s.maxOrder; ++k) {
    if (std::pow(base, k) > IMAGE_SOURCE_LIMIT) {
      s.imageOrder = k - 1;
      s.rayStart = k;
      break;
    }
  }
  return s;
}

std::vector<Vec3d> rayDirections(int ringStep, int stepFactor) {
  // Tables of 400 angles as f32, and the azimuth step of each ring.
  std::array<float, DIRECTION_STEPS> cosT{}, sinT{};
  for (int i = 0; i < DIRECTION_STEPS; ++i) {
    const double a = 2.0 * 3.14159265358979323846 * i / DIRECTION_STEPS;
    cosT[i] = static_cast<float>(std::cos(a));
    sinT[i] = static_cast<float>(std::sin(a));
  }
  std::array<int, DIRECTION_STEPS / 2 + 1> step{};
  step[0] = step[DIRECTION_STEPS / 2] = DIRECTION_STEPS;
  for (int i = 1; i < DIRECTION_STEPS / 2; ++i) {
    const float s = 400.0f / (400.0f * sinT[i]);
    step[i] = std::max(1, static_cast<int>(s));
  }
  std::vector<Vec3d> out;
  for (int i = 1; i < DIRECTION_STEPS / 2; i += ringStep) {
    const double r = std::fabs(RAY_LENGTH * sinT[i]);
    for (int j = 0; j < DIRECTION_STEPS; j += stepFactor * step[i])
      out.push_back({RAY_LENGTH * cosT[i], r * cosT[j], r * sinT[j]});
  }
  return out;
}

double meanFreePath(const FreePathSums& sums) {
  return sums.count > 0 ? sums.sum / static_cast<double>(sums.count) : 0.0;
}

namespace {

bool overlapsClosed(const FaceRecord& f, const Vec3d& a, const Vec3d& b) {
  const Vec3d lo{std::min(a.x, b.x), std::min(a.y, b.y), std::min(a.z, b.z)};
  const Vec3d hi{std::max(a.x, b.x), std::max(a.y, b.y), std::max(a.z, b.z)};
  return boxesOverlap(faceBox(f), lo, hi, BoxOverlap::Closed);
}

// The point where the line from image I towards P meets the face, when it
// lies inside the face and strictly between I and P (a reflection point
// behind the image or beyond P would send the path through the back of the
// face).
std::optional<Vec3d> reflectionPoint(const FaceRecord& f, const Vec3d& image, const Vec3d& p) {
  if (!overlapsClosed(f, image, p)) return std::nullopt;
  const Vec3d d = p - image;
  const auto hit = intersectFacePlane(f, image, d);
  if (!hit || !hit->inside) return std::nullopt;
  const Vec3d q = hit->point - image;
  if (!(dot(q, d) > 0) || !(dot(q, q) < dot(d, d))) return std::nullopt;
  return hit->point;
}

// Shared, read-only for the tasks.
struct SearchShared {
  const FaceTable& table;
  const OrderSplit& split;
  Vec3d target;
  std::array<float, 3> targetF{};
  std::unique_ptr<FaceBvh> bvh;      // null in the plain search
  std::unique_ptr<FaceHulls> hulls;  // null in the plain search
  std::atomic<bool> abort{false};
  std::size_t faceCount() const { return table.size(); }
};

// One task's search state: the path and image stacks, its own record
// buffer and sums.
class Searcher {
 public:
  explicit Searcher(SearchShared& s) : s_(s) {}

  std::vector<std::uint8_t> records;
  std::size_t paths = 0;
  FreePathSums freePath;

  void start(const Vec3d& source) {
    const std::array<float, 3> sf = toFloat3(source);
    entries_[0] = {PATH_ID_SOURCE, sf};
    images_[0] = sf;
  }

  // The path with no reflection.
  void direct() {
    entries_[1] = {PATH_ID_TARGET, s_.targetF};
    if (visible(0)) record(0);
  }

  // The image-source subtree under one face of the first order.
  void imageBranch(std::uint32_t face) {
    maxDepth_ = s_.split.imageOrder;
    imageFace(1, face, nullptr, 0);
  }

  // One ray from the start point, with the receiver from order R on.
  void ray(const Vec3d& direction, int maxOrder, int rayStart, bool receiver) {
    maxOrder_ = maxOrder;
    rayStart_ = rayStart;
    receiver_ = receiver;
    rayStep(1, toVec(entries_[0].point), direction, std::nullopt);
  }

 private:
  bool aborted() {
    if (++tests_ % 1024 == 0) abortSeen_ = s_.abort.load(std::memory_order_relaxed);
    return abortSeen_;
  }

  // One node of the image-source tree: face `f` at `depth`, mirrored from
  // images_[depth - 1]. `cuts` (none at the first order) bound the part of f
  // a path can reach through the previous reflections.
  void imageFace(int depth, std::uint32_t f, const HalfSpace* cuts, int cutCount) {
    if (aborted()) return;
    const FaceRecord& face = s_.table[f];
    const Vec3d src = toVec(images_[depth - 1]);
    const double v = dot(face.p0() - src, face.normal());
    if (v >= 0) return;  // the image lies not in front of the face
    // The window is needed for the next order only: at the last one the
    // target test itself is as cheap as the cut.
    ImageWindow& window = windows_[depth];
    if (s_.hulls && depth < maxDepth_) {
      if (cuts) {
        if (!clipWindow(s_.hulls->hull(f), cuts, cutCount, s_.hulls->margin(), window)) return;
      } else {
        copyWindow(s_.hulls->hull(f), window);
      }
    }
    const Vec3d image = src + face.normal() * (v / face.halfNormSq);
    images_[depth] = toFloat3(image);
    entries_[depth].id = static_cast<std::int16_t>(f);

    if (const auto q = reflectionPoint(face, toVec(images_[depth]), s_.target)) {
      entries_[depth].point = toFloat3(*q);
      if (validate(depth)) record(depth);
    }
    if (depth >= maxDepth_ || abortSeen_) return;
    children(depth + 1);
  }

  // The faces of the next order, in table order.
  void children(int depth) {
    const std::size_t n = s_.faceCount();
    const HalfSpace* cuts = nullptr;
    int k = 0;
    if (s_.hulls) {
      const FaceRecord& prev = s_.table[static_cast<std::uint32_t>(entries_[depth - 1].id)];
      k = beamHalfSpaces(prev, toVec(images_[depth - 1]), windows_[depth - 1], s_.hulls->margin(),
                         cuts_[depth]);
      cuts = cuts_[depth].data();
    }
    if (s_.bvh && cuts && n > 32) {
      // Only faces whose boxes meet the beam can keep a window.
      std::vector<std::uint32_t>& list = candidates_[depth];
      s_.bvh->facesInRegion(cuts, k, s_.hulls->margin(), list);
      for (std::uint32_t f : list) {
        imageFace(depth, f, cuts, k);
        if (abortSeen_) return;
      }
      return;
    }
    for (std::uint32_t f = 0; f < n; ++f) {
      imageFace(depth, f, cuts, k);
      if (abortSeen_) return;
    }
  }

  // Backtracking from reflection n - 1 down to 1, then the visibility of
  // every segment.
  bool validate(int n) {
    for (int i = n - 1; i >= 1; --i) {
      const FaceRecord& f = s_.table[static_cast<std::uint32_t>(entries_[i].id)];
      const auto q = reflectionPoint(f, toVec(images_[i]), toVec(entries_[i + 1].point));
      if (!q) return false;
      entries_[i].point = toFloat3(*q);
    }
    entries_[n + 1] = {PATH_ID_TARGET, s_.targetF};
    return visible(n);
  }

  // Every segment k -> k + 1 free of faces other than its own two.
  bool visible(int n) {
    for (int k = 0; k <= n; ++k) {
      const Vec3d a = toVec(entries_[k].point), b = toVec(entries_[k + 1].point);
      const int e0 = entries_[k].id, e1 = entries_[k + 1].id;
      auto blocks = [&](std::uint32_t f) {
        if (static_cast<int>(f) == e0 || static_cast<int>(f) == e1) return false;
        return blocksSegment(s_.table[f], a, b);
      };
      if (s_.bvh) {
        if (s_.bvh->anyFaceOnSegment(a, b, blocks)) return false;
      } else {
        for (std::uint32_t f = 0; f < s_.faceCount(); ++f)
          if (blocks(f)) return false;
      }
    }
    return true;
  }

  static bool blocksSegment(const FaceRecord& f, const Vec3d& a, const Vec3d& b) {
    const Vec3d lo{std::min(a.x, b.x), std::min(a.y, b.y), std::min(a.z, b.z)};
    const Vec3d hi{std::max(a.x, b.x), std::max(a.y, b.y), std::max(a.z, b.z)};
    if (!boxesOverlap(faceBox(f), lo, hi, BoxOverlap::Strict)) return false;
    const Vec3d d = b - a;
    const auto hit = intersectFacePlane(f, a, d);
    if (!hit || !hit->inside) return false;
    const Vec3d q = hit->point - a;
    if (!(dot(q, q) < dot(d, d))) return false;
    return q.x * d.x > 0 || q.y * d.y > 0 || q.z * d.z > 0;
  }

  void record(int n) {
    appendPathRecord(records, s_.targetF, std::span<const PathEntry>(entries_.data(), n + 2u));
    ++paths;
  }

  void rayStep(int depth, const Vec3d& origin, Vec3d d, std::optional<std::uint32_t> exclude) {
    if (aborted()) return;
    const double len2 = dot(d, d);
    if (len2 < 0.001) return;
    d = d * (1e6 / len2);
    const double dd = dot(d, d);
    bool hitReceiver = false;
    double best = 1e10;
    if (receiver_ && depth > rayStart_) {
      const Vec3d to = s_.target - origin;
      const double t = dot(to, d) / dd;
      const Vec3d miss = origin - s_.target + d * t;
      if (to.x * d.x >= 0 && to.y * d.y >= 0 && to.z * d.z >= 0 &&
          dot(miss, miss) < RECEIVER_RADIUS_SQ) {
        hitReceiver = true;
        best = dot(to, to);
      }
      if (!hitReceiver && depth > maxOrder_) return;
    }
    std::optional<RayFaceHit> hit;
    if (s_.bvh) {
      hit = s_.bvh->nearestFaceAlongRay(s_.table, origin, d, exclude, best);
    } else {
      const Vec3d e = origin + d;
      const Vec3d lo{std::min(origin.x, e.x), std::min(origin.y, e.y), std::min(origin.z, e.z)};
      const Vec3d hi{std::max(origin.x, e.x), std::max(origin.y, e.y), std::max(origin.z, e.z)};
      for (std::uint32_t f = 0; f < s_.faceCount(); ++f) {
        if (exclude && *exclude == f) continue;
        const auto h = rayFaceTest(s_.table, f, origin, d, lo, hi);
        if (h && h->distanceSq < best) {
          hit = h;
          best = h->distanceSq;
        }
      }
    }
    if (hit) {
      freePath.sum += std::sqrt(hit->distanceSq);
      ++freePath.count;
      if (depth > MAX_PATH_REFLECTIONS) return;
      entries_[depth] = {static_cast<std::int16_t>(hit->face), toFloat3(hit->point)};
      if (depth <= maxOrder_) {
        const FaceRecord& f = s_.table[hit->face];
        const double v = dot(f.p0() - origin, f.normal());
        const Vec3d mirror = origin + f.normal() * (v / f.halfNormSq);
        const Vec3d q = toVec(entries_[depth].point);
        rayStep(depth + 1, q, q - mirror, hit->face);
      }
    } else if (hitReceiver) {
      entries_[depth] = {PATH_ID_TARGET, s_.targetF};
      record(depth - 1);
    }
  }

  SearchShared& s_;
  std::array<PathEntry, MAX_PATH_ENTRIES + 1> entries_{};
  std::array<std::array<float, 3>, MAX_PATH_ENTRIES + 1> images_{};
  std::array<ImageWindow, MAX_REFLECTION_ORDER + 2> windows_{};
  std::array<std::array<HalfSpace, ImageWindow::CAPACITY + 1>, MAX_REFLECTION_ORDER + 2> cuts_{};
  std::array<std::vector<std::uint32_t>, MAX_REFLECTION_ORDER + 2> candidates_;
  int maxDepth_ = 0;
  int maxOrder_ = 0;
  int rayStart_ = 0;
  bool receiver_ = false;
  std::uint64_t tests_ = 0;
  bool abortSeen_ = false;
};

// One unit of work of a loudspeaker, in serial order: the direct path, one
// image-source branch per first-order face, then the rays in chunks.
struct Task {
  enum class Kind { Direct, Branch, Rays } kind;
  std::uint32_t first = 0, count = 0;  // face, or the range of rays
  double weight = 0;                   // progress units
};

constexpr std::uint32_t RAYS_PER_TASK = 128;

struct TaskResult {
  std::vector<std::uint8_t> records;
  std::size_t paths = 0;
  FreePathSums freePath;
};

std::vector<Task> speakerTasks(std::size_t faces, const OrderSplit& split, bool rays,
                               std::size_t rayCount) {
  std::vector<Task> tasks;
  const double n = static_cast<double>(faces);
  tasks.push_back({Task::Kind::Direct, 0, 0, 1.0});
  const double branch = std::pow(n, split.imageOrder - 1);
  for (std::uint32_t f = 0; f < faces; ++f) tasks.push_back({Task::Kind::Branch, f, 1, branch});
  if (rays) {
    for (std::uint32_t r = 0; r < rayCount; r += RAYS_PER_TASK) {
      const std::uint32_t c = std::min<std::uint32_t>(RAYS_PER_TASK, rayCount - r);
      tasks.push_back({Task::Kind::Rays, r, c, c * split.maxOrder * n});
    }
  }
  return tasks;
}

// Runs `tasks` in rounds; between rounds the progress is reported on this
// thread. Results come back in task order.
template <typename Run>
bool runRounds(std::size_t taskCount, bool plain, SearchShared& shared, double& done, double total,
               const SearchProgress& progress, const std::vector<Task>& tasks,
               std::vector<TaskResult>& results, Run&& run) {
  results.assign(taskCount, {});
  const std::size_t round = plain ? 1 : 64;
  for (std::size_t at = 0; at < taskCount; at += round) {
    const std::size_t end = std::min(taskCount, at + round);
    if (plain) {
      for (std::size_t i = at; i < end; ++i) run(i, results[i]);
    } else {
      tbb::parallel_for(at, end, [&](std::size_t i) { run(i, results[i]); });
    }
    for (std::size_t i = at; i < end; ++i) done += tasks[i].weight;
    if (progress && progress(total > 0 ? std::min(100.0, done * 100.0 / total) : 100.0))
      shared.abort = true;
    if (shared.abort) return false;
  }
  return true;
}

}  // namespace

SearchOutcome searchPaths(const FaceTable& table, std::span<const Vec3d> sources,
                          const Vec3d& target, const OrderSplit& split, PathSink& sink,
                          const SearchOptions& options) {
  SearchOutcome out;
  SearchShared shared{table, split, target, {}, nullptr, nullptr};
  shared.targetF = toFloat3(target);
  if (!options.plain && !table.empty()) {
    shared.bvh = std::make_unique<FaceBvh>(table);
    shared.hulls = std::make_unique<FaceHulls>(table);
  }
  const bool rays = split.tracesRays();
  const std::vector<Vec3d> directions = rays ? rayDirections() : std::vector<Vec3d>{};
  const std::vector<Task> tasks = speakerTasks(table.size(), split, rays, directions.size());
  double total = std::pow(static_cast<double>(table.size()), split.imageOrder);
  if (rays) total += split.maxOrder * static_cast<double>(SEARCH_RAY_COUNT) * table.size();
  total *= static_cast<double>(sources.size());
  double done = 0;

  std::vector<TaskResult> results;
  for (const Vec3d& source : sources) {
    const bool finished =
        runRounds(tasks.size(), options.plain, shared, done, total, options.progress, tasks,
                  results, [&](std::size_t i, TaskResult& r) {
                    if (shared.abort.load(std::memory_order_relaxed)) return;
                    const Task& t = tasks[i];
                    // On the heap: the stacks of a searcher are large for a thread's stack.
                    auto s = std::make_unique<Searcher>(shared);
                    s->start(source);
                    switch (t.kind) {
                      case Task::Kind::Direct:
                        s->direct();
                        break;
                      case Task::Kind::Branch:
                        if (!table.empty()) s->imageBranch(t.first);
                        break;
                      case Task::Kind::Rays:
                        for (std::uint32_t k = t.first; k < t.first + t.count; ++k)
                          s->ray(directions[k], split.maxOrder, split.rayStart, true);
                        break;
                    }
                    r.records = std::move(s->records);
                    r.paths = s->paths;
                    r.freePath = s->freePath;
                  });
    for (const TaskResult& r : results) {
      out.paths += r.paths;
      out.freePath.sum += r.freePath.sum;
      out.freePath.count += r.freePath.count;
      if (!r.records.empty() && !sink.records(r.records)) out.sinkFailed = true;
    }
    if (!sink.endOfSpeaker()) out.sinkFailed = true;
    if (!finished || out.sinkFailed) {
      out.cancelled = !out.sinkFailed;
      break;
    }
  }
  return out;
}

void traceFreePath(const FaceTable& table, const Vec3d& point, FreePathSums& sums,
                   const SearchOptions& options) {
  if (table.empty()) return;
  OrderSplit split;
  split.maxOrder = FREE_PATH_ORDER;
  split.imageOrder = FREE_PATH_ORDER;
  split.rayStart = FREE_PATH_RAY_START;
  SearchShared shared{table, split, point, {}, nullptr, nullptr};
  shared.targetF = toFloat3(point);
  if (!options.plain) shared.bvh = std::make_unique<FaceBvh>(table);
  const std::vector<Vec3d> directions = rayDirections(16, 16);
  std::vector<FreePathSums> perRay(directions.size());
  auto one = [&](std::size_t i) {
    auto s = std::make_unique<Searcher>(shared);
    s->start(point);
    s->ray(directions[i], FREE_PATH_ORDER, FREE_PATH_RAY_START, false);
    perRay[i] = s->freePath;
  };
  if (options.plain) {
    for (std::size_t i = 0; i < directions.size(); ++i) one(i);
  } else {
    tbb::parallel_for(std::size_t{0}, directions.size(), one);
  }
  for (const FreePathSums& s : perRay) {
    sums.sum += s.sum;
    sums.count += s.count;
  }
}

}  // namespace tav
