// Node merging and entry cleanup of an object after drawing or editing.
//
// Nodes closer than 1 mm become one node, so that faces drawn against each
// other share their vertices; then the drawing program loses zero-length
// edges, a last vertex entered on top of the first one, repeated starts and
// misplaced material entries.
#include <cmath>
#include <cstdint>
#include <new>
#include <stdexcept>
#include <unordered_map>
#include <vector>

#include "model/model_object.h"

namespace tav {

namespace {

// Two nodes are one when their squared distance is below this (1 mm).
constexpr double MERGE_DISTANCE_SQUARED = 1e-6;

bool carriesNode(std::uint16_t code) {
  return code == IDX_START || code == IDX_LINE || code == IDX_CLOSE;
}

double distanceSquared(const Node& a, const Node& b) {
  const double dx = static_cast<double>(a.x) - b.x;
  const double dy = static_cast<double>(a.y) - b.y;
  const double dz = static_cast<double>(a.z) - b.z;
  return dx * dx + dy * dy + dz * dz;
}

// Finds, among the nodes of the new list, the first (lowest-numbered) one
// within 1 mm of a point, without comparing against every node: nodes are
// filed in 1 mm cells, and a node within 1 mm lies in one of the 27 cells
// around the point's cell. The answer is the same as a search of the list in
// order. Nodes too far out (or not finite) to be filed are searched linearly.
class NodeFinder {
 public:
  explicit NodeFinder(const std::vector<Node>& nodes) : nodes_(nodes) {}

  // Number of the first node within 1 mm of p, or the list size if none.
  std::size_t find(const Node& p) const {
    const std::size_t none = nodes_.size();
    Cell c;
    if (!cellOf(p, c)) {
      for (std::size_t k = 0; k < none; ++k)
        if (distanceSquared(nodes_[k], p) < MERGE_DISTANCE_SQUARED) return k;
      return none;
    }
    std::size_t best = none;
    auto scan = [&](const std::vector<std::uint32_t>& numbers) {
      // Numbers are filed in ascending order: the first match is the lowest.
      for (std::uint32_t k : numbers) {
        if (k >= best) break;
        if (distanceSquared(nodes_[k], p) < MERGE_DISTANCE_SQUARED) {
          best = k;
          break;
        }
      }
    };
    for (std::int64_t dx = -1; dx <= 1; ++dx)
      for (std::int64_t dy = -1; dy <= 1; ++dy)
        for (std::int64_t dz = -1; dz <= 1; ++dz) {
          auto it = cells_.find(key({c.x + dx, c.y + dy, c.z + dz}));
          if (it != cells_.end()) scan(it->second);
        }
    // Unfiled nodes need no look here: floats next to the filing limit lie
    // 64 m apart, and NaN is near nothing.
    return best;
  }

  // Files node number k (the list's newest node).
  void add(std::size_t k) {
    Cell c;
    if (cellOf(nodes_[k], c)) cells_[key(c)].push_back(static_cast<std::uint32_t>(k));
  }

 private:
  struct Cell {
    std::int64_t x = 0, y = 0, z = 0;
  };
  static constexpr double CELLS_PER_METRE = 1000.0;  // a cell is as wide as the merge distance
  static constexpr double FILED_LIMIT = 1e9;         // metres; beyond this nodes are not filed

  static bool cellOf(const Node& p, Cell& c) {
    const double v[3] = {p.x, p.y, p.z};
    std::int64_t out[3];
    for (int i = 0; i < 3; ++i) {
      if (!(std::fabs(v[i]) < FILED_LIMIT)) return false;  // also catches NaN
      out[i] = static_cast<std::int64_t>(std::floor(v[i] * CELLS_PER_METRE));
    }
    c = {out[0], out[1], out[2]};
    return true;
  }
  // Cells that share a key only add candidates; every candidate is tested.
  static std::uint64_t key(const Cell& c) {
    std::uint64_t h = static_cast<std::uint64_t>(c.x) * 0x9E3779B97F4A7C15ull;
    h ^= static_cast<std::uint64_t>(c.y) * 0xC2B2AE3D27D4EB4Full + (h << 6) + (h >> 2);
    h ^= static_cast<std::uint64_t>(c.z) * 0x165667B19E3779F9ull + (h << 6) + (h >> 2);
    return h;
  }

