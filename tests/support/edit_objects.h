// Objects for the editing tests that no drawing would give: polylines of
// many nodes, to reach the size limits of the commands.
#pragma once

#include <cstdint>
#include <memory>

#include "model/model_object.h"

namespace tav::test {

// An open polyline of `count` nodes along x from `x0`, `step` apart; node
// references wrap at 65 536 as a 16-bit entry holds them.
inline std::unique_ptr<ModelObject> longPolyline(std::uint32_t count, float x0, float step) {
  auto o = std::make_unique<ModelObject>();
  o->shape = SHAPE_POLYLINE;
  for (std::uint32_t i = 0; i < count; ++i) {
    o->nodes.push_back({x0 + static_cast<float>(i) * step, 0, 0});
    o->indices.push_back({i == 0 ? IDX_START : IDX_LINE, static_cast<std::uint16_t>(i)});
  }
  return o;
}

}  // namespace tav::test
