// Writing audio profiles from the evaluated reflection paths: "APF" (a
// profile file the user names) and "RTA" (a temporary real-time profile,
// played at once and removed afterwards).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "auralization/profile_builder.h"

namespace tav {

class CommandContext;

inline constexpr const char* AUDIO_PROFILE_SAVE_FILTER = "Taviron Audioprofile|*.TAP|";
inline constexpr const char* PROMPT_LISTEN_ANGLE = "Listen angle [ \u00B0 ] :";
inline constexpr const char* PROMPT_PROFILE_DESCRIPTION = "Description :";
constexpr int PROFILE_ANSWER_MAX = 79;

// "APF": save dialog, the listen angle and the description, then the file
// (written whole or not at all). False when nothing was written.
bool writeAudioProfile(CommandContext& ctx, const std::vector<ProfilePath>& paths,
                       const ProfileStats& stats);

// "RTA": the input recording (asked for when none is selected), the
// temporary profile in the system temporary folder, the real-time mode with
// it as the current profile; afterwards the previous profile is current
// again and the temporary file is gone, however the run ended.
void writeRealtimeProfile(CommandContext& ctx, const std::vector<ProfilePath>& paths,
                          const ProfileStats& stats);

// The temporary profile's name: the millisecond tick count + ".tmp" in
// `folder`, counted up past names that exist. Created empty and exclusively;
// nothing when it cannot be created.
std::optional<std::string> createTemporaryProfile(const std::string& folder);

}  // namespace tav
