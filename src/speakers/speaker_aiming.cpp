#include "speakers/speaker_aiming.h"

#include <cmath>

#include "speakers/directivity.h"

namespace tav {

namespace {
constexpr double HALF_PI = 1.5707963267948966;
}

AimAngles aimAngles(const Vec3d& from, const Vec3d& target) {
  const Vec3d d = target - from;
  double h;
  if (std::fabs(d.x) > 0.001)
    h = std::atan2(d.y, d.x);
  else
    h = d.y < 0 ? -HALF_PI : HALF_PI;
  const double v = std::atan2(d.z, std::sqrt(d.x * d.x + d.y * d.y) + 1e-9);
  return {h, v};
}

void aimAtTarget(PlacedSpeaker& speaker, const Vec3d& target) {
  const AimAngles a = aimAngles(speaker.pos(), target);
  speaker.horizontal = static_cast<float>(a.horizontal);
  speaker.vertical = static_cast<float>(a.vertical);
}

std::vector<double> alignmentDelays(std::span<const Vec3d> positions, const Vec3d& reference) {
  std::vector<double> t(positions.size());
  double tMax = 0;
  for (std::size_t i = 0; i < positions.size(); ++i) {
    t[i] = length(reference - positions[i]) / SPEED_OF_SOUND;
    if (t[i] > tMax) tMax = t[i];
  }
  for (double& ti : t) ti = (tMax - ti) * 1000.0;
  return t;
}

double wrapArrayAngle(double a) {
  if (a < -ARRAY_PI)
    a += ARRAY_TWO_PI;
  else if (a > ARRAY_PI)
    a -= ARRAY_TWO_PI;
  return a;
}

Vec3d turnAboutVertical(const Vec3d& p, const Vec3d& b, double a) {
  const double c = std::cos(a), s = std::sin(a);
  return {b.x + c * (p.x - b.x) - s * (p.y - b.y), b.y + s * (p.x - b.x) + c * (p.y - b.y), p.z};
}

void turnSpeaker(PlacedSpeaker& speaker, ModelObject* drawing, const Vec3d& base, double angle) {
  if (drawing)
    for (Node& n : drawing->nodes) n = toNode(turnAboutVertical(toVec(n), base, angle));
  speaker.position = toNode(turnAboutVertical(speaker.pos(), base, angle));
  speaker.horizontal = static_cast<float>(wrapArrayAngle(speaker.horizontal + angle));
}

void tiltSpeaker(PlacedSpeaker& speaker, const Vec3d& base, double angle) {
  const double h = speaker.horizontal;
  Vec3d p = turnAboutVertical(speaker.pos(), base, -h);
  const double c = std::cos(angle), s = std::sin(angle);
  p = {base.x + c * (p.x - base.x) - s * (p.z - base.z), p.y,
       base.z + s * (p.x - base.x) + c * (p.z - base.z)};
  speaker.position = toNode(turnAboutVertical(p, base, h));
  speaker.vertical = static_cast<float>(wrapArrayAngle(speaker.vertical + angle));
}

}  // namespace tav
