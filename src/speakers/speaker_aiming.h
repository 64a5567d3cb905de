// Orientation and delay from geometry: aiming at a target, aligning the
// arrival of several loudspeakers at a reference point, and turning or
// tilting an array about a base point.
#pragma once

#include <span>
#include <vector>

#include "model/vec3.h"
#include "speakers/placed_speaker.h"

namespace tav {

// pi as the array commands use it for degrees and for wrapping.
constexpr double ARRAY_PI = 3.141592654;
constexpr double ARRAY_TWO_PI = 6.283185308;

struct AimAngles {
  double horizontal;
  double vertical;
};
// Main axis from `from` towards `target` (rotation unchanged).
AimAngles aimAngles(const Vec3d& from, const Vec3d& target);
void aimAtTarget(PlacedSpeaker& speaker, const Vec3d& target);

// Delays in ms that make the direct sound of every loudspeaker arrive at
// `reference` together with that of the farthest one (which gets 0).
std::vector<double> alignmentDelays(std::span<const Vec3d> positions, const Vec3d& reference);

// Degrees typed by the user -> radians as the array commands convert them.
inline double arrayAngle(double degrees) { return degrees * ARRAY_PI / 180.0; }
// Turn and Tilt array refuse angles of larger magnitude (degrees).
constexpr double ARRAY_ANGLE_ENTRY_LIMIT = 360.0;
// Brings an angle once into -pi..pi (one correction of 2 pi at most).
double wrapArrayAngle(double angle);

// Turns a point about the vertical axis through `base` by `angle` rad
// (counter-clockwise seen from above).
Vec3d turnAboutVertical(const Vec3d& point, const Vec3d& base, double angle);

// Turns the loudspeaker's position (and its drawing's nodes, when given)
// about the vertical through `base` and adds the angle to its azimuth.
void turnSpeaker(PlacedSpeaker& speaker, ModelObject* drawing, const Vec3d& base, double angle);

// Tilts the loudspeaker in the vertical plane through `base` parallel to its
// own main axis and adds the angle to its elevation. The drawing must be
// rebuilt afterwards.
void tiltSpeaker(PlacedSpeaker& speaker, const Vec3d& base, double angle);

}  // namespace tav
