// The data of the loudspeaker listing and the loudspeakers summary: every
// loudspeaker sorted by position, its electrical power per band, the totals
// of electrical and acoustic power over the switched-on loudspeakers, and
// the change of a loudspeaker's type.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/message.h"
#include "model/octave_bands.h"
#include "model/vec3.h"
#include "speakers/placed_speaker.h"

namespace tav {

class Project;
struct SpeakerDatabaseIndex;

inline constexpr const char* MSG_CANT_LOAD_SPEAKER = "Can\u00B4t load loudspeaker";

// 4 pi as the reverberant-field sum writes it.
constexpr double FOUR_PI = 12.566370616;
// Intensity of 0 dB at 1 m (W/m²): the acoustic factor's reference.
constexpr double REFERENCE_INTENSITY = 1e-12;

using BandPowers = std::array<double, BAND_COUNT>;

// Every loudspeaker object, ascending by x, then y, then z of its position
// (equal positions keep their list order).
std::vector<ModelObject*> sortedLoudspeakers(Project& project);

// A list line: "%03d\t" of the 1-based number, the type name, "\t", and the
// position: "%1.1f" values joined by commas in metres, or "%2.1f," each
// (a comma after every value) in feet.
std::string speakerListingLine(std::size_t number, std::string_view typeName, const Node& position,
                               bool feet);

// The electrical power the listing shows: W_b, 0 for a switched-off one.
BandPowers listedElectricalPower(const PlacedSpeaker& speaker);
// Acoustic power per band (W): 1e-12 |F_b 4 pi / (Q10_b / 10 + 1e-6)|, with
// Q10_b the type's stored directivity factor; 0 for a switched-off one.
BandPowers speakerAcousticPower(const PlacedSpeaker& speaker, const SpeakerType& type);

struct SpeakerTotals {
  BandPowers electrical{};
  BandPowers acoustic{};
};
// Sums over the switched-on loudspeakers among `speakers` (those with a
// valid type for the acoustic power).
SpeakerTotals speakerTotals(const Project& project, std::span<ModelObject* const> speakers);

// Recomputes the power figures of each listed loudspeaker from its type.
void refreshSpeakerPowers(Project& project, std::span<ModelObject* const> speakers);

// Gives a loudspeaker the type named so (the project's, else copied from
// the database) and resets it as a type chosen in the Edit Loudspeaker
// dialog does: nominal power the type's largest maximum power, every gain
// -9 dB, powers recomputed; its drawing is rebuilt. False, the loudspeaker
// unchanged, when the type cannot be had. `message` may receive the
// complaint about a shape file.
bool changeSpeakerType(Project& project, const SpeakerDatabaseIndex& index, ModelObject& object,
                       const std::string& typeName, UserMessage* message = nullptr);

// One row of the loudspeakers summary. Texts are Windows-1252; lengths in
// the display unit, angles in degrees.
struct SpeakerSummaryRow {
  std::size_t number = 0;  // 1-based, in the listing's order
  std::string brand, type, name;
  Vec3d position;
  double horizontal = 0, vertical = 0, rotation = 0;
  double delay = 0;          // ms
  std::optional<Vec3d> aim;  // the nearest room face ahead on the main axis
  BandPowers power{};        // listedElectricalPower
};

struct SpeakerSummary {
  std::vector<SpeakerSummaryRow> rows;
  SpeakerTotals totals;
};

// The summary of the listed loudspeakers (aim points from the project's
// room faces).
SpeakerSummary buildSpeakerSummary(Project& project, std::span<ModelObject* const> speakers,
                                   bool feet);

}  // namespace tav
