// Placed loudspeakers in the text formats of the EASE acoustics program:
// the 2.x line format (six lines a loudspeaker) and the keyed 3.x format
// (seven keyed lines after a "Label" line). Angles in the files are degrees
// with EASE's horizontal axis turned by 90 degrees against the model's;
// levels are dB at 1 m; the 3.x format repeats each octave band's value for
// its three third-octave bands.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/message.h"
#include "speakers/placed_speaker.h"

namespace tav {

class Project;
struct SpeakerDatabaseIndex;

inline constexpr const char* EASE_SPEAKERS_V2_EXPORT_FILTER = "EASE-Import|*.imp|";
inline constexpr const char* EASE_SPEAKERS_V2_IMPORT_FILTER = "EASE-Export|*.exp|";
inline constexpr const char* EASE_SPEAKERS_V3_EXPORT_FILTER = "EASE-Import|*.xld|";
inline constexpr const char* EASE_SPEAKERS_V3_IMPORT_FILTER = "EASE-Export|*.xld|";
inline constexpr const char* MSG_LOAD_DATABASE_FIRST =
    "A speaker database must have been loaded first.Load now ?";
inline constexpr const char* CAPTION_LOAD_DATABASE_FIRST = "WARNING";

// The conversions use this value of pi.
constexpr double EASE_PI = 3.141592654;
constexpr double EASE_TWO_PI = 6.283185308;
// Type names carry at most 8 characters; the 2.x name field is 10 wide.
constexpr std::size_t EASE_TYPE_NAME_LENGTH = 8;
constexpr std::size_t EASE2_NAME_FIELD = 10;

// Angles are written with one decimal: half a step of them (deg).
constexpr double EASE_ANGLE_HALF_STEP = 0.05;

// Model horizontal angle (rad) -> EASE horizontal (deg): +90, and a result
// above 180 less 360; what the file shows as 180.0 stays, so the written
// range is -179.9 .. 180.0.
double easeHorizontalDegrees(double modelRadians);
// EASE horizontal (deg) -> model (rad): -90, and below -pi plus 2 pi.
double modelHorizontalRadians(double easeDegrees);
// The level at 1 m of an acoustic factor (dB), 0.0 when negative.
double easeLevelDb(double acousticFactor);

// The file of every loudspeaker object, in list order. The type name is the
// name of the loudspeaker's project type (empty for a bad type index).
std::string writeEaseSpeakersV2(const Project& project);
std::string writeEaseSpeakersV3(const Project& project);

struct EaseSpeakerImport {
  // New records: switched on, polarity +1, the file's values, the type
  // name in the group field; every other field 0 (gains 0 dB).
  std::vector<PlacedSpeaker> speakers;
  bool limitReached = false;     // the count reached MAX_LOUDSPEAKERS
  std::size_t skippedLines = 0;  // lines of a record that did not read
};

// `existing` loudspeakers are counted with the new ones; reading stops when
// the count reaches 5000.
EaseSpeakerImport readEaseSpeakersV2(std::string_view text, std::size_t existing);
EaseSpeakerImport readEaseSpeakersV3(std::string_view text, std::size_t existing);

// Steps 1 and 2 of resolving an imported loudspeaker: the project type of
// the name in its group field (exact), else the database's type of that
// name (any case) copied into the next slot. Sets the type index; false
// when neither has it. `message` may receive the complaint about a shape
// file or the full type table.
bool findImportedSpeakerType(Project& project, const SpeakerDatabaseIndex& index,
                             PlacedSpeaker& speaker, UserMessage* message = nullptr);

// Enters a loudspeaker whose type was found: switched on, the equalizer set
// so that each band draws the file's electrical power (one decimal, at
// most 0 dB; a band without power is switched off) when `gainsFromPower`,
// power recomputed, group cleared, its drawing built at the head of the
// list. The new object, or null when it cannot be allocated.
ModelObject* enterImportedSpeaker(Project& project, PlacedSpeaker speaker, bool gainsFromPower);

}  // namespace tav
