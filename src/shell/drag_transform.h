// The transforms behind the drag previews, shared by the preview (drawn at
// every cursor move) and by the commands that apply the same transform to
// the model once the final point is given.
#pragma once

#include <cstdint>

#include "model/model_object.h"

namespace tav {

// Node moved by the displacement current - base.
Node dragMoveNode(const Node& node, const Node& base, const Node& current);

// Node reflected, in the plane of the view, across the line through base
// with direction current - base: XY, 3D and perspective use (x, y), YZ uses
// (y, z), XZ uses (x, z); the third coordinate stays. A line shorter than
// 1e-3 (squared length at most 1e-6) leaves the node where it is.
Node mirrorInViewPlane(std::int16_t viewMode, const Node& node, const Node& base,
                       const Node& current);

}  // namespace tav
