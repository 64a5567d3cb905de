// Objects of the view tests: open figures of a shape and colour (polylines
// unless told), on the builders of support/model_builders.h.
#pragma once

#include <initializer_list>
#include <memory>

#include "model/object_list.h"
#include "support/model_builders.h"
#include "view/view_state.h"

namespace tav::test {

inline std::unique_ptr<ModelObject> makeObject(std::initializer_list<Node> nodes,
                                               std::initializer_list<IndexEntry> entries,
                                               std::uint32_t shape = SHAPE_POLYLINE,
                                               std::uint32_t layer = LAYER_ROOM,
                                               std::uint32_t colour = 0) {
  auto o = makeObject(std::vector<Node>(nodes), std::vector<IndexEntry>(entries), layer, shape);
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
