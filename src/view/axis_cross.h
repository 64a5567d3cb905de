// The axis cross drawn in the lower left corner of the 3D view: three arms
// along +x, +y and +z with the letters X, Y and Z at their ends, as stroke
// lines in model units (scaled by half the zoom when drawn).
#pragma once

#include <memory>

#include "model/model_object.h"

namespace tav {

// Length of each arm, model units.
constexpr float AXIS_CROSS_ARM = 3.0f;
// Colour of the axis indicator (2D and 3D).
constexpr std::uint32_t AXIS_INDICATOR_COLOUR = 21;

// The cross as the built-in resource holds it: the stroke lines followed by
// the two orientation nodes (1, 0, 0) and (0, 0, 1) that every shape object
// ends with. No entry refers to the orientation nodes.
std::unique_ptr<ModelObject> makeAxisCrossResource();

// The cross as the view uses it: the resource with its node count reduced by
// two, so the orientation nodes are not drawn.
std::unique_ptr<ModelObject> loadAxisCross();

}  // namespace tav
