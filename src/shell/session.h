// Program-wide state that outlives a project: the history file, the display
// units, the loaded databases, the built-in resources, the undo ring, the
// option values of the input machinery, and hooks through which subsystems
// take part in shell events without the shell knowing them.
#pragma once

#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "auralization/auralization_settings.h"
#include "materials/absorber_database.h"
#include "model/history_file.h"
#include "model/model_object.h"
#include "model/undo_ring.h"
#include "model/units.h"
#include "model/vec3.h"
#include "speakers/speaker_database.h"

namespace tav {

class CommandContext;

// Default number of segments of a drawn circle and its input range.
constexpr int CIRCLE_SEGMENTS_DEFAULT = 36;
constexpr int CIRCLE_SEGMENTS_MIN = 3;
constexpr int CIRCLE_SEGMENTS_MAX = 360;
// The comment shown in the view holds at most this many characters.
constexpr int COMMENT_MAX_LENGTH = 80;

// Hooks filled by subsystems; each may be empty.
struct SessionHooks {
  // View > "Loudspeaker Aim&points" (608) toggled layer 4: rebuild the aim
  // lines before the view is redrawn.
  std::function<void(CommandContext&)> rebuildAimPoints;
  // A new project was made (start-up, File > New, before a load): reset the
  // module state that belongs to the model.
  std::function<void(CommandContext&)> projectReset;
  // A project was opened: recompute derived values (loudspeakers).
  std::function<void(CommandContext&)> projectLoaded;
};

// What the Level + Time calculation and its map window keep between runs,
// and what other subsystems plug into them.
struct MappingSession {
  // The include-room bits of the last Level + Time run (none before the
  // first run); the cluster balloons compute their points with them.
  std::int16_t lastIncludeRoom = 0;
  // A right click on the map hands the point (z on its area's plane) and its
  // Ld-Lr over all bands to the auralization; until one is set, the click
  // only picks the point. Not called while `auralizationRunning` says so.
  std::function<void(CommandContext&, const Vec3d& point, double ldLrAll)> auralizeAtPoint;
  std::function<bool()> auralizationRunning;
  // The local time of the STI export file names (empty: the system clock)
  // and the diagnostic output of the STI functions (empty: standard error).
  std::function<std::time_t()> clock;
  std::function<void(std::string_view)> diagnostics;
};

struct Session {
  // Where the history file is read and written (defaultHistoryPath() in the
  // program; a temporary path in tests).
  std::string historyPath;
  History history;
  Units units;  // mirrors history.feet

  // Folder of the bundled data (help, examples, default databases).
  std::string dataFolder;
  // The manual opened by Help; anchors are "cmd-" + command number.
  std::string helpFile;

  // The loaded loudspeaker database (none until one is selected).
  SpeakerDatabaseIndex speakerDatabase;
  // The absorber database (none until one is selected or saved); survives a
  // new project unless no database file is set.
  AbsorberDatabase absorberDatabase;
  // Built-in resources: the default loudspeaker shape, the axis cross of
  // the 3D view (node count already reduced by two) and the stroke font
  // bytes ("STANDARDFONT"; empty when none is loaded).
  const ModelObject* defaultSpeakerShape = nullptr;
  std::unique_ptr<ModelObject> axisCross;
  std::vector<std::uint8_t> strokeFont;

  // Whole-model snapshots taken before every editing command.
  UndoRing undo;

  // Option values of the input machinery (reset by File > New).
  int circleSegments = CIRCLE_SEGMENTS_DEFAULT;
  std::string comment;  // at most COMMENT_MAX_LENGTH characters
  // The band shown in the perspective view's information block while a
  // loudspeaker is being aimed (Hz); none otherwise.
  std::optional<double> aimBandHz;

  // The current audio profile, the recordings and the processing rate.
  AuralizationSettings auralization;

  SessionHooks hooks;
  MappingSession mapping;
};

}  // namespace tav
