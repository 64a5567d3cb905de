#include "view/grid.h"

#include <algorithm>
#include <cmath>

namespace tav {

namespace {

void addLine(ObjectList& grid, double x1, double y1, double z1, double x2, double y2, double z2) {
  auto line = ObjectList::allocObject(0, 2, 2);
  if (!line) return;
  line->nodes[0] = toNode({x1, y1, z1});
  line->nodes[1] = toNode({x2, y2, z2});
  line->indices[0] = {IDX_START, 0};
  line->indices[1] = {IDX_LINE, 1};
  line->shape = SHAPE_LINE;
  line->colour = GRID_COLOUR;
  line->layer = LAYER_GRID;
  grid.appendObject(std::move(line));
}

std::size_t steps(const GridBox& b, int axis) {
  return static_cast<std::size_t>(std::llround((b.max[axis] - b.min[axis]) / b.spacing));
}

}  // namespace

GridBox gridBox(const ObjectList& objects, double gridSize) {
  double g = (gridSize > 0 && std::isfinite(gridSize)) ? gridSize : 1.0;
  double lo[3] = {0, 0, 0}, hi[3] = {0, 0, 0};
  bool any = false;
  for (const ModelObject& o : objects) {
    if (o.layer == LAYER_SPEAKER_SHAPES) continue;
    for (const Node& n : o.nodes) {
      const double c[3] = {n.x, n.y, n.z};
      if (!std::isfinite(c[0]) || !std::isfinite(c[1]) || !std::isfinite(c[2])) continue;
      for (int a = 0; a < 3; ++a) {
        lo[a] = any ? std::min(lo[a], c[a]) : c[a];
        hi[a] = any ? std::max(hi[a], c[a]) : c[a];
      }
      any = true;
    }
  }
  GridBox box;
  if (!any) {
    for (int a = 0; a < 3; ++a) {
      box.min[a] = -GRID_EMPTY_EXTENT;
      box.max[a] = GRID_EMPTY_EXTENT;
    }
    box.spacing = g;
  }
  for (;;) {
    if (any) {
      for (int a = 0; a < 3; ++a) {
        box.min[a] = (std::floor(lo[a] / g) - 1) * g;
        box.max[a] = (std::ceil(hi[a] / g) + 1) * g;
      }
    }
    box.spacing = g;
    if (steps(box, AXIS_X) <= GRID_MAX_STEPS && steps(box, AXIS_Y) <= GRID_MAX_STEPS &&
        steps(box, AXIS_Z) <= GRID_MAX_STEPS)
      return box;
    g *= 10.0;
    if (!any) {  // the empty box keeps its extent; only the spacing grows
      box.spacing = g;
      if (steps(box, AXIS_X) <= GRID_MAX_STEPS) return box;
    }
  }
}

void rebuildGrid(ViewState& state, const Project& project) {
  state.grid.freeAllObjects();
  if (!project.layers[LAYER_GRID].visible) return;
  const GridBox b = gridBox(project.objects, project.settings.gridSize);
  const double g = b.spacing;
  const double x0 = b.min[0], x1 = b.max[0];
  const double y0 = b.min[1], y1 = b.max[1];
  const double z0 = b.min[2], z1 = b.max[2];
  const std::size_t nx = steps(b, AXIS_X), ny = steps(b, AXIS_Y), nz = steps(b, AXIS_Z);
  ObjectList& grid = state.grid;
  // Floor z = zmin.
  for (std::size_t i = 0; i <= nx; ++i) addLine(grid, x0 + i * g, y0, z0, x0 + i * g, y1, z0);
  for (std::size_t j = 0; j <= ny; ++j) addLine(grid, x0, y0 + j * g, z0, x1, y0 + j * g, z0);
  // Wall x = xmin.
  for (std::size_t j = 0; j <= ny; ++j) addLine(grid, x0, y0 + j * g, z0, x0, y0 + j * g, z1);
  for (std::size_t k = 1; k <= nz; ++k) addLine(grid, x0, y0, z0 + k * g, x0, y1, z0 + k * g);
  // Wall y = ymax.
  for (std::size_t k = 1; k <= nz; ++k) addLine(grid, x0, y1, z0 + k * g, x1, y1, z0 + k * g);
  for (std::size_t i = 1; i <= nx; ++i) addLine(grid, x0 + i * g, y1, z0, x0 + i * g, y1, z1);
}

}  // namespace tav
