// Generated rooms of the benchmarks: a hall of about a given number of faces
// (shell, coffered ceiling, seat blocks, pillars).
#pragma once

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <vector>

#include "model/object_list.h"
#include "model/project.h"
#include "reflections/face_bvh.h"
#include "reflections/face_table.h"

namespace tav::bench {

inline void polygon(ModelObject& o, const std::vector<Vec3d>& v) {
  const auto base = static_cast<std::uint16_t>(o.nodes.size());
  for (const Vec3d& p : v) o.nodes.push_back(toNode(p));
  o.indices.push_back({IDX_START, base});
  o.indices.push_back({IDX_MATERIAL, 0});
  for (std::size_t i = 1; i < v.size(); ++i)
    o.indices.push_back(
        {i + 1 == v.size() ? IDX_CLOSE : IDX_LINE, static_cast<std::uint16_t>(base + i)});
}

// An axis-aligned quad on plane `axis` = c over [a0, a1] x [b0, b1] of the
// two following axes, facing +axis or -axis.
inline void quad(ModelObject& o, int axis, double c, double a0, double a1, double b0, double b1,
                 bool plus) {
  const int p = (axis + 1) % 3, q = (axis + 2) % 3;
  auto at = [&](double a, double b) {
    double v[3];
    v[axis] = c;
    v[p] = a;
    v[q] = b;
    return Vec3d{v[0], v[1], v[2]};
  };
  std::vector<Vec3d> v = {at(a0, b0), at(a1, b0), at(a1, b1), at(a0, b1)};
  if (!plus) v = {v[0], v[3], v[2], v[1]};
  polygon(o, v);
}

// A closed box facing outwards (pillars, seats) or inwards (the hall).
inline void box(ObjectList& list, const Vec3d& lo, const Vec3d& hi, bool inward) {
  auto o = std::make_unique<ModelObject>();
  o->layer = LAYER_ROOM;
  o->shape = SHAPE_SOLID;
  const double l[3] = {lo.x, lo.y, lo.z}, h[3] = {hi.x, hi.y, hi.z};
  for (int a = 0; a < 3; ++a) {
    const int p = (a + 1) % 3, q = (a + 2) % 3;
    quad(*o, a, l[a], l[p], h[p], l[q], h[q], inward);
    quad(*o, a, h[a], l[p], h[p], l[q], h[q], !inward);
  }
  list.appendObject(std::move(o));
}

// A hall of about `faces` faces: the shell with a coffered ceiling, a
// stepped floor of seat blocks and rows of pillars.
struct Hall {
  Project project;
  FaceTable table;
  FaceBvh bvh;
  double length = 0, width = 0, height = 0;
};

inline std::unique_ptr<Hall> makeHall(int faces) {
  auto hall = std::make_unique<Hall>();
  const int k = std::max(1, static_cast<int>(std::sqrt(faces / 2.8)));
  hall->length = 20 + 2.0 * k;
  hall->width = 12 + 1.0 * k;
  hall->height = 10;
  const double L = hall->length, W = hall->width, H = hall->height;
  ObjectList& list = hall->project.objects;
  // Walls and floor.
  auto shell = std::make_unique<ModelObject>();
  shell->layer = LAYER_ROOM;
  shell->shape = SHAPE_SOLID;
  quad(*shell, 0, 0, 0, W, 0, H, true);
  quad(*shell, 0, L, 0, W, 0, H, false);
  quad(*shell, 1, 0, 0, H, 0, L, true);
  quad(*shell, 1, W, 0, H, 0, L, false);
  quad(*shell, 2, 0, 0, L, 0, W, true);
  list.appendObject(std::move(shell));
  // Coffered ceiling: k x k panels, objects of at most 4000 faces.
  auto ceiling = std::make_unique<ModelObject>();
  for (int i = 0; i < k; ++i)
    for (int j = 0; j < k; ++j) {
      if (ceiling->indices.size() > 4000 * 6) {
        ceiling->layer = LAYER_ROOM;
        ceiling->shape = SHAPE_SOLID;
        list.appendObject(std::move(ceiling));
        ceiling = std::make_unique<ModelObject>();
      }
      quad(*ceiling, 2, H, L * i / k, L * (i + 1) / k, W * j / k, W * (j + 1) / k, false);
    }
  ceiling->layer = LAYER_ROOM;
  ceiling->shape = SHAPE_SOLID;
  list.appendObject(std::move(ceiling));
  // Seat blocks rising towards the back, and pillars along the side walls.
  const int rows = std::max(1, k / 2), seats = std::max(1, k / 2);
  for (int r = 0; r < rows; ++r)
    for (int s = 0; s < seats; ++s) {
      const double x0 = L * 0.3 + (L * 0.65) * r / rows;
      const double y0 = 1 + (W - 2) * s / seats;
      box(list, {x0, y0, 0}, {x0 + 0.6 * L / rows, y0 + 0.8 * (W - 2) / seats, 0.2 + 0.05 * r},
          false);
    }
  for (int p = 0; p < k; ++p) {
    const double x = 1 + (L - 2) * p / k;
    box(list, {x, 0.2, 0}, {x + 0.4, 0.6, H}, false);
    box(list, {x, W - 0.6, 0}, {x + 0.4, W - 0.2, H}, false);
  }
  buildFaceTable(hall->project, hall->table);
  hall->bvh.build(hall->table);
  return hall;
}

inline Hall& hallOf(int faces) {
  static std::map<int, std::unique_ptr<Hall>> halls;
  auto& h = halls[faces];
  if (!h) h = makeHall(faces);
  return *h;
}

}  // namespace tav::bench
