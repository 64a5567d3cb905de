// Extrude, Rotate, Dismantle Solid and Assemble Solid.
#include "edit/solid_ops.h"

#include <cstdint>

#include "edit/edit_geometry.h"
#include "edit/edit_limits.h"
#include "edit/figures.h"

namespace tav {

namespace {

bool sweepable(const ModelObject& source) {
  return source.shape != SHAPE_SOLID && source.shape != SHAPE_TEXT && !source.nodes.empty();
}

struct Edge {
  std::uint32_t a;
  std::uint32_t b;
};

// The edges of every figure (closing edges of closed figures included),
// leaving out edges between coincident nodes.
std::vector<Edge> edgesOf(const ModelObject& object, const std::vector<Figure>& figures) {
  std::vector<Edge> edges;
  for (const Figure& f : figures) {
    const std::size_t n = f.vertices.size();
    if (n < 2) continue;
    const std::size_t count = f.closed ? n : n - 1;
    for (std::size_t i = 0; i < count; ++i) {
      const std::uint32_t a = f.vertices[i], b = f.vertices[(i + 1) % n];
      if (a == b || object.nodes[a] == object.nodes[b]) continue;
      edges.push_back({a, b});
    }
  }
  return edges;
}

void appendSideFace(std::vector<IndexEntry>& e, std::uint32_t a, std::uint32_t b,
                    std::uint32_t offset) {
  auto ref = [](std::uint32_t n) { return static_cast<std::uint16_t>(n); };
  e.push_back({IDX_START, ref(a + offset)});
  e.push_back({IDX_MATERIAL, 0});
  e.push_back({IDX_LINE, ref(b + offset)});
  e.push_back({IDX_LINE, ref(b)});
  e.push_back({IDX_CLOSE, ref(a)});
}

std::unique_ptr<ModelObject> newSolidLike(const ModelObject& source) {
  auto object = std::make_unique<ModelObject>();
  object->shape = SHAPE_SOLID;
  object->layer = source.layer;
  object->colour = source.colour;
  object->flags = source.flags & ~OF_SELECTED;
  return object;
}

void finishSolid(ModelObject& solid) {
  if (signedVolume(solid) < 0.0) invertAllFaces(solid);
  compactObject(solid);
}

}  // namespace

SolidResult extrudeObject(const ModelObject& source, Vec3d vector) {
  SolidResult result;
  if (!sweepable(source)) return result;
  if (2 * source.nodes.size() > EDIT_MAX_NODES || 8 * source.indices.size() > EDIT_MAX_ENTRIES) {
    result.status = SolidBuild::TooBig;
    return result;
  }
  const std::vector<Figure> figures = figuresOf(source);
  const std::vector<Edge> edges = edgesOf(source, figures);
  if (edges.empty()) return result;

  auto solid = newSolidLike(source);
  const auto n = static_cast<std::uint32_t>(source.nodes.size());
  solid->nodes = source.nodes;
  for (std::uint32_t i = 0; i < n; ++i)
    solid->nodes.push_back(toNode(toVec(source.nodes[i]) + vector));
  auto& e = solid->indices;
  if (source.shape == SHAPE_FACE) {
    std::vector<IndexEntry> top;
    for (const Figure& f : figures) {
      if (!f.closed) continue;
      const auto bottom = shiftedFigure(source, f, 0, false);
      e.insert(e.end(), bottom.begin(), bottom.end());
      const auto moved = shiftedFigure(source, f, n, true);
      top.insert(top.end(), moved.begin(), moved.end());
    }
    e.insert(e.end(), top.begin(), top.end());
  }
  for (const Edge& edge : edges) appendSideFace(e, edge.a, edge.b, n);
  finishSolid(*solid);
  result.status = SolidBuild::Built;
  result.object = std::move(solid);
  return result;
}

SolidResult rotateObject(const ModelObject& source, Vec3d base, int viewMode, double degrees,
                         int segments, bool fullTurn) {
  SolidResult result;
  if (!sweepable(source) || segments < 1) return result;
  const std::vector<Figure> figures = figuresOf(source);
  const std::vector<Edge> edges = edgesOf(source, figures);
  if (edges.empty()) return result;

  const std::size_t n = source.nodes.size();
  const bool endFaces = source.shape == SHAPE_FACE && !fullTurn;
  const std::size_t nodes = n * (static_cast<std::size_t>(segments) + 1);
  const std::size_t entries = static_cast<std::size_t>(segments) * 5 * edges.size() +
                              (endFaces ? 2 * source.indices.size() : 0);
  if (nodes > EDIT_MAX_NODES || entries > EDIT_MAX_ENTRIES) {
    result.status = SolidBuild::TooBig;
    return result;
  }

  auto solid = newSolidLike(source);
  solid->nodes = source.nodes;
  auto& e = solid->indices;
  if (endFaces) {
    for (const Figure& f : figures) {
      if (!f.closed) continue;
      const auto start = shiftedFigure(source, f, 0, false);
      e.insert(e.end(), start.begin(), start.end());
    }
  }
  for (int s = 1; s <= segments; ++s) {
    // Each profile is turned from the source, so that a full turn ends on
    // the first profile without accumulated error.
    const TurnMatrix m = turnMatrixForView(viewMode, degrees * s / segments);
    for (const Node& p : source.nodes) solid->nodes.push_back(toNode(turnAbout(m, toVec(p), base)));
    const auto previous = static_cast<std::uint32_t>(n * (s - 1));
    for (const Edge& edge : edges)
      appendSideFace(e, edge.a + previous, edge.b + previous, static_cast<std::uint32_t>(n));
  }
  if (endFaces) {
    const auto last = static_cast<std::uint32_t>(n * segments);
    for (const Figure& f : figures) {
      if (!f.closed) continue;
      const auto end = shiftedFigure(source, f, last, true);
      e.insert(e.end(), end.begin(), end.end());
    }
  }
  finishSolid(*solid);
  result.status = SolidBuild::Built;
  result.object = std::move(solid);
  return result;
}

std::vector<std::unique_ptr<ModelObject>> dismantleSolid(const ModelObject& solid) {
  std::vector<std::unique_ptr<ModelObject>> parts;
  for (const Figure& f : figuresOf(solid)) {
    if (f.vertices.empty()) continue;
    auto part = std::make_unique<ModelObject>();
    part->layer = solid.layer;
    part->colour = solid.colour;
    part->flags = solid.flags | OF_SELECTED;
    part->shape = f.closed ? SHAPE_FACE : SHAPE_POLYLINE;
    std::vector<std::int64_t> renumber(solid.nodes.size(), -1);
    for (std::size_t i = f.firstEntry; i < f.endEntry; ++i) {
      IndexEntry entry = solid.indices[i];
      if (entry.code != IDX_MATERIAL) {
        if (entry.ref >= solid.nodes.size()) continue;
        std::int64_t& to = renumber[entry.ref];
        if (to < 0) {
          to = static_cast<std::int64_t>(part->nodes.size());
          part->nodes.push_back(solid.nodes[entry.ref]);
        }
        entry.ref = static_cast<std::uint16_t>(to);
      }
      part->indices.push_back(entry);
    }
    parts.push_back(std::move(part));
  }
  return parts;
}

AssembleResult assembleFaces(std::span<const ModelObject* const> faces, std::uint32_t layer,
                             std::uint32_t colour) {
  AssembleResult result;
  auto solid = std::make_unique<ModelObject>();
  solid->shape = SHAPE_SOLID;
  solid->layer = layer;
  solid->colour = colour;
  for (const ModelObject* face : faces) {
    if (face->shape != SHAPE_FACE) break;
    // Map the face's nodes onto the solid, sharing those within 2 mm.
    std::vector<Node> nodes = solid->nodes;
    std::vector<std::uint16_t> renumber(face->nodes.size());
    for (std::size_t k = 0; k < face->nodes.size(); ++k) {
      const Node& p = face->nodes[k];
      std::size_t found = nodes.size();
      for (std::size_t j = 0; j < solid->nodes.size(); ++j) {
        const double dx = double(nodes[j].x) - p.x, dy = double(nodes[j].y) - p.y,
                     dz = double(nodes[j].z) - p.z;
        if (dx * dx + dy * dy + dz * dz < ASSEMBLE_SHARE_DISTANCE_SQUARED) {
          found = j;
          break;
        }
      }
      if (found == nodes.size()) nodes.push_back(p);
      renumber[k] = static_cast<std::uint16_t>(found);
    }
    if (nodes.size() > EDIT_MAX_NODES ||
        solid->indices.size() + face->indices.size() > EDIT_MAX_ENTRIES)
      break;
    solid->nodes = std::move(nodes);
    for (IndexEntry entry : face->indices) {
      if (entry.code != IDX_MATERIAL) {
        if (entry.ref >= renumber.size()) continue;
        entry.ref = renumber[entry.ref];
      }
      solid->indices.push_back(entry);
    }
    ++result.merged;
  }
  if (result.merged > 0) result.object = std::move(solid);
  return result;
}

}  // namespace tav
