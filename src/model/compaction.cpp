// Node merging and entry cleanup of an object after drawing or editing.
//
// Nodes closer than 1 mm become one node, so that faces drawn against each
// other share their vertices; then the drawing program loses zero-length
// edges, a last vertex entered on top of the first one, repeated starts and
// misplaced material entries.
#include <new>
#include <stdexcept>
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

// Step 1: every node-carrying entry is pointed at the first node of the new
// list within 1 mm of its node, or at its node appended to that list.
// Entries that cannot be interpreted (unknown codes, node numbers beyond the
// node array) are dropped here, before they could add a node or be compared
// with their neighbours below.
void mergeNodes(const ModelObject& object, std::vector<Node>& nodes,
                std::vector<IndexEntry>& entries) {
  const std::size_t nodeCount = object.nodes.size();
  for (const IndexEntry& e : object.indices) {
    if (e.code == IDX_MATERIAL) {
      entries.push_back(e);
      continue;
    }
    if (!carriesNode(e.code) || e.ref >= nodeCount) continue;
    const Node& p = object.nodes[e.ref];
    std::size_t found = nodes.size();
    for (std::size_t k = 0; k < nodes.size(); ++k) {
      if (distanceSquared(nodes[k], p) < MERGE_DISTANCE_SQUARED) {
        found = k;
        break;
      }
    }
    if (found == nodes.size()) nodes.push_back(p);
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
