// Small builders for objects used by the view tests.
#pragma once

#include <initializer_list>
#include <memory>

#include "model/object_list.h"
#include "view/view_state.h"

namespace tav::test {

inline std::unique_ptr<ModelObject> makeObject(std::initializer_list<Node> nodes,
                                               std::initializer_list<IndexEntry> entries,
                                               std::uint32_t shape = SHAPE_POLYLINE,
                                               std::uint32_t layer = LAYER_ROOM,
                                               std::uint32_t colour = 0) {
  auto o = std::make_unique<ModelObject>();
  o->nodes.assign(nodes.begin(), nodes.end());
  o->indices.assign(entries.begin(), entries.end());
  o->shape = shape;
  o->layer = layer;
  o->colour = colour;
  return o;
}

// A face over nodes 0..n-1 in order: (0,0) (3,0) (1,1) ... (2,n-1).
inline std::unique_ptr<ModelObject> makeFace(std::initializer_list<Node> nodes,
                                             std::uint32_t layer = LAYER_ROOM,
                                             std::uint32_t colour = 0) {
  auto o = std::make_unique<ModelObject>();
  o->nodes.assign(nodes.begin(), nodes.end());
  const auto n = static_cast<std::uint16_t>(nodes.size());
  o->indices.push_back({IDX_START, 0});
  o->indices.push_back({IDX_MATERIAL, 0});
  for (std::uint16_t i = 1; i < n; ++i)
    o->indices.push_back({i + 1u == n ? IDX_CLOSE : IDX_LINE, i});
  o->shape = SHAPE_FACE;
  o->layer = layer;
  o->colour = colour;
  return o;
}

// Reverses a face's vertex order after its material entry, keeping its
// start vertex (what Invert Face does), written out here on its own.
inline void reverseFace(ModelObject& o) {
  std::size_t first = 2, last = o.indices.size() - 1;
  while (first < last) std::swap(o.indices[first++].ref, o.indices[last--].ref);
}

// A view of the given size with the mode's matrix.
inline ViewState makeView(int mode, int width, int height, float zoom) {
  ViewState s;
  s.mode = static_cast<std::int16_t>(mode);
  s.zoom = zoom;
  prepareView(s, width, height);
  return s;
}

}  // namespace tav::test
