// The commands of the Loudspeakers menu and the loudspeaker part of the
// shell's events (aim-point lines on View > "Loudspeaker Aim&points", power
// figures after a project was opened).
#pragma once

#include <memory>
#include <vector>

namespace tav {

class CommandContext;
class CommandRegistry;
struct ModelObject;
class Project;
struct Session;

constexpr int CMD_SPEAKER_NEW = 1002;
constexpr int CMD_SPEAKER_EDIT = 1003;
constexpr int CMD_SPEAKER_MOVE = 1005;
constexpr int CMD_SPEAKER_COPY = 1006;
constexpr int CMD_SPEAKER_DELETE = 1007;
constexpr int CMD_SPEAKER_ON = 1008;
constexpr int CMD_SPEAKER_OFF = 1009;
constexpr int CMD_SPEAKER_ALIGN = 1010;
constexpr int CMD_SPEAKER_DELAY = 1011;
constexpr int CMD_SPEAKER_AIM = 1012;
constexpr int CMD_SPEAKER_MIRROR = 1013;
constexpr int CMD_SPEAKER_EQUALIZER = 1014;
constexpr int CMD_SPEAKER_AIM_PERSPECTIVE = 1015;
constexpr int CMD_SPEAKER_TURN_ARRAY = 1017;
constexpr int CMD_SPEAKER_TILT_ARRAY = 1018;

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
