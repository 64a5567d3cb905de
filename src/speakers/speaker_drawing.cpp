#include "speakers/speaker_drawing.h"

#include <cmath>

#include "model/project.h"
#include "speakers/project_speaker_types.h"
#include "speakers/speaker_shape.h"

namespace tav {

namespace {

constexpr double HALF_PI = 1.5707963267948966;

struct Turn {
  bool on;
  double s, c;
};
Turn turn(float angle) {
  if (std::fabs(angle) <= DRAWING_ANGLE_EPSILON) return {false, 0, 1};
  return {true, std::sin(double(angle)), std::cos(double(angle))};
}

}  // namespace

Vec3d speakerToWorld(const PlacedSpeaker& s, const Vec3d& local) {
  const Turn r = turn(s.rotation), v = turn(s.vertical), h = turn(s.horizontal);
  double x = local.x, y = local.y, z = local.z;
  if (r.on) {
    const double ny = r.c * y + r.s * z;
    z = -r.s * y + r.c * z;
    y = ny;
  }
  if (v.on) {
    const double nx = v.c * x - v.s * z;
    z = v.s * x + v.c * z;
    x = nx;
  }
  if (h.on) {
    const double nx = h.c * x - h.s * y;
    y = h.s * x + h.c * y;
    x = nx;
  }
  return Vec3d{x, y, z} + s.pos();
}

void speakerDrawingGeometry(const PlacedSpeaker& speaker, const ModelObject& shape,
                            ModelObject& object) {
  object.nodes.resize(shape.nodes.size());
  for (std::size_t i = 0; i < shape.nodes.size(); ++i)
    object.nodes[i] = toNode(speakerToWorld(speaker, toVec(shape.nodes[i])));
  object.indices = shape.indices;
  object.layer = LAYER_SPEAKERS;
  object.shape = SHAPE_SOLID;
  object.flags = 0;
  object.colour = speaker.isOn() ? SPEAKER_COLOUR_ON : SPEAKER_COLOUR_OFF;
  storeSpeaker(object, speaker);
}

ModelObject* buildSpeakerDrawing(Project& project, const PlacedSpeaker& speaker,
                                 ModelObject* existing) {
  std::unique_ptr<ModelObject> object;
  if (existing && project.objects.contains(existing)) {
    existing->flags &= ~OF_SELECTED;
    project.notifyObject(*existing);  // erase it where it was
    object = project.objects.unlinkObject(existing);
  } else {
    object = ObjectList::allocObject(PLACED_SPEAKER_SIZE, 0, 0);
    if (!object) return nullptr;
  }
  const SpeakerType* type = speakerTypeOf(project, speaker);
  speakerDrawingGeometry(speaker, type ? shapeOf(*type) : defaultSpeakerShape(), *object);
  ModelObject* linked = project.objects.insertAtHead(std::move(object));
  project.notifyObject(*linked);
  return linked;
}

SpeakerAngles anglesFromDirectionNodes(const ModelObject& object, const PlacedSpeaker& speaker) {
  SpeakerAngles angles;
  const std::size_t n = object.nodes.size();
  if (n < 2) return angles;
  const Vec3d p = speaker.pos();
  const Vec3d a = toVec(object.nodes[n - 2]) - p;
  const Vec3d b = toVec(object.nodes[n - 1]) - p;

  double h;
  if (std::fabs(a.x) > 0.001)
    h = std::atan2(a.y, a.x);
  else
    h = a.y > 0 ? HALF_PI : -HALF_PI;
  const double rho = std::sqrt(a.x * a.x + a.y * a.y);
  double v;
  if (rho > 0.001)
    v = std::atan2(a.z, rho);
  else
    v = a.z > 0 ? HALF_PI : -HALF_PI;

  // Undo the azimuth, then the elevation; the up node then lies at
  // (., sin r, cos r) in the local frame.
  const double ch = std::cos(-h), sh = std::sin(-h);
  const double bx = ch * b.x - sh * b.y;
  const double by = sh * b.x + ch * b.y;
  const double bz = -std::sin(v) * bx + std::cos(v) * b.z;
  angles.horizontal = h;
  angles.vertical = v;
  angles.rotation = std::atan2(by, bz);
  return angles;
}

}  // namespace tav
