// Choosing a loudspeaker database (Loudspeakers > "&Select Database") and a
// type from it ("Select Loudspeaker").
#pragma once

#include <optional>

#include "platform/dialog.h"
#include "shell/command_ids.h"

namespace tav {

class CommandContext;
struct SpeakerDatabaseIndex;

inline constexpr const char* SELECT_SPEAKER_DIALOG_TITLE = "Select Loudspeaker";
inline constexpr const char* SPEAKER_DATABASE_FILTER = "*.TSB|*.tsb|";
inline constexpr const char* SPEAKER_DATABASE_DIALOG_TITLE = "Select Database";

// Control ids of "Select Loudspeaker".
constexpr int SSD_LIST = 101;
constexpr int SSD_DESCRIPTION = 102;
constexpr int SSD_OK = 110;
constexpr int SSD_CANCEL = 111;

DialogTemplate selectSpeakerDialogTemplate();

// The open-file dialog ("*.TSB|*.tsb|") in the folder of the last database
// (from the history, else the bundled examples or the program's data folder), then the listing of
// the chosen file. Messages for an unknown header or a listing cut at 512
// types; a file that cannot be opened is ignored. The history remembers the
// file. True when a database is loaded afterwards (this one or the former).
bool loadSpeakerDatabase(CommandContext& ctx);

// Command 1021.
void runSelectSpeakerDatabase(CommandContext& ctx);

// Offers the open dialog when no database is loaded ("Must load speaker
// database first" when still none), then "Select Loudspeaker" on the
// current selection (a preselection that is non-zero and below the count
// replaces it). The chosen index into the loaded database, or nothing.
// On a choice the index's current head is that of the chosen type.
std::optional<int> selectSpeakerType(CommandContext& ctx, int preselection = 0);

}  // namespace tav
