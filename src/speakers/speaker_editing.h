// The rules the loudspeaker commands and the Edit Loudspeaker dialog share:
// the 5000-loudspeaker limit, the copy-buffer limit, angles as typed in
// degrees, copies and mirror images of placed loudspeakers.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>

#include "model/message.h"
#include "model/vec3.h"
#include "speakers/placed_speaker.h"

namespace tav {

inline constexpr const char* MSG_TOO_MANY_SPEAKERS = "Maximum amount of speakers is 5000";
inline constexpr const char* CAPTION_TOO_MANY_SPEAKERS = "Sorry!";
inline constexpr const char* MSG_INSUFFICIENT_MEMORY_SHORT = "Insufficient Memory";
inline constexpr const char* MSG_SPEAKER_TYPE_MISSING = "Speaker Type Missing !";
// Objects copied or mirrored at once may take at most this many bytes.
constexpr std::size_t MAX_COPY_BYTES = 1048576;

// Adding `adding` loudspeakers to `existing` ones: the 5000 message when the
// total would exceed the limit.
std::optional<UserMessage> checkSpeakerLimit(std::size_t existing, std::size_t adding);
// Mirroring `selected` loudspeakers: as copying, and a total of exactly 5000
// is refused with "Insufficient Memory".
std::optional<UserMessage> checkMirrorLimit(std::size_t existing, std::size_t selected);
// The snapshot sizes of the selected objects must add up to 1 MiB at most.
bool fitsCopyBuffer(std::span<const ModelObject* const> selected);

// Degrees typed into the dialog -> radians: brought once into -180..180.
double dialogDegreesToRadians(double degrees);
// Angles of larger magnitude are refused ("Invalid entry !"): one
// correction by 360 brings every angle up to it into -180..180.
constexpr double SPEAKER_ANGLE_ENTRY_LIMIT = 540.0;
bool dialogAngleAcceptable(double degrees);
// Radians -> degrees as the dialog shows them.
double radiansToDialogDegrees(double radians);
// Every comma of a number field becomes a point.
std::string commasToPoints(std::string text);

// The record of a copy: name and group cleared, moved by `displacement`.
PlacedSpeaker copiedSpeaker(const PlacedSpeaker& source, const Vec3d& displacement);

// Which coordinate pair a mirror line lies in.
enum class MirrorPlane { XY, YZ, XZ };
// The position mirrored across the line through p1 along p2 - p1 in the
// plane; unchanged when the two points (nearly) coincide in that plane.
Vec3d mirrorSpeakerPosition(const Vec3d& position, const Vec3d& p1, const Vec3d& p2,
                            MirrorPlane plane);

// Finishes a mirrored copy whose nodes the mirror has already reflected:
// clears name and group, mirrors the position, takes the angles from the
// direction nodes and reverses every face so that it keeps its front side.
void finishMirroredSpeaker(ModelObject& copy, const PlacedSpeaker& source, const Vec3d& p1,
                           const Vec3d& p2, MirrorPlane plane);

// Reverses the vertex order of every closed face of an object, keeping each
// face's start vertex and material.
void reverseAllFaces(ModelObject& object);

}  // namespace tav
