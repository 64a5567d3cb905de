// The Level + Time calculation without its dialogs: the preparation of a run
// (loudspeakers, audience areas, grid, room faces), the parallel computation
// of every receiver point, and the map it makes. The menu command and the
// command-line tool both run it.
#pragma once

#include <functional>
#include <vector>

#include "mapping/active_speaker_table.h"
#include "mapping/audience_grid.h"
#include "mapping/level_map.h"
#include "mapping/point_calculation.h"
#include "model/message.h"
#include "model/project_settings.h"
#include "reflections/face_bvh.h"
#include "reflections/face_table.h"

namespace tav {

class Project;

inline constexpr const char* MSG_NO_SPEAKERS_TO_PROCESS = "No speakers to process";

// Called on the calling thread once before the points are computed and then
// about every 100 ms while they are, with the share done (0..100); returns
// true to cancel.
using CalculationProgress = std::function<bool(double percent)>;
constexpr int PROGRESS_INTERVAL_MS = 100;

enum class CalculationStatus { Completed, Cancelled };

// Computes the band energies and first arrivals of every point in parallel.
// A point's energy is its band sum when above 1.0, else 1.0; its first
// arrival is 1000 x the list's t0 (ms) when the sum is above 1.0, else
// 10000 ms. Each point is computed exactly as a serial run would, so the
// result does not depend on the number of threads.
CalculationStatus computeMapPoints(const PointCalculation& calc, std::vector<MapPoint>& points,
                                   const CalculationProgress& progress = {});

// Why a run cannot start.
enum class LevelTimeStatus {
  Ready,
  NoLoudspeakers,    // no loudspeaker object at all: ends silently
  NoActiveSpeakers,  // "No speakers to process"
  NoAudienceArea,    // no audience area with a non-vertical first face: silently
  GridTooFine,       // "Insufficient memory for grid size. Please select larger grid"
};

// A prepared run. Keep it in place while it is computed: the calculation
// refers to its tables.
struct LevelTimeRun {
  LevelTimeStatus status = LevelTimeStatus::Ready;
  // A message to show: the reason the run cannot start, or, with Ready,
  // "Too many room faces" (the room is then left out of this run).
  UserMessage message;
  ActiveSpeakerTable speakers;
  AudienceAreaTable areas;
  double spacing = 0;  // metres
  std::vector<MapPoint> points;
  FaceTable faces;
  FaceBvh hierarchy;
  std::int16_t includeRoom = 0;  // the options' bits, 0 without room faces
  PhaseRelation phase = PhaseRelation::OctaveBandwidth;
};

// Whether the project holds any loudspeaker object (switched on or not).
bool hasLoudspeakerObjects(const Project& project);

// Everything after the options dialog up to the computation: the speaker
// table, the audience areas, the grid (a coarsened grid index is written
// back into the options) and the face table with its hierarchy.
LevelTimeRun prepareLevelTime(Project& project, CalculationOptions& options);

// Computes the points of a prepared run.
CalculationStatus computeLevelTime(LevelTimeRun& run, const Project& project,
                                   const CalculationProgress& progress = {},
                                   FaceSearch search = FaceSearch::Hierarchy);

// The map of a computed run (its tables are moved into it).
LevelMap levelMapOf(LevelTimeRun&& run);

// Makes a computed map the project's. It keeps the single points of the map
// it replaces when both have as many points (the same grid).
void installLevelMap(Project& project, LevelMap map);

}  // namespace tav
