// Aim-point lines: for each switched-on loudspeaker whose main axis meets a
// room face, a line from the loudspeaker to the nearest face ahead of it.
#pragma once

#include <optional>

#include "model/vec3.h"
#include "speakers/placed_speaker.h"

namespace tav {

class Project;
struct FaceTable;

constexpr std::uint32_t AIM_LINE_COLOUR = 22;
// Length of the ray cast along the main axis (m).
constexpr double AIM_RAY_LENGTH = 10000.0;

// The ray along the main axis; an x component below 0.1 in magnitude is 0.
Vec3d aimRay(const PlacedSpeaker& speaker);

// The nearest point ahead of the loudspeaker where its main axis meets a
// room face of the table (closer than 1e6 m), if any.
std::optional<Vec3d> speakerAimPoint(const FaceTable& table, const PlacedSpeaker& speaker);

// Replaces the aim-point object of the project (layer 4, colour 22, hidden
// unless `visible`) with one built from the switched-on loudspeakers.
// Returns the new object, or null when no line was made.
ModelObject* rebuildAimPoints(Project& project, bool visible);

}  // namespace tav
