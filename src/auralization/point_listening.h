// Listening at a point of a computed map: a quick reflection search at the
// point by image sources alone, its paths evaluated, and every band's
// reverberant level set to the early level minus the map's Ld-Lr, so that
// the real-time profile carries the map's reverberant-to-direct ratio.
#pragma once

#include <cstddef>
#include <vector>

#include "auralization/profile_builder.h"
#include "model/message.h"
#include "model/vec3.h"
#include "reflections/path_search.h"

namespace tav {

class Project;

// The quick search stops at this order.
constexpr int POINT_LISTENING_MAX_ORDER = 3;

// trunc(10 / ln(faces * speakers)) when that exceeds 1, else 1; at most 3.
// A single face with a single loudspeaker (ln 1 = 0) searches to order 3.
int pointListeningOrder(std::size_t faces, std::size_t speakers);

struct PointListening {
  // "Too many room faces", a work-file error, the linking's notes.
  std::vector<UserMessage> messages;
  bool cancelled = false;
  // Evaluated paths in time order; empty when nothing is to be played.
  std::vector<ProfilePath> paths;
  ProfileStats stats;
};

// Searches from every switched-on loudspeaker to `point`, links and
// evaluates the paths, and takes them out of the project again. Nothing is
// searched without room faces or switched-on loudspeakers.
PointListening searchAtPoint(Project& project, const Vec3d& point, double ldMinusLrDb,
                             const SearchProgress& progress = {});

}  // namespace tav
