// The generated grid: straight lines on the floor and on two walls of the
// model's box, kept in a list of the view state's own.
#pragma once

#include <cstddef>

#include "model/project.h"
#include "view/view_state.h"

namespace tav {

constexpr std::uint32_t GRID_COLOUR = 5;
// Half extent of the grid of a model without nodes, metres.
constexpr double GRID_EMPTY_EXTENT = 100.0;
// A grid has at most this many spacings along one axis; a finer grid over a
// large model would take without end, so its spacing is multiplied by ten
// until it fits (the lines stay on multiples of the grid size).
constexpr std::size_t GRID_MAX_STEPS = 2000;

// The box the grid spans: the nodes of all objects except loudspeaker shapes
// (layer 3), widened to grid lines with one spare line on each side; an
// empty model spans -100..100 on every axis. `spacing` receives the spacing
// used (the grid size, or a multiple of it, see GRID_MAX_STEPS).
struct GridBox {
  double min[3] = {0, 0, 0};
  double max[3] = {0, 0, 0};
  double spacing = 1.0;
};
GridBox gridBox(const ObjectList& objects, double gridSize);

// Frees the old grid lines and, while layer 8 is on, generates new ones
// (layer 8, colour 5, shape 0, two nodes): on the floor z = zmin lines along
// y for every x and along x for every y; on the wall x = xmin lines along z
// for every y and along y for every z above zmin; on the wall y = ymax lines
// along x for every z above zmin and along z for every x above xmin.
// A grid size that is not positive and finite counts as 1 m.
void rebuildGrid(ViewState& state, const Project& project);

}  // namespace tav
