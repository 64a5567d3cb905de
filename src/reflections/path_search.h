// The reflection path search: every path from each loudspeaker to a target
// point up to a maximum order, by image sources for the low orders and by
// rays with a receiver sphere beyond them. Paths stream out as work-file
// records (path_record.h) in the order a single thread finds them, whatever
// the number of threads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "model/vec3.h"
#include "reflections/face_table.h"

namespace tav {

constexpr int MIN_REFLECTION_ORDER = 1;
constexpr int MAX_REFLECTION_ORDER = 40;
// Beyond this many image sources of one order, that order goes to rays.
constexpr double IMAGE_SOURCE_LIMIT = 8e9;
// The receiver sphere: radius 0.15 m, compared as a squared distance.
constexpr double RECEIVER_RADIUS_SQ = 0.0225;
constexpr double RAY_LENGTH = 1000.0;
constexpr int DIRECTION_STEPS = 400;
// Rays of the search (rings 1..199) and of the mean free path (every 16th).
constexpr std::size_t SEARCH_RAY_COUNT = 61198;
constexpr std::size_t FREE_PATH_RAY_COUNT = 239;
constexpr int FREE_PATH_ORDER = 7;
constexpr int FREE_PATH_RAY_START = 8;
// Face tests between two looks at Cancel.
constexpr std::uint64_t CANCEL_POLL_TESTS = 60000;

// How the orders split between image sources and rays.
struct OrderSplit {
  int maxOrder = 1;    // M, 1..40
  int imageOrder = 1;  // L: image sources up to this order
  int rayStart = 0;    // R: rays record paths of at least R reflections
  bool tracesRays() const { return imageOrder < maxOrder; }
};
// For `faces` faces and a wanted order (clamped to 1..40): L stops before the
// first order k >= 3 with (faces - 1)^k > 8e9.
OrderSplit splitOrders(std::size_t faces, int maxOrder);

// The ray directions: rings i = 1, 1 + ringStep, ... < 200 around the x axis,
// azimuth steps of stepFactor · trunc(1 / sin) (at least 1). Each has length
// 1000. (1, 1): the search's 61198 rays; (16, 16): the 239 of the mean free path.
std::vector<Vec3d> rayDirections(int ringStep = 1, int stepFactor = 1);

// Progress of the search in percent, reported on the calling thread between
// rounds of work; returning true cancels (the paths found so far are kept).
using SearchProgress = std::function<bool(double percent)>;

// Receives the records in serial order, one loudspeaker after the other;
// endOfSpeaker follows each loudspeaker. False stops the search.
class PathSink {
 public:
  virtual ~PathSink() = default;
  virtual bool records(std::span<const std::uint8_t> bytes) = 0;
  virtual bool endOfSpeaker() { return true; }
};

struct SearchOptions {
  // The described search in its plain form: every face by a loop, no
  // hierarchy, no windows, one thread. The oracle of the fast search.
  bool plain = false;
  SearchProgress progress;
};

// Sums over every ray segment that ended on a face (m).
struct FreePathSums {
  double sum = 0;
  std::uint64_t count = 0;
};

struct SearchOutcome {
  std::size_t paths = 0;
  bool cancelled = false;
  bool sinkFailed = false;
  FreePathSums freePath;  // of the search's rays
};

// Searches from each source (loudspeaker position, in table order) to the
// target. `table` must be sorted for reflections.
SearchOutcome searchPaths(const FaceTable& table, std::span<const Vec3d> sources,
                          const Vec3d& target, const OrderSplit& split, PathSink& sink,
                          const SearchOptions& options = {});

// Traces the 239 rays of the mean free path from `point` (maximum order 7,
// no receiver) and adds their segments to `sums`.
void traceFreePath(const FaceTable& table, const Vec3d& point, FreePathSums& sums,
                   const SearchOptions& options = {});
// sum / count, 0 without a segment.
double meanFreePath(const FreePathSums& sums);

}  // namespace tav
