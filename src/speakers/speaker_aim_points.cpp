#include "speakers/speaker_aim_points.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "model/project.h"
#include "reflections/face_table.h"

namespace tav {

namespace {

int sign(double v) { return (v > 0) - (v < 0); }

// The hit lies ahead: every coordinate difference from the origin has the
// sign of the ray's component, or is zero.
bool ahead(const Vec3d& d, const Vec3d& ray) {
  return (d.x == 0 || sign(d.x) == sign(ray.x)) && (d.y == 0 || sign(d.y) == sign(ray.y)) &&
         (d.z == 0 || sign(d.z) == sign(ray.z));
}

}  // namespace

Vec3d aimRay(const PlacedSpeaker& s) {
  const double h = s.horizontal, v = s.vertical;
  Vec3d r{AIM_RAY_LENGTH * std::cos(h) * std::cos(v), AIM_RAY_LENGTH * std::sin(h) * std::cos(v),
          AIM_RAY_LENGTH * std::sin(v)};
  if (std::fabs(r.x) < 0.1) r.x = 0;
  return r;
}

std::optional<Vec3d> speakerAimPoint(const FaceTable& table, const PlacedSpeaker& speaker) {
  const Vec3d origin = speaker.pos();
  const Vec3d ray = aimRay(speaker);
  const Vec3d end = origin + ray;
  const Vec3d lo{std::min(origin.x, end.x), std::min(origin.y, end.y), std::min(origin.z, end.z)};
  const Vec3d hi{std::max(origin.x, end.x), std::max(origin.y, end.y), std::max(origin.z, end.z)};
  double best = 1e12;  // squared: closer than 1e6 m
  std::optional<Vec3d> aim;
  for (const FaceRecord& f : table.records) {
    if (f.boundsMax(0) < lo.x || f.boundsMin(0) > hi.x || f.boundsMax(1) < lo.y ||
        f.boundsMin(1) > hi.y || f.boundsMax(2) < lo.z || f.boundsMin(2) > hi.z)
      continue;
    auto hit = intersectFacePlane(f, origin, ray);
    if (!hit || !hit->inside) continue;
    const Vec3d d = hit->point - origin;
    if (!ahead(d, ray)) continue;
    const double dist2 = dot(d, d);
    if (dist2 < best) {
      best = dist2;
      aim = hit->point;
    }
  }
  return aim;
}

ModelObject* rebuildAimPoints(Project& project, bool visible) {
  for (ModelObject* o = project.objects.head(); o;) {
    ModelObject* next = o->next;
    if (o->layer == LAYER_AIM_LINES) {
      project.notifyObject(*o);
      project.objects.freeObject(o);
    }
    o = next;
  }
  std::vector<PlacedSpeaker> on;
  for (const ModelObject& o : project.objects)
    if (auto s = speakerOf(o); s && s->isOn()) on.push_back(*s);
  if (on.empty()) return nullptr;

  FaceTable table;
  if (!buildFaceTable(project, table).ok()) return nullptr;
  auto lines = ObjectList::allocObject(0, 0, 0);
  if (!lines) return nullptr;
  for (const PlacedSpeaker& s : on) {
    const std::optional<Vec3d> aim = speakerAimPoint(table, s);
    if (!aim || lines->nodes.size() + 2 > MAX_OBJECT_NODES) continue;
    const auto first = static_cast<std::uint16_t>(lines->nodes.size());
    lines->nodes.push_back(s.position);
    lines->nodes.push_back(toNode(*aim));
    lines->indices.push_back({IDX_START, first});
    lines->indices.push_back({IDX_LINE, static_cast<std::uint16_t>(first + 1)});
  }
  if (lines->nodes.empty()) return nullptr;
  lines->layer = LAYER_AIM_LINES;
  lines->colour = AIM_LINE_COLOUR;
  lines->shape = SHAPE_LINE;
  lines->flags = visible ? 0 : OF_HIDDEN;
  ModelObject* linked = project.objects.appendObject(std::move(lines));
  project.notifyObject(*linked);
  return linked;
}

}  // namespace tav
