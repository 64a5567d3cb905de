#include "shell/drag_transform.h"

#include "model/project_settings.h"

namespace tav {

Node dragMoveNode(const Node& node, const Node& base, const Node& current) {
  return {node.x + (current.x - base.x), node.y + (current.y - base.y),
          node.z + (current.z - base.z)};
}

Node mirrorInViewPlane(std::int16_t viewMode, const Node& node, const Node& base,
                       const Node& current) {
  // The pair (u, w) of coordinates that lie in the view plane.
  float Node::*u = &Node::x;
  float Node::*w = &Node::y;
  if (viewMode == VIEW_YZ) {
    u = &Node::y;
    w = &Node::z;
  } else if (viewMode == VIEW_XZ) {
    u = &Node::x;
    w = &Node::z;
  }
  const double du = double(current.*u) - base.*u;
  const double dw = double(current.*w) - base.*w;
  const double len2 = du * du + dw * dw;
  if (!(len2 > 1e-6)) return node;
  // Twice the signed distance from the line, along its normal (-dw, du).
  const double t =
      2.0 * ((double(base.*w) - node.*w) * du - (double(base.*u) - node.*u) * dw) / len2;
  Node out = node;
  out.*u = static_cast<float>(node.*u - dw * t);
  out.*w = static_cast<float>(node.*w + du * t);
  return out;
}

}  // namespace tav
