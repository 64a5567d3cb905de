// Model objects for the tests: objects from nodes and entries, faces,
// squares, lines, boxes of six faces, materials, and an observer that
// records what the model asked to be drawn again.
#pragma once

#include <array>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "materials/absorber_material.h"
#include "model/model_object.h"
#include "model/model_observer.h"
#include "model/object_list.h"
#include "model/vec3.h"

namespace tav::test {

// An object with the given nodes and entries on a layer.
inline std::unique_ptr<ModelObject> makeObject(std::vector<Node> nodes,
                                               std::vector<IndexEntry> entries,
                                               std::uint32_t layer = LAYER_ROOM,
                                               std::uint32_t shape = SHAPE_FACE) {
  auto o = std::make_unique<ModelObject>();
  o->nodes = std::move(nodes);
  o->indices = std::move(entries);
  o->layer = layer;
  o->shape = shape;
  return o;
}

// A bare object that only carries a shape, layer and flags.
inline std::unique_ptr<ModelObject> makeMarker(std::uint32_t shape, std::uint32_t layer = 0,
                                               std::uint32_t flags = 0) {
  auto o = makeObject({}, {}, layer, shape);
  o->flags = flags;
  return o;
}

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

// A closed face over the nodes, in their order, material 0.
inline std::unique_ptr<ModelObject> makeFace(const std::vector<Node>& nodes,
                                             std::uint32_t layer = LAYER_ROOM) {
  auto o = makeObject({}, {}, layer, SHAPE_FACE);
  std::vector<Vec3d> v;
  for (const Node& n : nodes) v.push_back(toVec(n));
  appendPolygon(*o, v);
  o->colour = layer == LAYER_AUX ? 14 : 0;
  return o;
}

// The square from (x, y) with side `size` at height z, counter-clockwise
// seen from above.
inline std::unique_ptr<ModelObject> makeSquare(float x, float y, float size, float z = 0,
                                               std::uint32_t layer = LAYER_ROOM) {
  return makeFace({{x, y, z}, {x + size, y, z}, {x + size, y + size, z}, {x, y + size, z}}, layer);
}

// One room object of `count` unit triangles on a 100-wide grid in z = 0,
// for the limits of the face table.
inline std::unique_ptr<ModelObject> makeManyTriangles(int count, std::uint16_t shape) {
  auto o = makeObject({}, {}, LAYER_ROOM, shape);
  for (int i = 0; i < count; ++i) {
    const double x = i % 100, y = i / 100;
    appendPolygon(*o, {{x, y, 0}, {x + 1, y, 0}, {x, y + 1, 0}});
  }
  return o;
}

// A straight line between two points.
inline std::unique_ptr<ModelObject> makeLine(Node a, Node b, std::uint32_t layer = LAYER_ROOM) {
  return makeObject({a, b}, {{IDX_START, 0}, {IDX_LINE, 1}}, layer, SHAPE_LINE);
}

// A single-face object (layer 0 unless given) appended to the list.
inline ModelObject* addFace(ObjectList& list, const std::vector<Vec3d>& vertices,
                            std::uint16_t material = 0, std::uint32_t layer = LAYER_ROOM) {
  auto o = makeObject({}, {}, layer, SHAPE_FACE);
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
  const double los[3] = {lo.x, lo.y, lo.z}, his[3] = {hi.x, hi.y, hi.z};
  auto point = [&](bool a, bool b) {
    double c[3];
    c[axis] = atHigh ? his[axis] : los[axis];
    c[p] = a ? his[p] : los[p];
    c[q] = b ? his[q] : los[q];
    return Vec3d{c[0], c[1], c[2]};
  };
  // Counter-clockwise in (p, q) gives a normal along +axis.
  std::vector<Vec3d> v = {point(0, 0), point(1, 0), point(1, 1), point(0, 1)};
  if (!atHigh == outward) v = {v[0], v[3], v[2], v[1]};
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
    if (!solid) solid = makeObject({}, {}, LAYER_ROOM, SHAPE_SOLID);
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

// Counts what the model asked to be drawn again.
struct RecordingObserver : ModelObserver {
  std::vector<const ModelObject*> changed;
  int all = 0;
  void objectChanged(const ModelObject& o) override { changed.push_back(&o); }
  void modelChanged() override { ++all; }
};

}  // namespace tav::test
