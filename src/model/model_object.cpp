#include "model/model_object.h"

namespace tav {

namespace {
// Bytes of the stored object record (twelve 32-bit fields).
constexpr std::size_t OBJECT_RECORD_SIZE = 48;
}  // namespace

std::size_t snapshotSize(const ModelObject& object) {
  return OBJECT_RECORD_SIZE + object.data.size() + 12 * object.nodes.size() +
         4 * object.indices.size();
}

Vec3d faceAreaVector(const ModelObject& object, std::size_t startEntry) {
  // Sum of the edge cross terms in double precision, closing edge included.
  // Node numbers at or beyond the node count are left out of the polygon, as
  // the drawing routine leaves them out, so a damaged object cannot read past
  // its node array.
  Vec3d n;
  const std::size_t nodeCount = object.nodes.size();
  const std::size_t entryCount = object.indices.size();
  bool havePoint = false;
  Node first{}, previous{};
  auto addEdge = [&n](const Node& a, const Node& b) {
    const double xi = a.x, yi = a.y, zi = a.z;
    const double xj = b.x, yj = b.y, zj = b.z;
    n.x += (yi - yj) * (zi + zj);
    n.y += (zi - zj) * (xi + xj);
    n.z += (xi - xj) * (yi + yj);
  };
  for (std::size_t i = startEntry; i < entryCount; ++i) {
    const IndexEntry& e = object.indices[i];
    if (e.code == IDX_MATERIAL) continue;
    if (e.code == IDX_START && i != startEntry) break;  // the next figure begins
    if (e.ref < nodeCount) {
      const Node& p = object.nodes[e.ref];
      if (havePoint)
        addEdge(previous, p);
      else
        first = p;
      previous = p;
      havePoint = true;
    }
    if (e.code == IDX_CLOSE) break;
  }
  if (havePoint) addEdge(previous, first);
  return n;
}

std::vector<std::size_t> faceStarts(const ModelObject& object) {
  std::vector<std::size_t> starts;
  bool open = false;
  std::size_t start = 0;
  for (std::size_t i = 0; i < object.indices.size(); ++i) {
    const std::uint16_t code = object.indices[i].code;
    if (code == IDX_START) {
      open = true;
      start = i;
    } else if (code == IDX_CLOSE && open) {
      starts.push_back(start);
      open = false;
    }
  }
  return starts;
}

std::size_t countClosedFaces(const ModelObject& object) {
  std::size_t n = 0;
  for (const IndexEntry& e : object.indices)
    if (e.code == IDX_CLOSE) ++n;
  return n;
}

std::uint32_t shapeFromClosedFaces(std::size_t closedFaces) {
  if (closedFaces == 0) return SHAPE_POLYLINE;
  if (closedFaces == 1) return SHAPE_FACE;
  return SHAPE_SOLID;
}

}  // namespace tav
