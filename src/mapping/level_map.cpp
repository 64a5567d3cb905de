#include "mapping/level_map.h"

#include <algorithm>

namespace tav {

namespace {
// The largest first arrival a map file can hold (ms); larger ones are the
// marks of bands nothing reached.
constexpr float LARGEST_STORED_MS = 32767.0f;
}  // namespace

MapBounds MapBounds::initial() {
  MapBounds b;
  b.emin.fill(1e20f);
  b.emax.fill(1.0f);
  b.tmin.fill(MAP_NO_ARRIVAL_MS);
  b.tmax.fill(0.0f);
  return b;
}

bool isRealArrival(float t0Ms) { return t0Ms < LARGEST_STORED_MS; }

MapBounds boundsFromPoints(const std::vector<MapPoint>& points) {
  MapBounds b = MapBounds::initial();
  for (const MapPoint& p : points) {
    for (int k = 0; k < BAND_COUNT; ++k) {
      const float e = p.energy[k];
      b.emin[k] = std::min(b.emin[k], e);
      if (!(e > 1.0f)) continue;
      b.emax[k] = std::max(b.emax[k], e);
      if (!isRealArrival(p.t0[k])) continue;
      b.tmax[k] = std::max(b.tmax[k], p.t0[k]);
      b.tmin[k] = std::min(b.tmin[k], p.t0[k]);
    }
  }
  return b;
}

}  // namespace tav
