#include "speakers/speaker_power.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "model/number_text.h"

namespace tav {

double bandElectricalPower(double gainDb, double maxPower, double nominalPower) {
  if (gainDb <= EQ_BAND_OFF_DB) return 0.0;
  double w = maxPower * std::pow(10.0, gainDb / 10.0);
  if (w > maxPower) w = maxPower >= 0.1 ? maxPower : nominalPower * 0.0001;
  return w;
}

void computeSpeakerPower(PlacedSpeaker& s, const SpeakerType& type) {
  for (int b = 0; b < BAND_COUNT; ++b) {
    const double w = bandElectricalPower(s.eqGain[b], type.maxPower[b], s.nominalPower);
    s.electricalPower[b] = static_cast<float>(w);
    s.acousticFactor[b] = static_cast<float>(w * std::pow(10.0, type.sensitivity[b] / 10.0));
  }
}

BandValues electricalPowers(const BandValues& gains, const std::array<float, BAND_COUNT>& maxPower,
                            double nominalPower) {
  BandValues w{};
  for (int b = 0; b < BAND_COUNT; ++b)
    w[b] = bandElectricalPower(gains[b], maxPower[b], nominalPower);
  return w;
}

double totalDrive(std::span<const double> gains) {
  double sum = 0;
  for (double g : gains) sum += std::pow(10.0, g / 10.0);
  return 10.0 * std::log10(sum);
}

double totalDrive(const std::array<float, BAND_COUNT>& gains) {
  BandValues g{};
  std::copy(gains.begin(), gains.end(), g.begin());
  return totalDrive(g);
}

bool driveAcceptable(const BandValues& gains, UserMessage* message) {
  if (totalDrive(gains) > 0.0) {
    if (message) *message = {MSG_TOTAL_DRIVE_EXCEEDED, CAPTION_TOTAL_DRIVE};
    return false;
  }
  return true;
}

double gainAsShown(double gainDb) { return parseNumber(formatNumber("%3.1f", gainDb)); }

void applyChosenType(PlacedSpeaker& s, const std::array<float, BAND_COUNT>& maxPower) {
  float largest = 0;
  for (float p : maxPower) largest = std::max(largest, p);
  s.nominalPower = largest;
  s.eqGain.fill(EQ_DEFAULT_GAIN_DB);
  for (int b = 0; b < BAND_COUNT; ++b)
    s.electricalPower[b] =
        static_cast<float>(bandElectricalPower(s.eqGain[b], maxPower[b], s.nominalPower));
}

BandValues commonStartGains(std::span<const PlacedSpeaker> speakers) {
  BandValues start;
  start.fill(-1000.0);
  for (const PlacedSpeaker& s : speakers)
    for (int b = 0; b < BAND_COUNT; ++b) start[b] = std::max<double>(start[b], s.eqGain[b]);
  return start;
}

BandValues commonEqualizedGains(const PlacedSpeaker& s, const BandValues& start,
                                const BandValues& chosen) {
  BandValues g{};
  for (int b = 0; b < BAND_COUNT; ++b) g[b] = s.eqGain[b] + (chosen[b] - start[b]);
  return g;
}

}  // namespace tav
