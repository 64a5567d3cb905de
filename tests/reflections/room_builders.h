// Small builders of test rooms: faces and boxes as model objects.
#pragma once

#include <array>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "materials/absorber_material.h"
#include "model/model_object.h"
#include "model/object_list.h"
#include "model/vec3.h"

namespace tav::test {

// Appends one polygon (vertices in order, closed back to the first) to an
// object: (0,a) (3,material) (1,b) ... (2,z).
inline void appendPolygon(ModelObject& o, const std::vector<Vec3d>& vertices,
                          std::uint16_t material = 0) {
  const auto base = static_cast<std::uint16_t>(o.nodes.size());
  for (const Vec3d& v : vertices) o.nodes.push_back(toNode(v));
  o.indices.push_back({IDX_START, base});
  o.indices.push_back({IDX_MATERIAL, material});
  for (std::size_t i = 1; i < vertices.size(); ++i)
    o.indices.push_back(
        {i + 1 == vertices.size() ? IDX_CLOSE : IDX_LINE, static_cast<std::uint16_t>(base + i)});
}

// A single-face object (layer 0 unless given) appended to the list.
inline ModelObject* addFace(ObjectList& list, const std::vector<Vec3d>& vertices,
                            std::uint16_t material = 0, std::uint32_t layer = LAYER_ROOM) {
  auto o = std::make_unique<ModelObject>();
  o->layer = layer;
  o->shape = SHAPE_FACE;
  appendPolygon(*o, vertices, material);
  return list.appendObject(std::move(o));
}

// The six faces of the box [lo, hi] with their front sides inwards, in this
// order: x = lo (+x), x = hi (-x), y = lo (+y), y = hi (-y), z = lo (+z),
// z = hi (-z). `outward` turns a face's front side out of the box.
enum BoxFace { WALL_XLO = 0, WALL_XHI, WALL_YLO, WALL_YHI, FLOOR, CEILING };

inline std::vector<Vec3d> boxFace(const Vec3d& lo, const Vec3d& hi, int face,
                                  bool outward = false) {
  const int axis = face / 2;
  const bool atHigh = face % 2 == 1;
  const int p = (axis + 1) % 3, q = (axis + 2) % 3;
  auto point = [&](double a, double b) {
    double c[3];
    c[axis] = atHigh ? (axis == 0   ? hi.x
                        : axis == 1 ? hi.y
                                    : hi.z)
                     : (axis == 0   ? lo.x
                        : axis == 1 ? lo.y
                                    : lo.z);
    const double los[3] = {lo.x, lo.y, lo.z}, his[3] = {hi.x, hi.y, hi.z};
    c[p] = a ? his[p] : los[p];
    c[q] = b ? his[q] : los[q];
    return Vec3d{c[0], c[1], c[2]};
  };
  // Counter-clockwise in (p, q) gives a normal along +axis.
  std::vector<Vec3d> v = {point(0, 0), point(1, 0), point(1, 1), point(0, 1)};
  const bool plusAxis = !atHigh;
  if (plusAxis == outward) v = {v[0], v[3], v[2], v[1]};
  return v;
}

struct BoxOptions {
  std::set<int> missing;                     // faces left out
  std::set<int> outward;                     // faces facing out of the box
  std::array<std::uint16_t, 6> materials{};  // material per face
  bool solid = true;  // one SHAPE_SOLID object, else one SHAPE_FACE object per face
};

inline void addBox(ObjectList& list, const Vec3d& lo, const Vec3d& hi,
                   const BoxOptions& options = {}) {
  std::unique_ptr<ModelObject> solid;
  for (int f = 0; f < 6; ++f) {
    if (options.missing.count(f)) continue;
    const auto v = boxFace(lo, hi, f, options.outward.count(f) > 0);
    if (!options.solid) {
      addFace(list, v, options.materials[f]);
      continue;
    }
    if (!solid) {
      solid = std::make_unique<ModelObject>();
      solid->layer = LAYER_ROOM;
      solid->shape = SHAPE_SOLID;
    }
    appendPolygon(*solid, v, options.materials[f]);
  }
  if (solid) list.appendObject(std::move(solid));
}

inline AbsorberMaterial makeMaterial(const std::string& name, std::array<float, 7> alpha) {
  AbsorberMaterial m;
  std::strncpy(m.name, name.c_str(), sizeof m.name - 1);
  m.alpha = alpha;
  return m;
}

inline std::array<float, 7> uniformAlpha(float a) { return {a, a, a, a, a, a, a}; }

}  // namespace tav::test
