// The loudspeaker types embedded in a project: finding a placed
// loudspeaker's type, resolving a type by name (copying it from the
// database when the project lacks it), and purging unused types.
#pragma once

#include <array>
#include <string>

#include "model/message.h"
#include "speakers/placed_speaker.h"
#include "speakers/speaker_database.h"

namespace tav {

class Project;

// The project type a loudspeaker refers to, or null for a bad index.
const SpeakerType* speakerTypeOf(const Project& project, const PlacedSpeaker& speaker);
// The shape a type is drawn with: its own, or the built-in default shape.
const ModelObject& shapeOf(const SpeakerType& type);

// Finds the type named exactly so (case counts) among the project's types,
// else copies it from the database into the next slot. On success the
// loudspeaker's type index is set (and `message` may carry the complaint
// about a shape file of unknown format, the type then using the default
// shape); otherwise `message` receives "Loudspeaker not available in
// database" (or the 500-type refusal).
bool resolveSpeakerType(Project& project, const SpeakerDatabaseIndex& index, PlacedSpeaker& speaker,
                        const std::string& name, UserMessage* message = nullptr);

// The first 512 bytes of a type as the Edit Loudspeaker dialog uses them
// for its power figures (plain form).
std::array<std::uint8_t, SPEAKER_HEAD_SIZE> speakerHeadOf(const SpeakerType& type);

// Recomputes the derived power figures of every loudspeaker object from its
// gains and its type (after a project was loaded). Loudspeakers whose type
// index is out of range keep their figures. Returns how many were updated.
std::size_t recomputeSpeakerPowers(Project& project);

// Removes types no loudspeaker object refers to (with their shape objects),
// keeps the order of the others and renumbers the loudspeakers' type
// indices. Returns the number of types removed.
std::size_t purgeUnusedTypes(Project& project);

}  // namespace tav
