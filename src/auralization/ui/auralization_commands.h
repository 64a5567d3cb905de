// The auralization commands of the Calculate menu: select a profile (5030)
// and an input recording (5031), "Process and Play" (5032), play the input
// and output recordings (5033, 5034), and the real-time mode (5035, no menu
// entry: started by "RTA" and by listening at a map point).
#pragma once

namespace tav {

class CommandContext;
class CommandRegistry;

inline constexpr const char* AUDIO_PROFILE_OPEN_FILTER = "Taviron Audio Profile|*.tap|";
inline constexpr const char* WAVE_INPUT_FILTER = "Wave audio file|*.WAV|";
inline constexpr const char* CAPTION_DESCRIPTION = "Description";

void registerAuralizationCommands(CommandRegistry& registry);

// 5030: the open dialog, the header check and the description box; OK makes
// the file the current profile and names the output recording after it.
void loadAudioProfile(CommandContext& ctx);
// 5031: the open dialog and the format check; true when a recording was
// selected (its rate becomes the processing rate).
bool selectInputWave(CommandContext& ctx);
// 5032: processes the input into the output recording, then plays it.
// Does nothing while a run is active.
void processFile(CommandContext& ctx);
// 5033, 5034: stop any sound, play the recording asynchronously.
void playInputFile(CommandContext& ctx);
void playOutputFile(CommandContext& ctx);
// 5035: the real-time mode with the current profile. Does nothing while a
// run is active.
void playRealtime(CommandContext& ctx);

}  // namespace tav
