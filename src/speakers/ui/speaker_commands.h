// The commands of the Loudspeakers menu and the loudspeaker part of the
// shell's events (aim-point lines on View > "Loudspeaker Aim&points", power
// figures after a project was opened).
#pragma once

#include <memory>
#include <vector>

#include "shell/command_ids.h"

namespace tav {

class CommandContext;
class CommandRegistry;
struct ModelObject;
class Project;
struct Session;

inline constexpr const char* PROMPT_PLACE_AT = "Place at :";
inline constexpr const char* PROMPT_REFERENCE_POINT = "Reference Point";
inline constexpr const char* PROMPT_DELAY_TIME = "Delay Time [ms]:";
inline constexpr const char* PROMPT_ARRAY_ANGLE = "Angle [deg] : ";
inline constexpr const char* MSG_COMMON_EQUALIZATION =
    "Multiple speakers selected.Set common equalization ?";
inline constexpr const char* CAPTION_COMMON_EQUALIZATION = "Warning";

void registerSpeakerCommands(CommandRegistry& registry);
void installSpeakerHooks(Session& session);

// Values the commands keep between runs.
struct SpeakerCommandState {
  double delayMs = 0;  // last value of "Delay Time [ms]:"
};

void addLoudspeaker(CommandContext& ctx);
void editLoudspeakers(CommandContext& ctx);
void moveLoudspeakers(CommandContext& ctx);
void copyLoudspeakers(CommandContext& ctx);
void mirrorLoudspeakers(CommandContext& ctx);
void deleteLoudspeakers(CommandContext& ctx);
void switchLoudspeakers(CommandContext& ctx, bool on);
void equalizeLoudspeakers(CommandContext& ctx);
void aimAtTarget(CommandContext& ctx);
void alignToTarget(CommandContext& ctx);
void setDelayTime(CommandContext& ctx, SpeakerCommandState& state);
void turnArray(CommandContext& ctx);
void tiltArray(CommandContext& ctx);
void aimByPerspective(CommandContext& ctx);

// Shared by the command files: the selected loudspeaker objects in list
// order, and the aim-point lines rebuilt (visible as the view option says)
// with the picture.
std::vector<ModelObject*> selectedSpeakers(Project& project);
void refreshAimPoints(CommandContext& ctx);

}  // namespace tav
