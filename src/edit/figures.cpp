// Reading figures out of the drawing program and writing faces into it.
#include "edit/figures.h"

#include <algorithm>

namespace tav {

namespace {

bool carriesNode(std::uint16_t code) {
  return code == IDX_START || code == IDX_LINE || code == IDX_CLOSE;
}

}  // namespace

std::vector<Figure> figuresOf(const ModelObject& object) {
  std::vector<Figure> figures;
  const auto& e = object.indices;
  const std::uint32_t nodeCount = object.nodeCount();
  Figure* open = nullptr;
  for (std::size_t i = 0; i < e.size(); ++i) {
    const IndexEntry entry = e[i];
    if (entry.code == IDX_START || open == nullptr) {
      if (open) open->endEntry = i;
      figures.push_back(Figure{});
      open = &figures.back();
      open->firstEntry = i;
    }
    if (entry.code == IDX_MATERIAL) {
      if (!open->hasMaterial) {
        open->hasMaterial = true;
        open->material = entry.ref;
      }
    } else if (carriesNode(entry.code) && entry.ref < nodeCount) {
      open->vertices.push_back(entry.ref);
    }
    if (entry.code == IDX_CLOSE) {
      open->closed = true;
      open->endEntry = i + 1;
      open = nullptr;
    }
  }
  if (open) open->endEntry = e.size();
  return figures;
}

void appendFace(std::vector<IndexEntry>& entries, const std::vector<std::uint32_t>& vertices,
                std::uint16_t material) {
  if (vertices.empty()) return;
  entries.push_back({IDX_START, static_cast<std::uint16_t>(vertices.front())});
  entries.push_back({IDX_MATERIAL, material});
  if (vertices.size() == 1) {
    entries.push_back({IDX_CLOSE, static_cast<std::uint16_t>(vertices.front())});
    return;
  }
  for (std::size_t i = 1; i + 1 < vertices.size(); ++i)
    entries.push_back({IDX_LINE, static_cast<std::uint16_t>(vertices[i])});
  entries.push_back({IDX_CLOSE, static_cast<std::uint16_t>(vertices.back())});
}

void appendPolyline(std::vector<IndexEntry>& entries, const std::vector<std::uint32_t>& vertices,
                    std::uint16_t material) {
  if (vertices.empty()) return;
  entries.push_back({IDX_START, static_cast<std::uint16_t>(vertices.front())});
  entries.push_back({IDX_MATERIAL, material});
  for (std::size_t i = 1; i < vertices.size(); ++i)
    entries.push_back({IDX_LINE, static_cast<std::uint16_t>(vertices[i])});
}

std::vector<IndexEntry> shiftedFigure(const ModelObject& object, const Figure& figure,
                                      std::uint32_t offset, bool reversed) {
  std::vector<IndexEntry> out(object.indices.begin() + figure.firstEntry,
                              object.indices.begin() + figure.endEntry);
  for (IndexEntry& entry : out)
    if (carriesNode(entry.code)) entry.ref = static_cast<std::uint16_t>(entry.ref + offset);
  if (reversed && figure.closed) {
    ModelObject view;
    view.indices = std::move(out);
    // invertFace needs only the entries: reverse the refs after the material.
    std::size_t first = 1;
    if (first < view.indices.size() && view.indices[first].code == IDX_MATERIAL) ++first;
    std::size_t last = view.indices.size() - 1;
    for (std::size_t i = first, j = last; i < j; ++i, --j)
      std::swap(view.indices[i].ref, view.indices[j].ref);
    out = std::move(view.indices);
  }
  return out;
}

double signedVolume(const ModelObject& object) {
  double six = 0.0;
  for (const Figure& f : figuresOf(object)) {
    if (!f.closed || f.vertices.size() < 3) continue;
    const Vec3d p0 = toVec(object.nodes[f.vertices[0]]);
    for (std::size_t i = 1; i + 1 < f.vertices.size(); ++i) {
      const Vec3d a = toVec(object.nodes[f.vertices[i]]);
      const Vec3d b = toVec(object.nodes[f.vertices[i + 1]]);
      six += dot(p0, cross(a, b));
    }
  }
  return six / 6.0;
}

void dropUnusedNodes(ModelObject& object, double shareDistanceSquared) {
  std::vector<Node> kept;
  std::vector<std::int64_t> renumber(object.nodes.size(), -1);
  for (IndexEntry& entry : object.indices) {
    if (!carriesNode(entry.code) || entry.ref >= object.nodes.size()) continue;
    std::int64_t& to = renumber[entry.ref];
    if (to < 0) {
      const Node& n = object.nodes[entry.ref];
      for (std::size_t k = 0; k < kept.size() && to < 0; ++k) {
        const double dx = double(kept[k].x) - n.x, dy = double(kept[k].y) - n.y,
                     dz = double(kept[k].z) - n.z;
        const double d2 = dx * dx + dy * dy + dz * dz;
        if (shareDistanceSquared > 0.0 ? d2 < shareDistanceSquared : d2 == 0.0)
          to = static_cast<std::int64_t>(k);
      }
      if (to < 0) {
        to = static_cast<std::int64_t>(kept.size());
        kept.push_back(n);
      }
    }
    entry.ref = static_cast<std::uint16_t>(to);
  }
  object.nodes = std::move(kept);
}

}  // namespace tav