  const std::vector<Node>& nodes_;
  std::unordered_map<std::uint64_t, std::vector<std::uint32_t>> cells_;
};

// Step 1: every node-carrying entry is pointed at the first node of the new
// list within 1 mm of its node, or at its node appended to that list.
// Entries that cannot be interpreted (unknown codes, node numbers beyond the
// node array) are dropped here, before they could add a node or be compared
// with their neighbours below.
void mergeNodes(const ModelObject& object, std::vector<Node>& nodes,
                std::vector<IndexEntry>& entries) {
  const std::size_t nodeCount = object.nodes.size();
  NodeFinder finder(nodes);
  for (const IndexEntry& e : object.indices) {
    if (e.code == IDX_MATERIAL) {
      entries.push_back(e);
      continue;
    }
    if (!carriesNode(e.code) || e.ref >= nodeCount) continue;
    const Node& p = object.nodes[e.ref];
    const std::size_t found = finder.find(p);
    if (found == nodes.size()) {
      nodes.push_back(p);
      finder.add(found);
    }
    entries.push_back({e.code, static_cast<std::uint16_t>(found)});
  }
}

// Step 2: builds the cleaned drawing program from the merged entries.
std::vector<IndexEntry> cleanEntries(const std::vector<IndexEntry>& in) {
  std::vector<IndexEntry> out;
  out.reserve(in.size());
  std::uint16_t figureStart = 0;
  for (std::size_t i = 0; i < in.size(); ++i) {
    const IndexEntry& e = in[i];
    switch (e.code) {
      case IDX_START:
        if (!out.empty() && out.back().code == IDX_START) {
          // Consecutive starts collapse to the last: the figure starts there.
          out.back().ref = e.ref;
        } else {
          out.push_back(e);
        }
        figureStart = e.ref;
        break;
      case IDX_LINE:
        // A first edge straight back onto the start node (behind the
        // material entry) draws nothing.
        if (i >= 2 && in[i - 2].code == IDX_START && in[i - 2].ref == e.ref) break;
        // A zero-length edge.
        if (i >= 1 && in[i - 1].code == IDX_LINE && in[i - 1].ref == e.ref) break;
        out.push_back(e);
        break;
      case IDX_CLOSE:
        // A last vertex on top of the previous one or of the start node: the
        // edge before it becomes the closing edge. Only an edge can be turned
        // into the closing edge; a figure that has none left keeps its close.
        if (i >= 1 && in[i - 1].code == IDX_LINE &&
            (e.ref == in[i - 1].ref || e.ref == figureStart) && !out.empty() &&
            out.back().code == IDX_LINE) {
          out.back().code = IDX_CLOSE;
        } else {
          out.push_back(e);
        }
        break;
      case IDX_MATERIAL:
        if (out.empty() || out.back().code == IDX_START) out.push_back(e);
        break;
      default:
        break;
    }
  }
  return out;
}

}  // namespace

bool compactObject(ModelObject& object) {
  if (object.nodes.size() > MAX_OBJECT_NODES || object.indices.size() > MAX_OBJECT_ENTRIES)
    return false;
  try {
    std::vector<Node> nodes;
    std::vector<IndexEntry> merged;
    nodes.reserve(object.nodes.size());
    merged.reserve(object.indices.size());
    mergeNodes(object, nodes, merged);
    std::vector<IndexEntry> entries = cleanEntries(merged);
    // Step 3: the arrays take exactly the new counts.
    nodes.shrink_to_fit();
    entries.shrink_to_fit();
    object.nodes = std::move(nodes);
    object.indices = std::move(entries);
  } catch (const std::bad_alloc&) {
    return false;  // object unchanged
  } catch (const std::length_error&) {
    return false;
  }
  return true;
}

}  // namespace tav
