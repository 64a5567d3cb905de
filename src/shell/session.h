// Program-wide state that outlives a project: the history file, the display
// units, the loaded databases, the built-in resources, the undo ring, the
// option values of the input machinery, and hooks through which subsystems
// take part in shell events without the shell knowing them.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "auralization/auralization_settings.h"
#include "materials/absorber_database.h"
#include "model/history_file.h"
#include "model/model_object.h"
#include "model/undo_ring.h"
#include "model/units.h"
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
};

}  // namespace tav
