// "Edit Loudspeaker": type, group and name, position, angles, delay, switch,
// polarity, and the equalizer gains with the electrical power they give.
#pragma once

#include <string>

#include "platform/dialog.h"

namespace tav {

class CommandContext;
struct PlacedSpeaker;

inline constexpr const char* EDIT_SPEAKER_DIALOG_TITLE = "Edit Loudspeaker";

// Control ids.
constexpr int ESD_TYPE_BUTTON = 123;
constexpr int ESD_TYPE = 101;
constexpr int ESD_GROUP = 102;
constexpr int ESD_NAME = 103;
constexpr int ESD_X = 104;           // 104..106 X, Y, Z
constexpr int ESD_HORIZONTAL = 107;  // 107..109 horizontal, vertical, rotation
constexpr int ESD_DELAY = 111;
constexpr int ESD_ON = 112;
constexpr int ESD_OFF = 113;
constexpr int ESD_PLUS = 130;
constexpr int ESD_MINUS = 131;
constexpr int ESD_GAIN_FIRST = 114;   // 114..120 per band
constexpr int ESD_POWER_FIRST = 134;  // 134..140 per band
constexpr int ESD_SUM_DB = 143;
constexpr int ESD_SUM_W = 141;
constexpr int ESD_EQ = 124;
constexpr int ESD_OK = 121;
constexpr int ESD_CANCEL = 122;

DialogTemplate editSpeakerDialogTemplate();

// Shows the dialog on `speaker` and `typeName` (empty for a new one). The
// power figures refer to the session's current type head (the type chosen
// last, or the one the caller loaded). True for OK with the record and the
// name read back; false for Cancel, the close box or a dialog that cannot
// be shown. What "Speaker Type" and an accepted "EQ" wrote into the record
// (nominal power, gains, electrical power) stays in either case.
bool editSpeakerDialog(CommandContext& ctx, PlacedSpeaker& speaker, std::string& typeName);

}  // namespace tav
