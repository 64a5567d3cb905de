// The result display of the reflection search: the ray window (the model
// view with the paths, stepping through them) and the ETC window (the
// impulse response per band), toggled by "ETC" / "RAY" until "<-".
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/input_events.h"
#include "reflections/reflection_paths.h"

namespace tav {

class CommandContext;

inline constexpr const char* MSG_CANT_CREATE_RAY_WINDOW = "Can´t create Ray-window";
inline constexpr const char* MSG_CANT_CREATE_ETC_WINDOW = "Can´t create ETC-window";
inline constexpr const char* RAY_WINDOW_TITLE = "Rays";
inline constexpr const char* ETC_WINDOW_TITLE = "ETC";
// The command bar's scroll bar runs over 0..1000.
constexpr int PATH_SCROLL_RANGE = 1000;

// What the "APF" and "RTA" buttons act on: the evaluated paths in time
// order (objects of the project's list) and their statistics.
struct RayDisplayResults {
  const ReflectionStats& stats;
  std::vector<const ModelObject*> paths;
};
// The audio profile's writers. The buttons stay disabled while an action is
// not set; the auralization UI sets them when it starts.
struct RayProfileActions {
  std::function<void(CommandContext&, const RayDisplayResults&)> writeProfile;  // "APF"
  std::function<void(CommandContext&, const RayDisplayResults&)> realtime;      // "RTA"
};
void setRayProfileActions(RayProfileActions actions);
const RayProfileActions& rayProfileActions();

// The path selected after one step of the command bar's scroll bar. -1 is
// no path (the ray window shows them all; the ETC window never goes there).
int stepPathSelection(int selected, int count, ScrollAction action, int thumb, bool rayWindow);
// The thumb position of a selection (0 with fewer than two paths).
int pathThumb(int selected, int count);

// Links, sorts and evaluates the project's path objects, shows the
// linking's messages and, when a path is kept, runs the display. True when
// the display ran.
bool showRayResults(CommandContext& ctx, double meanFreePath);

}  // namespace tav
