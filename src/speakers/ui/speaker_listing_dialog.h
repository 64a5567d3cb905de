// Command 1004: the "Loudspeaker Listing" window. Every loudspeaker sorted
// by position with its type, the electrical power of the selected one, the
// electrical and acoustic power of all switched-on ones, changing the type
// of one loudspeaker or of all of one type, and the "Loudspeakers Summary"
// printout. The selected loudspeaker is highlighted in the view.
#pragma once

#include "platform/dialog.h"

namespace tav {

class CommandContext;

inline constexpr const char* SPEAKER_LISTING_TITLE = "Loudspeaker Listing";

// Control ids.
constexpr int SL_LIST = 101;
constexpr int SL_CHANGE_ONE = 102;
constexpr int SL_CHANGE_ALL = 103;
constexpr int SL_QUIT = 104;
constexpr int SL_PRINT = 105;
constexpr int SL_POWER_FIRST = 201;     // 201..207 the selected loudspeaker's W per band
constexpr int SL_TOTAL_FIRST = 301;     // 301..307 total electrical power
constexpr int SL_ACOUSTIC_FIRST = 401;  // 401..407 total acoustic power

DialogTemplate speakerListingTemplate();

void speakerListing(CommandContext& ctx);

}  // namespace tav
