#include "mapping/audience_grid.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace tav {

namespace {

std::optional<std::size_t> firstStart(const ModelObject& o) {
  for (std::size_t i = 0; i < o.indices.size(); ++i)
    if (o.indices[i].code == IDX_START) return i;
  return std::nullopt;
}

}  // namespace

AudienceAreaTable buildAudienceAreaTable(const ObjectList& objects) {
  AudienceAreaTable unsorted;
  std::uint32_t ordinal = 0;
  for (const ModelObject& o : objects) {
    const std::uint32_t reference = ordinal++;
    if (o.layer != LAYER_AUDIENCE || o.nodes.empty()) continue;
    const auto start = firstStart(o);
    if (!start) continue;
    const Vec3d n = faceAreaVector(o, *start);
    if (!(std::fabs(n.z) >= AUDIENCE_VERTICAL_LIMIT)) continue;
    if (unsorted.size() >= MAX_AUDIENCE_AREAS) break;

    AudienceAreaEntry e;
    e.reference = reference;
    e.nx = static_cast<float>(n.x);
    e.ny = static_cast<float>(n.y);
    e.nz = static_cast<float>(n.z);
    const Node* pmin = &o.nodes.front();
    e.xmin = e.xmax = pmin->x;
    e.ymin = e.ymax = pmin->y;
    e.zmax = pmin->z;
    for (const Node& p : o.nodes) {
      if (p.x < pmin->x) pmin = &p;  // the first node with the smallest x
      e.xmin = std::min(e.xmin, p.x);
      e.xmax = std::max(e.xmax, p.x);
      e.ymin = std::min(e.ymin, p.y);
      e.ymax = std::max(e.ymax, p.y);
      e.zmax = std::max(e.zmax, p.z);
    }
    e.d = static_cast<float>(dot(Vec3d{e.nx, e.ny, e.nz}, toVec(*pmin)));
    unsorted.entries.push_back(e);
    unsorted.objects.push_back(&o);
  }

  // Ascending by the highest node; equal heights keep the list order.
  std::vector<std::size_t> order(unsorted.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return unsorted.entries[a].zmax < unsorted.entries[b].zmax;
  });
  AudienceAreaTable table;
  for (std::size_t i : order) {
    table.entries.push_back(unsorted.entries[i]);
    table.objects.push_back(unsorted.objects[i]);
  }
  return table;
}

double audienceSurface(const ObjectList& objects) {
  double surface = 0;
  for (const ModelObject& o : objects) {
    if (o.layer != LAYER_AUDIENCE || o.shape != SHAPE_FACE) continue;
    if (const auto start = firstStart(o)) surface += std::fabs(faceAreaVector(o, *start).z) / 2.0;
  }
  return surface;
}

std::optional<double> chooseGridSize(double surface, std::int16_t& gridIndex) {
  if (gridIndex < 0) {
    const double g = std::sqrt(surface / static_cast<double>(MAX_MAP_POINTS)) / GRID_MINIMUM_FILL;
    // No surface to spread the points over: the finest listed spacing.
    return std::isfinite(g) && g > 0 ? g : GRID_SPACINGS[0];
  }
  for (std::size_t i = static_cast<std::size_t>(gridIndex); i < GRID_SPACINGS.size(); ++i) {
    const double g = GRID_SPACINGS[i];
    if (surface / (g * g) < static_cast<double>(MAX_MAP_POINTS)) {
      gridIndex = static_cast<std::int16_t>(i);
      return g;
    }
  }
  return std::nullopt;
}

bool insideFirstFaceXY(const ModelObject& o, double x, double y) {
  const auto start = firstStart(o);
  if (!start) return false;
  int crossings = 0;
  bool have = false, closed = false;
  double x0 = 0, y0 = 0, xp = 0, yp = 0;
  auto edge = [&](double xa, double ya, double xb, double yb) {
    if ((ya > y) == (yb > y)) return;
    if (x < xa + (y - ya) * (xb - xa) / (yb - ya)) ++crossings;
  };
  for (std::size_t i = *start; i < o.indices.size(); ++i) {
    const IndexEntry& e = o.indices[i];
    if (e.code == IDX_MATERIAL) continue;
    if (e.code == IDX_START && i != *start) break;
    if (e.ref < o.nodes.size()) {
      const Node& n = o.nodes[e.ref];
      if (have) {
        edge(xp, yp, n.x, n.y);
      } else {
        x0 = n.x;
        y0 = n.y;
      }
      xp = n.x;
      yp = n.y;
      have = true;
    }
    if (e.code == IDX_CLOSE) {
      closed = true;
      break;
    }
  }
  if (!have || !closed) return false;
  edge(xp, yp, x0, y0);
  return (crossings & 1) != 0;
}

std::size_t layGrid(const AudienceAreaTable& table, double spacing, std::vector<MapPoint>& points) {
  if (!(spacing > 0) || !std::isfinite(spacing)) return points.size();
  const double h = spacing / 2.0;
  for (std::size_t a = 0; a < table.size(); ++a) {
    const AudienceAreaEntry& e = table.entries[a];
    const ModelObject& object = *table.objects[a];
    for (std::size_t j = 0;; ++j) {
      const double y = e.ymin + h + static_cast<double>(j) * spacing;
      if (!(y < e.ymax - GRID_EDGE_MARGIN)) break;
      for (std::size_t i = 0;; ++i) {
        const double x = e.xmin + h + static_cast<double>(i) * spacing;
        if (!(x < e.xmax - GRID_EDGE_MARGIN)) break;
        if (!insideFirstFaceXY(object, x, y)) continue;
        MapPoint p;
        p.x = static_cast<float>(x);
        p.y = static_cast<float>(y);
        p.z = static_cast<float>(e.planeZ(x, y));
        p.area = static_cast<std::uint16_t>(a);
        points.push_back(p);
        if (points.size() >= MAX_MAP_POINTS) return points.size();
      }
    }
  }
  return points.size();
}

}  // namespace tav
