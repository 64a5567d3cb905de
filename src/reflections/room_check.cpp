#include "reflections/room_check.h"

#include <tbb/blocked_range.h>
#include <tbb/enumerable_thread_specific.h>
#include <tbb/parallel_for.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "model/number_text.h"
#include "model/project.h"
#include "reflections/face_bvh.h"

namespace tav {

namespace {

// Scan lines handled per parallel round. Fixed, so the rounds (and with them
// every result) do not depend on the number of threads.
constexpr std::size_t LINES_PER_ROUND = 4096;

// A crossing before the bias: face and coordinate along the scan axis.
struct RawHit {
  std::uint32_t face;
  double coordinate;
};

void setComp(Vec3d& v, int a, double x) { (a == 0 ? v.x : (a == 1 ? v.y : v.z)) = x; }
double comp(const Vec3d& v, int a) { return a == 0 ? v.x : (a == 1 ? v.y : v.z); }

constexpr std::array<int, 2> otherAxes(int axis) {
  return axis == 0 ? std::array<int, 2>{1, 2}
                   : (axis == 1 ? std::array<int, 2>{0, 2} : std::array<int, 2>{0, 1});
}

// The crossings of one line, in table order. Only reads the table and the
// model; the inside test does not depend on the polygons' direction, so
// inversions made between rounds cannot change what a line crosses.
void rawCrossings(const FaceTable& table, const FaceBvh* bvh, int axis, double u, double v,
                  double start, std::vector<std::uint32_t>& candidates, std::vector<RawHit>& out) {
  out.clear();
  const auto [b, c] = otherAxes(axis);
  Vec3d origin, direction;
  setComp(origin, axis, start);
  setComp(origin, b, u);
  setComp(origin, c, v);
  setComp(direction, axis, 1.0);
  auto test = [&](std::uint32_t id) {
    const FaceRecord& f = table[id];
    if (f.normalSign(axis) == 0) return;
    const auto hit = intersectFacePlane(f, origin, direction);
    if (hit && hit->inside) out.push_back({id, comp(hit->point, axis)});
  };
  if (bvh) {
    bvh->facesCrossingLine(axis, u, v, candidates);
    for (std::uint32_t id : candidates) test(id);
  } else {
    for (std::uint32_t id = 0; id < table.size(); ++id)
      if (lineCrossesBox(faceBox(table[id]), axis, u, v)) test(id);
  }
}

// Biases the crossings with the faces' present signs and orders them: each
// goes before the first entry with a larger coordinate.
void biasAndOrder(const FaceTable& table, int axis, const std::vector<RawHit>& raw,
                  std::vector<RoomScanHit>& hits) {
  hits.clear();
  for (const RawHit& r : raw)
    hits.push_back({r.face, static_cast<float>(r.coordinate +
                                               ROOM_SCAN_BIAS * table[r.face].normalSign(axis))});
  std::stable_sort(hits.begin(), hits.end(), [](const RoomScanHit& x, const RoomScanHit& y) {
    return x.coordinate < y.coordinate;
  });
}

// Scan positions on one axis: lo + 0.05 + 0.1 i for every i with a
// position below `hi`; computed on demand, never stored.
struct GridAxis {
  double lo = 0;
  std::int64_t count = 0;
  double at(std::int64_t i) const {
    return lo + 0.5 * ROOM_SCAN_SPACING + static_cast<double>(i) * ROOM_SCAN_SPACING;
  }
};

// The number of positions below `hi` (as a double, infinite for extents
// that are not finite).
double gridCount(double lo, double hi) {
  if (!std::isfinite(lo) || !std::isfinite(hi)) return HUGE_VAL;
  const GridAxis g{lo, 0};
  double n = std::max(0.0, std::ceil((hi - lo - 0.5 * ROOM_SCAN_SPACING) / ROOM_SCAN_SPACING));
  if (n > 1e15) return n;
  auto i = static_cast<std::int64_t>(n);
  while (i > 0 && !(g.at(i - 1) < hi)) --i;
  while (g.at(i) < hi) ++i;
  return static_cast<double>(i);
}

std::string formatted(const char* format, double value) { return formatNumber(format, value); }

}  // namespace

std::string roomScanProgressText(double percent) { return formatted("%1.2f ", percent) + "%"; }

std::vector<std::string> RoomCheckResult::flagLabels() const {
  std::vector<std::string> out;
  if (flagXY) out.push_back("XY");
  if (flagXZ) out.push_back("XZ");
  if (flagYZ) out.push_back("YZ");
  return out;
}

void scanAxis(const FaceTable& table, const FaceBvh* bvh, int axis, double u, double v,
              double start, std::vector<RoomScanHit>& hits) {
  std::vector<std::uint32_t> candidates;
  std::vector<RawHit> raw;
  rawCrossings(table, bvh, axis, u, v, start, candidates, raw);
  biasAndOrder(table, axis, raw, hits);
}

bool reverseFaceOrder(ModelObject& object, std::size_t startEntry) {
  auto& idx = object.indices;
  if (startEntry >= idx.size()) return false;
  std::vector<std::size_t> positions;
  for (std::size_t i = startEntry + 1; i < idx.size(); ++i) {
    if (idx[i].code == IDX_MATERIAL) continue;
    if (idx[i].code == IDX_START) return false;
    positions.push_back(i);
    if (idx[i].code == IDX_CLOSE) {
      for (std::size_t a = 0, b = positions.size() - 1; a < b; ++a, --b)
        std::swap(idx[positions[a]].ref, idx[positions[b]].ref);
      return true;
    }
  }
  return false;
}

RoomCheckResult runRoomCheck(Project& project, const RoomCheckCallbacks& callbacks) {
  RoomCheckResult result;
  FaceTable table;
  result.tableMessage = buildFaceTable(project, table).message;
  if (table.size() < 2) {
    result.status = RoomCheckStatus::NoBoundaries;
    result.message = {MSG_NO_ROOM_BOUNDARIES, ""};
    return result;
  }

  double lo[3] = {1e30, 1e30, 1e30}, hi[3] = {-1e30, -1e30, -1e30};
  for (const FaceRecord& f : table.records)
    for (int a = 0; a < 3; ++a) {
      lo[a] = std::min(lo[a], double{f.boundsMin(a)});
      hi[a] = std::max(hi[a], double{f.boundsMax(a)});
    }
  auto cells = [&](int a) { return (hi[a] - lo[a]) / ROOM_SCAN_SPACING - 1.0; };
  const double estimate = cells(0) * cells(1) + cells(1) * cells(2) + cells(0) * cells(2);
  GridAxis grid[3];
  double totalLines = 0;
  for (int a = 0; a < 3; ++a) grid[a].lo = lo[a];
  for (int axis = 0; axis < 3; ++axis) {
    const auto [b, c] = otherAxes(axis);
    totalLines += gridCount(lo[b], hi[b]) * gridCount(lo[c], hi[c]);
  }
  // Extents no room has (damaged coordinates) would keep the scan busy for
  // days: refuse them instead.
  if (!(totalLines <= MAX_ROOM_SCAN_LINES)) {
    result.status = RoomCheckStatus::TooLarge;
    result.message = {MSG_ROOM_TOO_LARGE, ""};
    return result;
  }
  for (int a = 0; a < 3; ++a) grid[a].count = static_cast<std::int64_t>(gridCount(lo[a], hi[a]));

  FaceBvh bvh;
  tbb::enumerable_thread_specific<std::vector<std::uint32_t>> candidates;
  std::vector<std::vector<RawHit>> slots(LINES_PER_ROUND);
  std::vector<RoomScanHit> hits;
  std::int64_t linesDone = 0;
  constexpr std::int16_t scanViews[3] = {VIEW_YZ, VIEW_XZ, VIEW_XY};

  for (int axis = 0; axis < 3; ++axis) {
    sortFacesByMinimum(table, axis);
    if (callbacks.viewChanged) callbacks.viewChanged(scanViews[axis]);
    bvh.build(table);
    const auto [b, c] = otherAxes(axis);
    const GridAxis& us = grid[b];
    const GridAxis& vs = grid[c];
    const auto lineCount = static_cast<std::size_t>(us.count * vs.count);
    const auto vCount = static_cast<std::size_t>(vs.count);
    const double start = lo[axis] - ROOM_SCAN_LEAD;
    RoomScanCounts& counts = result.scans[axis];

    for (std::size_t first = 0; first < lineCount; first += LINES_PER_ROUND) {
      const std::size_t n = std::min(LINES_PER_ROUND, lineCount - first);
      // Each line writes its own slot; the model is only read meanwhile.
      tbb::parallel_for(tbb::blocked_range<std::size_t>(0, n),
                        [&](const tbb::blocked_range<std::size_t>& r) {
                          auto& cand = candidates.local();
                          for (std::size_t k = r.begin(); k != r.end(); ++k) {
                            const std::size_t line = first + k;
                            rawCrossings(table, &bvh, axis, us.at(line / vCount),
                                         vs.at(line % vCount), start, cand, slots[k]);
                          }
                        });
      // Evaluation in line order, as a single thread would do it.
      for (std::size_t k = 0; k < n; ++k) {
        const std::size_t line = first + k;
        ++counts.lines;
        biasAndOrder(table, axis, slots[k], hits);
        if (hits.empty()) continue;
        ++counts.linesWithHits;
        counts.totalHits += static_cast<std::int64_t>(hits.size());
        if (hits.size() % 2 == 1) {
          ++counts.leakingLines;
          ++result.errorLines;
          // The point where the line meets its first face.
          Vec3d p;
          setComp(p, axis, slots[k].front().coordinate);
          for (const RawHit& r : slots[k])
            if (r.face == hits.front().face) setComp(p, axis, r.coordinate);
          setComp(p, b, us.at(line / vCount));
          setComp(p, c, vs.at(line % vCount));
          const Node marker = toNode(p);
          if (result.errorPoints.size() < MAX_ROOM_ERROR_POINTS)
            result.errorPoints.push_back(marker);
          if (callbacks.errorFound) callbacks.errorFound(marker);
          continue;
        }
        // Entering the room a face must face +axis, leaving it -axis.
        int expected = 1;
        for (const RoomScanHit& h : hits) {
          FaceRecord& f = table[h.face];
          if (expected * f.normalSign(axis) < 0 && f.ownerObject &&
              reverseFaceOrder(*f.ownerObject, f.startEntry)) {
            f.negateNormalSigns();
            ++result.inverted;
            project.modified = true;
            project.notifyObject(*f.ownerObject);
          }
          expected = -expected;
        }
      }
      linesDone += static_cast<std::int64_t>(n);
      if (callbacks.progress) {
        const double percent =
            estimate > 0 ? std::min(100.0, static_cast<double>(linesDone) * 100.0 / estimate)
                         : 100.0;
        if (callbacks.progress(percent)) {
          result.status = RoomCheckStatus::Cancelled;
          project.notifyAll();
          return result;
        }
      }
    }
  }

  std::int64_t linesWithHits = 0, leaking = 0;
  for (const RoomScanCounts& s : result.scans) {
    linesWithHits += s.linesWithHits;
    leaking += s.leakingLines;
  }
  result.scannedArea = static_cast<double>(linesWithHits) * ROOM_SCAN_CELL_AREA;
  result.errorArea = static_cast<double>(leaking) * ROOM_SCAN_CELL_AREA;
  auto flagged = [](const RoomScanCounts& s) { return s.leakingLines > 0 || s.linesWithHits == 0; };
  result.flagYZ = flagged(result.scans[0]);
  result.flagXZ = flagged(result.scans[1]);
  result.flagXY = flagged(result.scans[2]);

  std::string text;
  if (result.inverted > 0)
    text = std::to_string(result.inverted) + MSG_FACES_AUTO_INVERTED;  // "%ld" then the text
  if (result.anyFlag()) {
    // All cells have the same area, so the share of leaking lines is the
    // share of the error area (counted exactly instead of summed).
    if (linesWithHits > 0)
      result.errorPercent =
          100.0 * static_cast<double>(leaking) / static_cast<double>(linesWithHits) + 1e-6;
    if (result.errorPercent && *result.errorPercent < ROOM_ERROR_TOLERANCE) {
      result.message = {MSG_ROOM_ERROR_PREFIX + formatted("%1.3lf", *result.errorPercent) + " %",
                        CAPTION_ROOM_OK};
    } else {
      // No line hit anything at all: no percentage, the planes are reported.
      if (result.flagXY) text += "XY ";
      if (result.flagXZ) text += "XZ ";
      if (result.flagYZ) text += "YZ ";
      result.message = {text + MSG_ROOM_ERROR_SUFFIX, CAPTION_MISSING_FACES};
    }
  } else if (result.inverted > 0) {
    result.message = {text, CAPTION_ROOM_OK};
  } else {
    result.message = {MSG_NO_ERRORS_FOUND, CAPTION_ROOM_OK};
  }
  project.notifyAll();
  return result;
}

}  // namespace tav
