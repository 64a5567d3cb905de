// Map files (.TMF): reading must end in a map or "Not a valid map file" /
// "Error reading data", never a crash; a map that was read must save and
// read back as the same map, and what the map window computes from it (the
// values, the scale, the colours, the legend) must stay defined.
#include <cmath>
#include <cstdint>
#include <span>

#include "fuzz/fuzz_support.h"
#include "mapping/map_file.h"
#include "mapping/map_scale.h"

namespace {

using namespace tav;

// Two areas, three points (one band nothing reached) and a single point.
std::vector<std::uint8_t> seed() {
  LevelMap m;
  m.areas.push_back({3, 0, 0, 2, 2.4f, 0, 10, 0, 8, 1.2f});
  m.areas.push_back({9, -1, 0, 4, 20, 10, 14, 0, 8, 6.7f});
  m.phaseRelation = 2;
  m.halfGrid = 0.5f;
  m.bandCounts = {2, 2, 2, 2, 2, 2, 0, 1};
  for (int i = 0; i < 3; ++i) {
    MapPoint p;
    p.x = 0.5f + i;
    p.y = 0.5f;
    p.z = 1.2f;
    p.area = static_cast<std::uint16_t>(i / 2);
    for (int b = 0; b < BAND_COUNT; ++b) {
      p.energy[b] = b < 6 ? std::pow(10.0f, 6.0f + 0.1f * (i + b)) : 1.001f;
      p.t0[b] = b < 6 ? 20.0f + static_cast<float>(i) : 1e7f;
    }
    m.points.push_back(p);
  }
  m.singlePoints = {2};
  m.bounds = boundsFromPoints(m.points);
  return mapFileBytes(m, "Seed map");
}

bool hasNan(const LevelMap& m) {
  for (const MapPoint& p : m.points)
    if (std::isnan(p.x) || std::isnan(p.y) || std::isnan(p.z)) return true;
  for (const AudienceAreaEntry& a : m.areas)
    for (float f : {a.nx, a.ny, a.nz, a.d, a.xmin, a.xmax, a.ymin, a.ymax, a.zmax})
      if (std::isnan(f)) return true;
  return std::isnan(m.halfGrid);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::writeSeedsIfAsked(
      [](const std::filesystem::path& dir) { fuzz::writeFile(dir / "seed.TMF", seed()); });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const MapFileRead first = readMapBytes(std::span<const std::uint8_t>(data, size));
  if (!first.ok()) return 0;
  const LevelMap& map = first.map;
  for (const MapPoint& p : map.points) fuzz::check(p.area < map.areas.size(), "area index checked");
  for (std::uint16_t s : map.singlePoints)
    fuzz::check(s < map.points.size(), "single point checked");

  const std::vector<std::uint8_t> saved = mapFileBytes(map, first.description);
  const MapFileRead second = readMapBytes(saved);
  fuzz::check(second.ok(), "a map that was read saves into a readable file");
  fuzz::check(second.description == first.description.substr(0, MAP_DESCRIPTION_MAX),
              "the description survives");
  fuzz::check(hasNan(map) || second.map == map, "saving keeps the map");
  fuzz::check(mapFileBytes(second.map, second.description) == saved,
              "saving what was read back gives the same file");

  ReverberantField field;
  field.energy.fill(1e5);
  field.rt.fill(1.3);
  const DiagnosticSink quiet = [](std::string_view) {};
  for (int mode : {MAP_MODE_LD, MAP_MODE_LT, MAP_MODE_TIME, MAP_MODE_STI, MAP_MODE_LDLR})
    for (int band : {0, 6, MAP_BAND_ALL})
      for (int step : {-1, 0, 2}) {
        const MapScale scale = mapScale(map, mode, band, step, field, quiet);
        fuzz::check(scale.step >= 1, "a scale step of at least 1");
        fuzz::check(mapLegendLabels(scale, mode).size() == MAP_LEGEND_ROWS, "twenty legend rows");
        for (std::size_t i = 0; i < map.points.size() && i < 8; ++i) {
          const int colour =
              mapCellColour(mapPointValue(map.points[i], mode, band, field, quiet), scale, mode);
          fuzz::check(colour >= MAP_COLOUR_LOW && colour <= MAP_COLOUR_HIGH, "colour on the ramp");
        }
      }
  return 0;
}
