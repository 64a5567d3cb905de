// One reflection calculation from a project: the face and loudspeaker tables,
// the search into the work file, the path objects read back, and their
// linking, sorting and evaluation. The desktop command and taviron-cli both
// run through here, so they give the same paths.
#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "mapping/active_speaker_table.h"
#include "model/message.h"
#include "model/vec3.h"
#include "reflections/face_table.h"
#include "reflections/path_linking.h"
#include "reflections/path_search.h"
#include "reflections/reflection_paths.h"

namespace tav {

class Project;

inline constexpr const char* MSG_NO_SPEAKERS = "No speakers to process";
inline constexpr const char* PROMPT_MAX_ORDER = "Max.Order : (1 .. 40)";
inline constexpr const char* DEFAULT_MAX_ORDER_TEXT = "3";
inline constexpr const char* REFLECTIONS_COMMAND_NAME = "REFLECTIONS > ";
inline constexpr const char* PROMPT_TARGET_POINT = "Target Point";
inline constexpr const char* REFLECTION_PROGRESS_TITLE = "Calculating Reflections";
// The picked target point is raised by this much (m) above the pick.
constexpr double TARGET_LIFT = 0.01;

// The "Max.Order" answer read as "%d" does (leading blanks, sign, digits),
// clamped to 1..40; an answer without a number gives 1.
int parseMaxOrder(const std::string& text);
// "12.34 %" for the progress window.
std::string reflectionProgressText(double percent);

struct RaySearchRequest {
  Vec3d target;  // used as given
  int maxOrder = 3;
  SearchOptions options;
  std::filesystem::path workFolder;  // empty: the system temporary folder
};

struct RaySearchRun {
  UserMessage message;  // "Too many room faces", "No speakers to process", a file error
  std::size_t faces = 0;
  OrderSplit split;
  SearchOutcome search;
  double meanFreePath = 0;
  std::size_t pathsRead = 0;  // path objects now at the head of the list
};

// Searches, and inserts the found paths at the head of the project's list.
// The work file never outlives the call.
RaySearchRun runRaySearch(Project& project, const RaySearchRequest& request);

// The result display's data: linking, sorting and evaluation of the path
// objects in the project against freshly built tables.
struct RayResults {
  LinkResult link;
  std::unique_ptr<ReflectionStats> stats = std::make_unique<ReflectionStats>();
  ActiveSpeakerTable speakers;
  FaceTable faces;
  UserMessage tableMessage;  // "Too many room faces"
};
RayResults openRayResults(Project& project, double meanFreePath);

// The volume and the radiated power of the project (evaluatePaths' input).
RoomDrive roomDrive(const Project& project, const ActiveSpeakerTable& speakers);

// Articulation loss of a band (0..7) in percent: 0.6406 · RT · 10^(Lr/10) / Ed
// with Ed = 10^(Ld/10) when above 1, else 1; at most 100.
double alcons(const ReflectionStats& stats, int band);

}  // namespace tav
