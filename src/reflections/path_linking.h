// Linking the found paths to their loudspeakers: each path's source, arrival
// time and band energies, and the room statistics of the reflections (mean
// free path, mean absorption, reverberation time).
#pragma once

#include <cstddef>
#include <optional>

#include "mapping/active_speaker_table.h"
#include "model/message.h"
#include "model/vec3.h"
#include "reflections/face_table.h"
#include "reflections/reflection_paths.h"

namespace tav {

class ObjectList;
struct ProjectMaterials;

inline constexpr const char* MSG_LINKING = "Linking faces and speakers...";
inline constexpr const char* MSG_NO_MEAN_FREE_PATH = "Can´t calculate mean free path";
inline constexpr const char* CAPTION_INFO = "Info :";
inline constexpr const char* MSG_NO_VALID_PATHS = "No valid paths found, operation cancelled";
inline constexpr const char* MSG_PATHS_UNASSIGNED = "paths left unassigned";
inline constexpr const char* CAPTION_INFORMATION = "Information :";
// A path belongs to the loudspeaker nearest its first point within 0.1 m.
constexpr double SPEAKER_MATCH_DISTANCE_SQ = 0.01;
// A mean free path at or below this (m) counts as not determined.
constexpr double MIN_MEAN_FREE_PATH = 0.1;

struct LinkResult {
  std::size_t kept = 0;
  std::size_t unassigned = 0;
  std::size_t reflections = 0;  // reflections of the kept paths
  std::optional<Vec3d> target;  // the last node of the last path linked
  // In order: "Can´t calculate mean free path" (Info :), then "No valid
  // paths found, operation cancelled" or "<n> paths left unassigned"
  // (Information :).
  std::vector<UserMessage> messages;
};

// Energy factor of a band's balloon for the direction of a path's first
// segment: the polar angle |atan2(√(y² + z²), x + 1e-6)| in 5-degree rows,
// rows from 35 on blended with row 35 at 0.5 each.
double pathDirectivity(const DirectivityGrid& grid, const Vec3d& local);

// Links every path object of `objects`; unassigned paths (no loudspeaker
// within 0.1 m of their source point, or a face index outside `faces`) are
// deleted. `faces` must be the table sorted for reflections. Completes the
// statistics from `meanFreePath` (m) into `stats`.
LinkResult linkPathsToSpeakers(ObjectList& objects, const FaceTable& faces,
                               const ActiveSpeakerTable& speakers,
                               const ProjectMaterials& materials, double meanFreePath,
                               ReflectionStats& stats);

}  // namespace tav
