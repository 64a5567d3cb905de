// The seven-band equalizer dialog ("Equalizer", gains in dB) and its
// reverberation-time form ("RT 60", seconds): eight vertical bars (seven
// bands and a master), edits above them showing the values, and a summary
// ("total" in dB, "mean" in s).
#pragma once

#include <array>
#include <functional>
#include <optional>

#include "model/message.h"
#include "platform/dialog.h"
#include "speakers/speaker_type.h"

namespace tav {

class CommandContext;

inline constexpr const char* EQ_DIALOG_RESOURCE = "EQ_DLG";

// Control ids.
constexpr int EQD_EDIT_FIRST = 101;  // 101..107 bands, 108 master
constexpr int EQD_EDIT_MASTER = 108;
constexpr int EQD_SUMMARY = 109;
constexpr int EQD_BAR_FIRST = 201;  // 201..207 bands, 208 master
constexpr int EQD_BAR_MASTER = 208;
constexpr int EQD_UNIT_LABEL = 301;
constexpr int EQD_SUMMARY_LABEL = 302;
constexpr int EQD_OK = 401;
constexpr int EQD_CANCEL = 402;

// Modes of the dialog (this header stays free of the equalizer state so that
// command files can include it beside the platform's input events).
constexpr int EQ_MODE_GAIN = 0;         // gains in dB, -100..0
constexpr int EQ_MODE_REVERB_TIME = 1;  // reverberation times in s, 0..10

DialogTemplate equalizerDialogTemplate();

// Display offsets of the seven bands and the master (index 7): the edits
// show value + offset, the bars and the returned values stay absolute.
using EqualizerOffsets = std::array<double, BAND_COUNT + 1>;

// Judges the values when OK is pressed: empty to accept them, else the
// message shown while the dialog stays open with the user's values.
using EqualizerCheck = std::function<UserMessage(const std::array<double, BAND_COUNT>& values)>;

// Shows the dialog on `values` (125 Hz first). On OK the clamped values are
// written back and true returned; Cancel, the close box or a dialog that
// cannot be shown ("Unable to display dialog") leave them and return false.
// A typed value beyond the limits is set to the limit with a message, and
// the dialog stays open so that the user sees what was set.
bool equalizerDialog(Platform& platform, std::array<double, BAND_COUNT>& values, int mode,
                     const std::optional<EqualizerOffsets>& offsets = {},
                     const EqualizerCheck& check = {});

// The measured reverberation times of a project (seconds, 0..10) edited in
// the "RT 60" form. True when the user pressed OK and `seconds` was updated.
bool editMeasuredReverberation(CommandContext& ctx, std::array<float, BAND_COUNT>& seconds);

}  // namespace tav
