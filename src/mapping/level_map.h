// The result of a Level + Time calculation: the audience-area table the grid
// was laid over, the receiver points with their band energies and first
// arrivals, the bounds of both per band, and the single points the user
// labelled. Stored in map files and inside the project file.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "model/octave_bands.h"

namespace tav {

// At most this many receiver points per run.
constexpr std::size_t MAX_MAP_POINTS = 64000;
// At most this many labelled single points.
constexpr std::size_t MAX_SINGLE_POINTS = 100;
// The area table's count is a signed 16-bit field.
constexpr std::size_t MAX_AUDIENCE_AREAS = 32767;
// First arrival of a band nothing reached (ms, as stored in a map point).
constexpr float MAP_NO_ARRIVAL_MS = 10000.0f;

// Eight counts: for band b the number of active loudspeakers whose band b is
// active; the eighth is 1 when any of the bands 250..4000 Hz has a count.
using BandCounts = std::array<std::uint16_t, BAND_COUNT + 1>;
using BandFloats = std::array<float, BAND_COUNT>;

// One audience area whose first face is not vertical. Its plane is
// nx·x + ny·y + nz·z = d; the normal is the first face's area vector (not
// halved, not normalised).
struct AudienceAreaEntry {
  std::uint32_t reference = 0;  // object reference: meaningless in files, kept as read
  float nx = 0, ny = 0, nz = 0;
  float d = 0;
  float xmin = 0, xmax = 0, ymin = 0, ymax = 0;
  float zmax = 0;
  // z of the area's plane over (x, y).
  double planeZ(double x, double y) const { return (d - nx * x - ny * y) / nz; }
  friend bool operator==(const AudienceAreaEntry&, const AudienceAreaEntry&) = default;
};

struct MapPoint {
  float x = 0, y = 0, z = 0;  // metres
  BandFloats energy{};        // band energy, never below 1.0
  BandFloats t0{};            // first arrival, ms
  std::uint16_t area = 0;     // index into the area table
  friend bool operator==(const MapPoint&, const MapPoint&) = default;
};

// Per band: the smallest and largest point energy and first arrival.
struct MapBounds {
  BandFloats emin{}, emax{}, tmin{}, tmax{};
  // The values a run starts from: Emin 1e20, Emax 1.0, tmin 10000, tmax 0.
  static MapBounds initial();
  friend bool operator==(const MapBounds&, const MapBounds&) = default;
};

struct LevelMap {
  std::vector<AudienceAreaEntry> areas;
  std::int16_t phaseRelation = 2;
  float halfGrid = 0;  // half the grid spacing, metres
  BandCounts bandCounts{};
  MapBounds bounds = MapBounds::initial();
  std::vector<MapPoint> points;
  std::vector<std::uint16_t> singlePoints;  // indices into points
  friend bool operator==(const LevelMap&, const LevelMap&) = default;
};

// Whether a first arrival (ms) is one a loudspeaker really produced, not the
// mark of a band nothing reached (10000 ms, 10 000 000 ms or its stored
// 32 767).
bool isRealArrival(float t0Ms);

// Bounds recomputed from the points: Emin over every point; Emax, tmin and
// tmax over the points whose band energy exceeds 1.0 and whose first
// arrival is a real one.
MapBounds boundsFromPoints(const std::vector<MapPoint>& points);

}  // namespace tav
