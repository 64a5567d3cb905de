// The two snaps of point tracking: the coordinate snap (truncation toward
// zero to a multiple of the snap distance, else to whole millimetres) and
// the node snap (the nearest node of the node-snap layer within the width).
#pragma once

#include <cstdint>
#include <optional>

#include "model/object_list.h"
#include "platform/canvas.h"
#include "view/view_state.h"

namespace tav {

// Resolution of coordinates without the coordinate snap, metres.
constexpr double COORDINATE_RESOLUTION = 0.001;

// trunc(v / d) * d with the snap on, trunc(v / 0.001) * 0.001 with it off.
// A distance that is not positive counts as off.
double snapCoordinate(double value, bool snapOn, double distance);

struct SnapNode {
  Node node;
  PixelPoint pixel;
};

// Node snap: among the nodes of the drawable objects (flags AND 0xE0 = 0) on
// `layer` (selected objects left out when skipSelected), the candidate whose
// pixel distances dx and dy to the mouse are both below the threshold; the
// threshold starts at `width` and becomes min(dx, dy) with each candidate,
// so a later node closer on its nearer axis wins.
std::optional<SnapNode> findSnapNode(const ViewState& view, const ObjectList& objects,
                                     std::uint32_t layer, double width, PixelPoint mouse,
                                     bool skipSelected);

}  // namespace tav
