#include "view/axis_cross.h"

#include <initializer_list>
#include <utility>

namespace tav {

namespace {

struct Stroke {
  Node a, b;
};

// Letter strokes in a square of side s whose lower left corner is at c,
// drawn in the XY plane (the plane facing the viewer in the default 3D view).
void letterX(std::vector<Stroke>& out, Node c, float s) {
  out.push_back({c, {c.x + s, c.y + s, c.z}});
  out.push_back({{c.x, c.y + s, c.z}, {c.x + s, c.y, c.z}});
}
void letterY(std::vector<Stroke>& out, Node c, float s) {
  const Node mid{c.x + s / 2, c.y + s / 2, c.z};
  out.push_back({{c.x, c.y + s, c.z}, mid});
  out.push_back({{c.x + s, c.y + s, c.z}, mid});
  out.push_back({mid, {c.x + s / 2, c.y, c.z}});
}
void letterZ(std::vector<Stroke>& out, Node c, float s) {
  out.push_back({{c.x, c.y + s, c.z}, {c.x + s, c.y + s, c.z}});
  out.push_back({{c.x + s, c.y + s, c.z}, c});
  out.push_back({c, {c.x + s, c.y, c.z}});
}

}  // namespace

std::unique_ptr<ModelObject> makeAxisCrossResource() {
  const float arm = AXIS_CROSS_ARM;
  const float s = arm * 0.25f;  // letter size
  const float gap = arm * 0.1f;
  std::vector<Stroke> strokes;
  strokes.push_back({{0, 0, 0}, {arm, 0, 0}});
  strokes.push_back({{0, 0, 0}, {0, arm, 0}});
  strokes.push_back({{0, 0, 0}, {0, 0, arm}});
  letterX(strokes, {arm + gap, -s / 2, 0}, s);
  letterY(strokes, {-s / 2, arm + gap, 0}, s);
  letterZ(strokes, {gap, gap, arm}, s);

  auto cross = std::make_unique<ModelObject>();
  for (const Stroke& st : strokes) {
    const auto n = static_cast<std::uint16_t>(cross->nodes.size());
    cross->nodes.push_back(st.a);
    cross->nodes.push_back(st.b);
    cross->indices.push_back({IDX_START, n});
    cross->indices.push_back({IDX_LINE, static_cast<std::uint16_t>(n + 1)});
  }
  cross->nodes.push_back({1, 0, 0});
  cross->nodes.push_back({0, 0, 1});
  cross->shape = SHAPE_POLYLINE;
  cross->colour = AXIS_INDICATOR_COLOUR;
  cross->layer = LAYER_SPEAKER_SHAPES;
  return cross;
}

std::unique_ptr<ModelObject> loadAxisCross() {
  auto cross = makeAxisCrossResource();
  if (cross->nodes.size() >= 2) cross->nodes.resize(cross->nodes.size() - 2);
  return cross;
}

}  // namespace tav
