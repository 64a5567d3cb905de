#include "shell/point_snap.h"

#include <cmath>
#include <cstdlib>

namespace tav {

double snapCoordinate(double value, bool snapOn, double distance) {
  const double d = snapOn && distance > 0 ? distance : COORDINATE_RESOLUTION;
  const double steps = std::trunc(value / d);
  // + 0.0 turns the -0 of a small negative value into 0: a point given
  // there reads and is stored as 0, not -0.
  return std::isfinite(steps) ? steps * d + 0.0 : value;
}

std::optional<SnapNode> findSnapNode(const ViewState& view, const ObjectList& objects,
                                     std::uint32_t layer, double width, PixelPoint mouse,
                                     bool skipSelected) {
  std::optional<SnapNode> best;
  double threshold = width;
  for (const ModelObject& o : objects) {
    if ((o.flags & (OF_HIDDEN | OF_INERT)) != 0 || o.layer != layer) continue;
    if (skipSelected && o.isSelected()) continue;
    for (const Node& n : o.nodes) {
      const ScreenPoint s = projectNode(view, n);
      if (!s.front) continue;
      const double dx = std::abs(s.x - mouse.x);
      const double dy = std::abs(s.y - mouse.y);
      if (dx < threshold && dy < threshold) {
        best = SnapNode{n, {s.x, s.y}};
        threshold = std::min(dx, dy);
      }
    }
  }
  return best;
}

}  // namespace tav
