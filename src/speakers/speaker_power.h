// Electrical power and acoustic factor of a placed loudspeaker from its
// equalizer gains, and the limit on its total drive.
#pragma once

#include <array>
#include <span>
#include <vector>

#include "model/message.h"
#include "speakers/placed_speaker.h"
#include "speakers/speaker_type.h"

namespace tav {

inline constexpr const char* MSG_TOTAL_DRIVE_EXCEEDED =
    "Total output exceeds the speaker\u2019s maximum power (total > 0.0 dB).";
inline constexpr const char* CAPTION_TOTAL_DRIVE = "EQ settings could not be applied.";

using BandValues = std::array<double, BAND_COUNT>;

// Electrical power of one band: Pmax * 10^(gain/10); 0 when the band is off
// (gain <= -50 dB); never above Pmax, and P_nom * 0.0001 for a band whose
// Pmax is below 0.1 W.
double bandElectricalPower(double gainDb, double maxPower, double nominalPower);

// Recomputes the electrical powers and acoustic factors from the gains,
// the nominal power and the type's maximum powers and sensitivities.
void computeSpeakerPower(PlacedSpeaker& speaker, const SpeakerType& type);

// Electrical powers of the Edit Loudspeaker dialog: the same rule over a
// type head (maximum power and sensitivity only).
BandValues electricalPowers(const BandValues& gains, const std::array<float, BAND_COUNT>& maxPower,
                            double nominalPower);

// Total drive T = 10 log10(sum 10^(g/10)) dB.
double totalDrive(std::span<const double> gains);
double totalDrive(const std::array<float, BAND_COUNT>& gains);
// T <= 0.0 dB; otherwise `message` (if given) receives the refusal.
bool driveAcceptable(const BandValues& gains, UserMessage* message = nullptr);

// Gains as the dialogs keep them: the value shown with one decimal ("%3.1f").
double gainAsShown(double gainDb);

// A type has been chosen in the Edit Loudspeaker dialog: nominal power =
// the largest maximum power, every gain -9 dB, powers recomputed.
void applyChosenType(PlacedSpeaker& speaker, const std::array<float, BAND_COUNT>& maxPower);

// Common equalization of several loudspeakers: the start value of each band
// is the largest gain among them (from -1000).
BandValues commonStartGains(std::span<const PlacedSpeaker> speakers);
// New gains of one loudspeaker: its own plus (new - start) per band.
BandValues commonEqualizedGains(const PlacedSpeaker& speaker, const BandValues& start,
                                const BandValues& chosen);

}  // namespace tav
