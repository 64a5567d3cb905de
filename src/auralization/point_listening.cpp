#include "auralization/point_listening.h"

#include <cmath>

#include "auralization/profile_paths.h"
#include "mapping/active_speaker_table.h"
#include "model/project.h"
#include "reflections/face_table.h"
#include "reflections/reflection_run.h"

namespace tav {

int pointListeningOrder(std::size_t faces, std::size_t speakers) {
  const double product = static_cast<double>(faces) * static_cast<double>(speakers);
  // ln 1 = 0: the quotient is unbounded, so the cap applies.
  if (product <= 1.0) return POINT_LISTENING_MAX_ORDER;
  const double quotient = 10.0 / std::log(product);
  if (!(quotient > 1.0)) return 1;
  if (quotient >= POINT_LISTENING_MAX_ORDER) return POINT_LISTENING_MAX_ORDER;
  return static_cast<int>(quotient);
}

PointListening searchAtPoint(Project& project, const Vec3d& point, double ldMinusLrDb,
                             const SearchProgress& progress) {
  PointListening out;
  FaceTable faces;
  const FaceTableBuild built = buildFaceTable(project, faces);
  const ActiveSpeakerTable speakers = buildActiveSpeakerTable(project);
  if (faces.empty() || speakers.empty()) return out;
  if (!built.ok()) out.messages.push_back(built.message);

  RaySearchRequest request;
  request.target = point;
  // Order 3 needs fewer than 28 faces and order 2 fewer than 149, far below
  // where the search hands orders to rays: the search is by image sources.
  request.maxOrder = pointListeningOrder(faces.size(), speakers.size());
  request.options.progress = progress;
  const RaySearchRun run = runRaySearch(project, request);
  out.cancelled = run.search.cancelled;
  if (!run.message.empty() && run.message.text != built.message.text)
    out.messages.push_back(run.message);
  if (run.pathsRead > 0 && !out.cancelled) {
    const RayResults results = openRayResults(project, run.meanFreePath);
    for (const UserMessage& m : results.link.messages) out.messages.push_back(m);
    if (results.link.kept > 0) {
      out.paths = profilePathsFrom(project.objects);
      out.stats = profileStatsFrom(*results.stats);
      for (int b = 0; b < BAND_COUNT; ++b)
        out.stats.reverbDb[b] = static_cast<float>(out.stats.earlyDb[b] - ldMinusLrDb);
    }
  }
  // The paths were only the means: the model is left as it was.
  removeReflectionPaths(project.objects);
  return out;
}

}  // namespace tav
