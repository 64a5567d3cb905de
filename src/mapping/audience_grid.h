// The receiver points of the level calculation: the table of audience areas
// (layer 1) with their planes, the grid spacing chosen from the audience
// surface, and the grid laid over each area's first face.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "mapping/level_map.h"
#include "model/object_list.h"

namespace tav {

// Grid spacings of the grid-size index 0..7, metres; index -1 is "Minimum".
constexpr std::array<double, 8> GRID_SPACINGS = {0.25, 0.5, 1, 2, 5, 10, 25, 50};
constexpr std::int16_t GRID_MINIMUM = -1;
// An area whose first face has |nz| below this is vertical and left out.
constexpr double AUDIENCE_VERTICAL_LIMIT = 0.001;
// Rows and columns stop this far short of the area's upper bounds, metres.
constexpr double GRID_EDGE_MARGIN = 0.01;
// "Minimum" spaces the points so that the surface holds this share of the
// maximum: spacing = sqrt(surface / 64000) / 0.95.
constexpr double GRID_MINIMUM_FILL = 0.95;

inline constexpr const char* MSG_GRID_TOO_FINE =
    "Insufficient memory for grid size. Please select larger grid";

// The areas in ascending order of their highest node, with the objects they
// were made from (for the inside test of their first face).
struct AudienceAreaTable {
  std::vector<AudienceAreaEntry> entries;
  std::vector<const ModelObject*> objects;
  std::size_t size() const { return entries.size(); }
  bool empty() const { return entries.empty(); }
};

AudienceAreaTable buildAudienceAreaTable(const ObjectList& objects);

// The audience surface: over the layer-1 objects of shape SHAPE_FACE, the
// area of the first face projected on the XY plane (|nz| / 2), m².
double audienceSurface(const ObjectList& objects);

// The spacing for a grid-size index: from the stored index upwards the first
// spacing g with surface / g² < 64000; the index used is written back. No
// spacing (the message MSG_GRID_TOO_FINE) when even 50 m is too fine.
// "Minimum" gives sqrt(surface / 64000) / 0.95, or 0.25 m when the surface
// is not positive.
std::optional<double> chooseGridSize(double surface, std::int16_t& gridIndex);

// Appends the grid points of every area (rows from ymin + g/2, columns from
// xmin + g/2, in steps of g, inside the first face projected on XY, z on the
// area's plane) until 64000 points exist. Returns the number of points.
std::size_t layGrid(const AudienceAreaTable& table, double spacing, std::vector<MapPoint>& points);

// Whether (x, y) lies inside the first face of an object projected on the
// XY plane (crossing number).
bool insideFirstFaceXY(const ModelObject& object, double x, double y);

}  // namespace tav
