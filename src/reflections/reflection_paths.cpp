#include "reflections/reflection_paths.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/le_io.h"
#include "model/object_list.h"

namespace tav {

namespace {

constexpr std::size_t PATH_ENERGY_AT = 4;
constexpr std::size_t PATH_COUNT_AT = 60;

double levelOf(double energy) { return 10.0 * std::log10(std::max(energy, 1.0)); }

}  // namespace

std::optional<PathData> readPathData(const ModelObject& o) {
  if (o.data.size() < PATH_DATA_IDS_AT) return std::nullopt;
  const std::uint8_t* p = o.data.data();
  PathData d;
  d.time = loadF32(p);
  for (int b = 0; b < BAND_COUNT; ++b) d.energy[b] = loadF32(p + PATH_ENERGY_AT + 4 * b);
  d.reflections = loadU16(p + PATH_COUNT_AT);
  if (d.reflections > MAX_PATH_REFLECTIONS || o.data.size() != pathDataSize(d.reflections))
    return std::nullopt;
  d.ids.resize(d.reflections + 2u);
  for (std::size_t i = 0; i < d.ids.size(); ++i)
    d.ids[i] = static_cast<std::int16_t>(loadU16(p + PATH_DATA_IDS_AT + 2 * i));
  return d;
}

bool isReflectionPath(const ModelObject& o) {
  if (o.layer != LAYER_RAYS || o.shape != SHAPE_POLYLINE) return false;
  const auto d = readPathData(o);
  return d && o.nodes.size() == d->ids.size();
}

void writePathTimeAndEnergy(ModelObject& o, float time,
                            const std::array<float, BAND_COUNT>& energy) {
  if (o.data.size() < PATH_DATA_IDS_AT) return;
  storeF32(o.data.data(), time);
  for (int b = 0; b < BAND_COUNT; ++b) storeF32(o.data.data() + PATH_ENERGY_AT + 4 * b, energy[b]);
}

void writePathSourceId(ModelObject& o, std::int16_t id) {
  if (o.data.size() < PATH_DATA_IDS_AT + 2) return;
  storeU16(o.data.data() + PATH_DATA_IDS_AT, static_cast<std::uint16_t>(id));
}

std::unique_ptr<ModelObject> makeReflectionPath(const PathRecord& r) {
  const std::size_t count = r.entries.size();
  auto o = ObjectList::allocObject(pathDataSize(count - 2), count, count);
  if (!o) return o;
  o->shape = SHAPE_POLYLINE;
  o->layer = LAYER_RAYS;
  o->colour = static_cast<std::uint32_t>(std::max(25 - static_cast<int>(count), 0));
  storeU16(o->data.data() + PATH_COUNT_AT, static_cast<std::uint16_t>(count - 2));
  for (std::size_t i = 0; i < count; ++i) {
    const PathEntry& e = r.entries[i];
    storeU16(o->data.data() + PATH_DATA_IDS_AT + 2 * i, static_cast<std::uint16_t>(e.id));
    o->nodes[i] = {e.point[0], e.point[1], e.point[2]};
    o->indices[i] = {i == 0 ? IDX_START : IDX_LINE, static_cast<std::uint16_t>(i)};
  }
  return o;
}

std::vector<ModelObject*> reflectionPaths(ObjectList& objects) {
  std::vector<ModelObject*> out;
  for (ModelObject& o : objects)
    if (isReflectionPath(o)) out.push_back(&o);
  return out;
}

std::vector<const ModelObject*> reflectionPaths(const ObjectList& objects) {
  std::vector<const ModelObject*> out;
  for (const ModelObject& o : objects)
    if (isReflectionPath(o)) out.push_back(&o);
  return out;
}

std::size_t removeReflectionPaths(ObjectList& objects) {
  const std::vector<ModelObject*> paths = reflectionPaths(objects);
  for (ModelObject* o : paths) objects.freeObject(o);
  return paths.size();
}

void sortPathsByTime(ObjectList& objects) {
  const std::vector<ModelObject*> paths = reflectionPaths(objects);
  // Each path gets the key of the place the insertion gives it: after every
  // equal time (tie > 0, growing) or, when it goes first, before them
  // (tie < 0, falling).
  struct Key {
    float time;
    long tie;
    ModelObject* object;
  };
  std::vector<Key> keys;
  keys.reserve(paths.size());
  float lo = 0, hi = 0;
  long counter = 0;
  for (ModelObject* o : paths) {
    float t = readPathData(*o)->time;
    if (std::isnan(t)) t = std::numeric_limits<float>::infinity();
    ++counter;
    if (keys.empty() || !(t < hi)) {
      keys.push_back({t, counter, o});
    } else if (!(t > lo)) {
      keys.push_back({t, -counter, o});
    } else {
      keys.push_back({t, counter, o});
    }
    if (keys.size() == 1) {
      lo = hi = t;
    } else {
      lo = std::min(lo, t);
      hi = std::max(hi, t);
    }
  }
  std::sort(keys.begin(), keys.end(), [](const Key& a, const Key& b) {
    return a.time != b.time ? a.time < b.time : a.tie < b.tie;
  });
  std::vector<std::unique_ptr<ModelObject>> run;
  run.reserve(keys.size());
  for (const Key& k : keys) run.push_back(objects.unlinkObject(k.object));
  for (auto it = run.rbegin(); it != run.rend(); ++it) objects.insertAtHead(std::move(*it));
}

double pathLevel(const PathData& path, int band) {
  if (band >= 0 && band < BAND_COUNT) return levelOf(path.energy[band]);
  double mean = 0;
  for (float e : path.energy) mean += e;
  mean /= BAND_COUNT;
  return mean >= 1.0 ? 10.0 * std::log10(mean) : 0.0;
}

void evaluatePaths(const ObjectList& objects, const RoomDrive& drive, ReflectionStats& stats) {
  std::vector<PathData> paths;
  for (const ModelObject* o : reflectionPaths(objects)) paths.push_back(*readPathData(*o));

  double tMin = 1e6, tMax = 0, maxEnergy = 0;
  for (const PathData& p : paths) {
    tMin = std::min(tMin, double{p.time});
    tMax = std::max(tMax, double{p.time});
    for (float e : p.energy) maxEnergy = std::max(maxEnergy, double{e});
  }
  stats.tMin = static_cast<float>(tMin);
  stats.tMax = static_cast<float>(tMax);
  stats.binWidth = static_cast<float>(std::fabs(tMax - tMin) / HISTOGRAM_BINS);
  stats.maxLevel = static_cast<float>(levelOf(maxEnergy));

  std::array<double, BAND_COUNT> early{};
  for (int b = 0; b < BAND_COUNT; ++b) {
    stats.refTime[b] = 1e6f;
    stats.refLevel[b] = 0;
  }
  stats.refTime[BROADBAND] = 1e6f;
  for (const PathData& p : paths) {
    const double t = p.time;
    // Bins count from time zero; a zero width or a time beyond the last
    // bin puts the path into bin 1023, a negative time into bin 0.
    const double at = stats.binWidth > 0 ? t / stats.binWidth : HISTOGRAM_BINS;
    const int bin =
        !(at < HISTOGRAM_BINS - 1) ? HISTOGRAM_BINS - 1 : (at > 0 ? static_cast<int>(at) : 0);
    for (int b = 0; b < BAND_COUNT; ++b) {
      const double x = p.energy[b];
      const double level = levelOf(x);
      stats.histogram[b][bin] += static_cast<float>(std::fabs(x));
      if (t < stats.refTime[b] && level > stats.maxLevel - 60) stats.refTime[b] = p.time;
      if (level > stats.refLevel[b] && t < stats.refTime[b] + 5.0)
        stats.refLevel[b] = static_cast<float>(level);
      if (t < stats.refTime[b] + 35.0) early[b] += x;
    }
  }
  float minRef = stats.refTime[0];
  double levelSum = 0;
  for (int b = 0; b < BAND_COUNT; ++b) {
    minRef = std::min(minRef, stats.refTime[b]);
    levelSum += stats.refLevel[b];
  }
  stats.refTime[BROADBAND] = minRef;
  const double meanLevel = levelSum / BAND_COUNT;
  stats.refLevel[BROADBAND] = static_cast<float>(meanLevel >= 1.0 ? meanLevel : 1.0);

  double weightedEarly = 0, weightedReverberant = 0;
  for (int b = 0; b < BAND_COUNT; ++b) {
    // Without a volume there is no reverberant field to size (the formula
    // would divide by zero): the band counts as having none.
    if (stats.meanFreePath > 1.0f && drive.volume > 0) {
      const double lr = (drive.power[b] - early[b]) * 4.0 * stats.rt[b] / (0.161 * drive.volume);
      weightedReverberant += BAND_WEIGHTS[b] * lr;
      stats.reverberant[b] = static_cast<float>(levelOf(lr));
    } else {
      stats.reverberant[b] = 1.0f;
      weightedReverberant += 0.143;
    }
    weightedEarly += BAND_WEIGHTS[b] * early[b];
    stats.early[b] = static_cast<float>(levelOf(early[b]));
  }
  stats.early[BROADBAND] = static_cast<float>(levelOf(weightedEarly));
  stats.reverberant[BROADBAND] = static_cast<float>(levelOf(weightedReverberant));
  for (int i = 0; i < HISTOGRAM_BINS; ++i) {
    double sum = 0;
    for (int b = 0; b < BAND_COUNT; ++b) sum += stats.histogram[b][i];
    stats.histogram[BROADBAND][i] = static_cast<float>(sum / BAND_COUNT);
  }
}

}  // namespace tav
